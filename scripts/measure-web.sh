#!/usr/bin/env bash
# What the instruments' web page costs: the service without a screen fed by the simulator at 1
# and 10 Hz, with one GPSD watcher (gpspipe -w) throughout, first with the web server off
# (Web/Port=0), then on with 0, 1 and 20 pages open in Chromium (headless; 20 as frames of one
# tab). For each: the service's CPU over SECONDS (default 30) in % of one core, and its resident
# memory (all of it / its own, anonymous / proportional share, PSS) at the end; with pages open,
# also the CPU of Chromium, all its processes, which a phone's battery pays for.
#   scripts/measure-web.sh [SECONDS]
# Serves on free ports. Builds a Release binary in $BUILD (default build-release/).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-30}"
scripts/deps.sh
build="${BUILD:-build-release}"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DDEVOZORA_BENCHMARKS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target devozora-headless devozora-simulator >/dev/null
devozora="$build/app/devozora-headless" simulator="$build/tools/simulator/devozora-simulator"
work="$(mktemp -d)"
source tests/clients/serve.sh

cat >"$work/pages.py" <<'PYTHON'
# pages.py PORT COUNT WORK: COUNT pages of the station open in one headless Chromium, until
# SIGTERM, which closes Chromium with it.
import signal, sys, time
from selenium import webdriver
from selenium.webdriver.chrome.service import Service
port, count, work = int(sys.argv[1]), int(sys.argv[2]), sys.argv[3]
options = webdriver.ChromeOptions()
options.binary_location = "/usr/bin/chromium"
for argument in ("--headless", "--no-sandbox", "--disable-gpu", "--no-first-run", "--disable-background-networking",
                 "--disable-component-update", "--disable-sync", f"--user-data-dir={work}/chromium",
                 "--window-size=1280,800"):
    options.add_argument(argument)
browser = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))
browser.get(f"http://127.0.0.1:{port}/")
if count > 1:
    browser.execute_script("""document.body.textContent = '';
        for (let n = 0; n < arguments[0]; ++n) {
            const frame = document.createElement('iframe');
            frame.src = '/'; frame.width = 320; frame.height = 240;
            document.body.appendChild(frame);
        }""", count)
time.sleep(3)
print("ready", flush=True)
try:
    time.sleep(3600)
finally:
    browser.quit()
PYTHON

cpu_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ ns += $1 } END { printf "%.0f", ns }'; }
# The process and all its descendants.
tree() {
    local pid
    echo "$1"
    for pid in $(cat /proc/"$1"/task/*/children 2>/dev/null); do tree "$pid"; done
}
tree_cpu_ns() { local total=0 pid; for pid in $(tree "$1"); do total=$(( total + $(cpu_ns "$pid") )); done; echo "$total"; }
memory() {
    awk '/^VmRSS/ { rss = $2 } /^RssAnon/ { anon = $2 } END { printf "%.1f/%.1f/", rss / 1024, anon / 1024 }' \
        "/proc/$1/status"
    awk '/^Pss:/ { printf "%.1f MB", $2 / 1024 }' "/proc/$1/smaps_rollup"
}

# run RATE PAGES: PAGES "off" for the web server off.
run() {
    local rate="$1" pages="$2" browser="" ours chromium=0
    start_simulator "$work/gps" --seed 7 --rate "$rate"
    if [[ "$pages" == off ]]; then
        web_port=0 start_devozora "$work/gps"
    else
        start_devozora "$work/gps"
    fi
    gpspipe -w "localhost:$gpsd_port" >/dev/null & pids+=($!)
    if [[ "$pages" != off && "$pages" -gt 0 ]]; then
        /usr/bin/python3 "$work/pages.py" "$web_port" "$pages" "$work" >"$work/pages.log" 2>&1 & browser=$!
        pids+=($browser)
        for _ in $(seq 300); do grep -q ready "$work/pages.log" && break; sleep 0.1; done
        grep -q ready "$work/pages.log" || fail "the pages did not open: $(cat "$work/pages.log")"
    fi
    sleep 5
    ours=$(cpu_ns "$devozora_pid")
    [[ -n "$browser" ]] && chromium=$(tree_cpu_ns "$browser")
    sleep "$seconds"
    ours=$(( $(cpu_ns "$devozora_pid") - ours ))
    [[ -n "$browser" ]] && chromium=$(( $(tree_cpu_ns "$browser") - chromium ))
    awk -v r="$rate" -v p="$pages" -v o="$ours" -v c="$chromium" -v s="$seconds" -v m="$(memory "$devozora_pid")" \
        -v b="$browser" 'BEGIN {
        printf "%2d Hz  %-4s  %7.3f %%  %-18s  %s\n", r, p, 100 * o / 1e9 / s, m,
               (b == "" ? "" : sprintf("%.1f %%", 100 * c / 1e9 / s)) }'
    stop_all
    rm -rf "$work/chromium"
}

echo "rate  pages  devozora CPU  RSS/anon/PSS        Chromium CPU"
for rate in 1 10; do
    for pages in off 0 1 20; do run "$rate" "$pages"; done
done
