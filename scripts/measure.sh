#!/usr/bin/env bash
# Start-up time, idle CPU and resident memory of devozora fed by the simulator at 1 Hz, under Xvfb.
#   scripts/measure.sh [--night] [SECONDS] [WINDOW...]     e.g. scripts/measure.sh 60 1 2 3 4 5 6
# WINDOW numbers are opened at start-up (1 sky view, 2 analog compass, 3 digital compass,
# 4 date and time, 5 speed, 6 position); --night lights everything at "Night" in red. Builds a
# Release binary in build-release/.
set -euo pipefail
cd "$(dirname "$0")/.."
night=""
[[ "${1:-}" == "--night" ]] && { night=1; shift; }
seconds="${1:-60}"
shift || true
scripts/deps.sh
build=build-release
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DDEVOZORA_BENCHMARKS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target devozora devozora-simulator >/dev/null

work="$(mktemp -d)"
simulator_options=(--seed 7)
source scripts/demo-settings.sh
for n in "$@"; do
    printf '[Views]\nActive%s=True\n' "$n" >>"$work/config/Quarvel/DevozOra.conf"
done
[[ -z "$night" ]] || printf '[Local]\nBrightnessMode=3\nNightRed=True\n' >>"$work/config/Quarvel/DevozOra.conf"
trap 'kill $simulator_pid 2>/dev/null || true; rm -rf "$work"' EXIT

export build work seconds
xvfb-run -a -s "-screen 0 1920x1200x24 -dpi 96" bash -c '
    start=$(date +%s%N)
    "$build/app/devozora" & pid=$!
    until xdotool search --onlyvisible --name "Quarvel Vexo Devozora" >/dev/null 2>&1; do sleep 0.01; done
    shown=$(date +%s%N)
    echo "start-up to main window shown: $(( (shown - start) / 1000000 )) ms"
    sleep 3   # let the windows settle before measuring
    ticks() { awk "{print \$14 + \$15}" /proc/$pid/stat; }
    before=$(ticks); sleep "$seconds"; after=$(ticks)
    hz=$(getconf CLK_TCK)
    awk -v t=$((after - before)) -v hz=$hz -v s="$seconds" \
        "BEGIN { printf \"CPU over %d s: %.2f %% of one core\n\", s, 100 * t / hz / s }"
    grep VmRSS /proc/$pid/status | awk "{ printf \"resident memory: %.1f MB\n\", \$2 / 1024 }"
    kill -TERM $pid; wait $pid
'
