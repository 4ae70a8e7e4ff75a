#!/usr/bin/env bash
# The instruments' web page in a real browser (Chromium headless, driven by Selenium) from the
# service fed by the simulator, against the program's own GPSD replies: web_page.py says what is
# checked. Then what a browser never asks: a path outside the page's files, a method other than
# GET, and a request larger than any browser's.
#   web_page.sh DEVOZORA SIMULATOR
set -euo pipefail
devozora="$1" simulator="$2"
work="$(mktemp -d)"
source "$(dirname "$0")/serve.sh"
python=/usr/bin/python3
skip_unless_installed chromium chromedriver curl "$python"
"$python" -c 'import selenium, PIL' 2>/dev/null || { echo "SKIP: Selenium or Pillow for Python is not installed"; exit 77; }

start_simulator "$work/gps" --seed 7 --baud 38400 --drop-fix-after 10 --drop-fix-for 6
# 21 places: the crowd of pages below is one more.
baud_index=7 devozora_option=--headless start_devozora "$work/gps" "MaxClients=21"
wait_for_port "$web_port"

status() { curl -s -o /dev/null -w '%{http_code}' "$@" || true; }
[[ "$(status "http://127.0.0.1:$web_port/etc/passwd")" == 404 ]] || fail "a path outside the page is not 404"
[[ "$(status --path-as-is "http://127.0.0.1:$web_port/../page.js")" != 200 ]] || fail "a path with .. is served"
[[ "$(status -X POST -d x "http://127.0.0.1:$web_port/")" == 404 ]] || fail "POST is not 404"
[[ "$(status -H "X-Big: $(head -c 65536 /dev/zero | tr '\0' a)" "http://127.0.0.1:$web_port/")" != 200 ]] ||
    fail "a request of 64 KiB was answered"
for file in manifest.webmanifest icon.svg icon.png; do
    [[ "$(status "http://127.0.0.1:$web_port/$file")" == 200 ]] || fail "no $file for the home screen"
done

# A request sent slowly is answered as long as it is whole within 10 s; one that never ends is
# let go then. Both wait beside the browser.
(exec 3<>"/dev/tcp/127.0.0.1/$web_port"; printf 'GET / HTTP/1.1\r\n' >&3; sleep 2
 printf 'Host: boat\r\n\r\n' >&3; timeout 10 head -n 1 <&3 >"$work/slow.txt") &
slow=$!
(exec 3<>"/dev/tcp/127.0.0.1/$web_port"; printf 'GET / HTTP/1.1\r\n' >&3; timeout 20 cat <&3 >/dev/null) &
endless=$!
"$python" "$(dirname "$0")/web_page.py" "$web_port" "$gpsd_port" "$work" "$devozora_pid" "$work/config/Quarvel/DevozOra.conf" ||
    fail "the web page: $(cat "$work/devozora.log")"
wait "$slow"
[[ "$(cat "$work/slow.txt")" == "HTTP/1.1 200 OK"* ]] || fail "a request sent slowly got $(cat "$work/slow.txt")"
wait "$endless" || fail "a request that never ends was not let go within 20 s"
[[ -n "${WEB_SCREENSHOTS:-}" ]] && cp "$work"/*.png "$WEB_SCREENSHOTS"/
kill -TERM "$devozora_pid"
wait "$devozora_pid" || fail "devozora ended with status $? on SIGTERM: $(cat "$work/devozora.log")"
