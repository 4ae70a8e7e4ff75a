#!/usr/bin/env bash
# devozora and gpsd itself on the same receiver: the same multi-GNSS logs replayed to both, then a
# simulated receiver's life cycle (fix, loss of fix, fix, unplugged, plugged back in). What their
# watchers are told must agree (compare_reports.py).
#   differential.sh DEVOZORA SIMULATOR LOGDIR
set -euo pipefail
devozora="$1" simulator="$2" logs="$3"
work="$(mktemp -d)"
source "$(dirname "$0")/serve.sh"
# gpsd gives up its privileges after start-up and must still reach the device when it comes back.
chmod 755 "$work"
python=/usr/bin/python3
skip_unless_installed gpsd gpsdctl gpspipe "$python"
[[ -d "$logs" ]] || fail "no receiver logs at $logs"

reference_port="$(free_ports 1)"
start_gpsd() {
    gpsd -N -n -b -S "$reference_port" -F "$work/gpsd.sock" "$1" >"$work/gpsd.log" 2>&1 &
    pids+=($!)
    wait_for_port "$reference_port"
}

for log in ublox-neo-m9n-nmea.log neo-m8n.log; do
    # Both receivers replay the log once, four times faster than recorded, after a pause in which
    # both servers and both listeners attach.
    start_simulator "$work/ours" --replay "$logs/$log" --speed 4 --once --delay 4
    start_simulator "$work/theirs" --replay "$logs/$log" --speed 4 --once --delay 4
    start_devozora "$work/ours"
    start_gpsd "$work/theirs"
    seconds=$(( $(grep -c '^\$..RMC' "$logs/$log") / 4 + 8 ))
    gpspipe -w -x "$seconds" "localhost:$gpsd_port" >"$work/ours.json" &
    ours=$!
    gpspipe -w -x "$seconds" "localhost:$reference_port" >"$work/theirs.json" || true
    wait "$ours" || true
    "$python" "$(dirname "$0")/compare_reports.py" "$work/ours.json" "$work/theirs.json" ||
        fail "$log: devozora and gpsd disagree"
    stop_all
done

# The life cycle, seconds from the start of both receivers: fix, loss of fix from 20 to 30, fix,
# unplugged from 38 to 43, fix. gpsd hears of the device going and coming as a system's hot-plug
# rules tell it, through its control socket.
start="$(date -u +%Y-%m-%dT%H:%M:%SZ)"
for receiver in ours theirs; do
    start_simulator "$work/$receiver" --seed 7 --start "$start" --drop-fix-after 20 --drop-fix-for 10 \
        --unplug-after 38 --unplug-for 5
done
started=$SECONDS
start_devozora "$work/ours"
start_gpsd "$work/theirs"
(export GPSD_SOCKET="$work/gpsd.sock"
 while [[ -e "$work/theirs" ]]; do sleep 0.1; done; gpsdctl remove "$work/theirs"
 until [[ -e "$work/theirs" ]]; do sleep 0.1; done; gpsdctl add "$work/theirs") >/dev/null 2>&1 &
pids+=($!)
"$python" "$(dirname "$0")/compare_reports.py" --live "$gpsd_port" "$reference_port" $(( 48 - (SECONDS - started) )) ||
    fail "the life cycle: devozora and gpsd disagree"
echo "devozora and gpsd agree on both logs and over the life cycle"
