#!/usr/bin/env bash
# GPSD clients that people use, written by others and not adapted here (gpspipe, cgps and the
# Python gps module from Debian's gpsd-clients and python3-gps), against devozora's server, with
# the simulator as the receiver.   real_clients.sh DEVOZORA SIMULATOR
set -euo pipefail
devozora="$1" simulator="$2"
work="$(mktemp -d)"
source "$(dirname "$0")/serve.sh"
python=/usr/bin/python3
skip_unless_installed gpspipe cgps tmux "$python"
"$python" -c 'import gps' 2>/dev/null || { echo "SKIP: the Python gps module is not installed"; exit 77; }

start_simulator "$work/gps" --seed 7 --rate 2
start_devozora "$work/gps" 4

# gpspipe -w: the JSON objects a watching client gets, with the simulated position off the Dutch
# coast (52.1 N, 4.1 E).
timeout 60 gpspipe -w -n 20 localhost:2947 >"$work/watch.json" || fail "gpspipe -w did not finish"
for class in VERSION DEVICES WATCH TPV SKY; do
    grep -q "\"class\":\"$class\"" "$work/watch.json" || fail "gpspipe -w printed no $class: $(cat "$work/watch.json")"
done
"$python" - "$work/watch.json" <<'PYTHON' || fail "gpspipe -w: no TPV at the simulated position"
import json, sys
tpv = [o for o in map(json.loads, open(sys.argv[1])) if o["class"] == "TPV" and "lat" in o]
sys.exit(0 if tpv and abs(tpv[-1]["lat"] - 52.1) < 0.1 and abs(tpv[-1]["lon"] - 4.1) < 0.1 else 1)
PYTHON

# gpspipe -r: the NMEA sentences as received.
timeout 60 gpspipe -r -n 20 localhost:2947 >"$work/raw.nmea" || fail "gpspipe -r did not finish"
grep -q '^\$GP[A-Z]\{3\},.*\*[0-9A-F][0-9A-F]' "$work/raw.nmea" || fail "gpspipe -r printed no sentences: $(cat "$work/raw.nmea")"

# The Python gps module, as plotting programs and scripts use it.
timeout 60 "$python" - <<'PYTHON' || fail "the Python gps module read no TPV at the simulated position"
import gps, sys
session = gps.gps(host="localhost", port="2947", mode=gps.WATCH_ENABLE | gps.WATCH_JSON)
for _ in range(100):
    report = session.next()
    if report["class"] == "TPV" and "lat" in report:
        print("python gps: TPV %.6f %.6f" % (report.lat, report.lon))
        sys.exit(0 if abs(report.lat - 52.1) < 0.1 and abs(report.lon - 4.1) < 0.1 else 1)
sys.exit(1)
PYTHON

# cgps, a full-screen client, in a terminal of its own.
session="devozora-cgps-$$"
tmux new-session -d -s "$session" -x 100 -y 40 "cgps localhost:2947"
sleep 5
tmux capture-pane -p -t "$session" >"$work/cgps.txt"
tmux kill-session -t "$session"
grep -Eq 'Latitude: +52\.[0-9]+ N' "$work/cgps.txt" || fail "cgps shows no position: $(cat "$work/cgps.txt")"
grep -Eq 'Longitude: +4\.[0-9]+ E' "$work/cgps.txt" || fail "cgps shows no longitude: $(cat "$work/cgps.txt")"

echo "gpspipe -w, gpspipe -r, the Python gps module and cgps all read the simulated position"
