#!/usr/bin/env bash
# The same multi-GNSS receiver logs through devozora and through gpsd itself: the positions, times,
# speeds and tracks they report, and the last sky, must agree.
#   differential.sh DEVOZORA SIMULATOR LOGDIR
set -euo pipefail
devozora="$1" simulator="$2" logs="$3"
work="$(mktemp -d)"
source "$(dirname "$0")/serve.sh"
python=/usr/bin/python3
skip_unless_installed gpsd gpspipe "$python"
[[ -d "$logs" ]] || fail "no receiver logs at $logs"

reference_port=29470
for log in ublox-neo-m9n-nmea.log neo-m8n.log; do
    # Both receivers replay the log once, four times faster than recorded, after a pause in which
    # both servers and both listeners attach.
    start_simulator "$work/ours" --replay "$logs/$log" --speed 4 --once --delay 4
    start_simulator "$work/theirs" --replay "$logs/$log" --speed 4 --once --delay 4
    start_devozora "$work/ours" 2
    gpsd -N -n -b -S "$reference_port" -F "$work/gpsd.sock" "$work/theirs" >"$work/gpsd.log" 2>&1 &
    pids+=($!)
    wait_for_port "$reference_port"
    seconds=$(( $(grep -c '^\$..RMC' "$logs/$log") / 4 + 8 ))
    gpspipe -w -x "$seconds" "localhost:2947" >"$work/ours.json" &
    ours=$!
    gpspipe -w -x "$seconds" "localhost:$reference_port" >"$work/theirs.json" || true
    wait "$ours" || true
    "$python" "$(dirname "$0")/compare_reports.py" "$work/ours.json" "$work/theirs.json" ||
        fail "$log: devozora and gpsd disagree"
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
    pids=()
    rm -f "$work/ours" "$work/theirs"
done
echo "devozora and gpsd agree on both logs"
