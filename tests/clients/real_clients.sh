#!/usr/bin/env bash
# Clients that people use, written by others and not adapted here (gpspipe, cgps, gpsprof, gpscsv
# and the Python gps module from Debian's gpsd-clients and python3-gps, nc, and gpsd itself reading
# the plain NMEA server as it reads a gateway), against devozora's servers on free ports, side by
# side, with the simulator as the receiver: a fix off the Dutch coast (52.1 N, 4.1 E) for 8 s,
# then none for 8 s, and so on. Then the simulator as a receiver on the network, over TCP and as
# UDP broadcasts, its feed gone for a while and back.
#   real_clients.sh DEVOZORA SIMULATOR
set -euo pipefail
devozora="$1" simulator="$2"
work="$(mktemp -d)"
source "$(dirname "$0")/serve.sh"
python=/usr/bin/python3
skip_unless_installed gpsd gpspipe cgps gpsprof gpscsv tmux nc "$python"
"$python" -c 'import gps' 2>/dev/null || { echo "SKIP: the Python gps module is not installed"; exit 77; }
# wait_for_log TEXT: until the program has said it on standard error.
wait_for_log() {
    for _ in $(seq 100); do grep -qF "$1" "$work/devozora.log" && return 0; sleep 0.1; done
    fail "devozora did not say \"$1\": $(cat "$work/devozora.log")"
}

start_simulator "$work/gps" --seed 7 --drop-fix-after 8 --drop-fix-for 8
# Another program holds the NMEA port: the program says so, and serves once the port is free.
nc -l "$nmea_port" >/dev/null 2>&1 & holder=$!
pids+=($holder)
start_devozora "$work/gps"
wait_for_log "NMEA port $nmea_port is in use by another program"
kill $holder
wait_for_log "NMEA port $nmea_port is free now: listening"
read -r gpsd_of_nmea tcp_gateway <<<"$(free_ports 2)"
udp_gateway="$(free_ports 1 udp)"
gpsd -N -n -b -S "$gpsd_of_nmea" -F "$work/gpsd.sock" "tcp://127.0.0.1:$nmea_port" >"$work/gpsd.log" 2>&1 & pids+=($!)
session="devozora-cgps-$$"
tmux new-session -d -s "$session" -x 100 -y 40 "cgps localhost:$gpsd_port"
clients=()
timeout 60 gpspipe -w -n 14 "localhost:$gpsd_port" >"$work/watch.json" & clients+=($!)
timeout 60 gpspipe -r -n 20 "localhost:$gpsd_port" >"$work/raw.nmea" & clients+=($!)
timeout 60 gpscsv -x 10 --header 0 "localhost:$gpsd_port" >"$work/tpv.csv" & clients+=($!)
# gpsprof waits for the greeting before it asks for anything, then gathers 3 s of fixes.
timeout 60 gpsprof -n 3 "localhost:$gpsd_port" >"$work/profile.plot" 2>/dev/null & clients+=($!)
timeout 60 gpspipe -w -n 12 "localhost:$gpsd_of_nmea" >"$work/through-gpsd.json" & clients+=($!)
timeout 60 "$python" - "$gpsd_port" >"$work/python.txt" <<'PYTHON' & clients+=($!)
import gps, sys
session = gps.gps(host="localhost", port=sys.argv[1], mode=gps.WATCH_ENABLE | gps.WATCH_JSON)
for _ in range(100):
    report = session.next()
    if report["class"] == "TPV" and "lat" in report:
        print("%.6f %.6f" % (report.lat, report.lon))
        break
PYTHON

# The monitoring one-liners: the client closes its side as soon as it has asked.
[[ "$(printf 'o' | timeout 10 nc -N localhost "$gpsd_port")" == GPSD,O=* ]] || fail "printf o | nc -N got no reply"
printf '?POLL;\n' | timeout 10 nc -N localhost "$gpsd_port" >"$work/poll.json"
grep -q '"class":"POLL"' "$work/poll.json" || fail "printf ?POLL | nc -N got no POLL: $(cat "$work/poll.json")"

# cgps, a full-screen client: the fix, and during the loss "NO FIX" and no position.
seen=""
for _ in $(seq 60); do
    sleep 0.5
    screen="$(tmux capture-pane -p -t "$session")"
    grep -Eq 'Latitude: +52\.[0-9]+ N' <<<"$screen" && grep -q '3D FIX' <<<"$screen" && seen+="fix "
    [[ "$seen" == *fix* ]] && grep -q 'NO FIX' <<<"$screen" && grep -Eq 'Latitude: +n/a' <<<"$screen" && break
done
tmux kill-session -t "$session"
grep -q 'NO FIX' <<<"$screen" || fail "cgps shows no loss of fix: ${screen}"
# The old protocol tells the loss once the reception watchdog has declared it, 2.5 to 3 s on.
sleep 3.5
[[ "$(printf 'o' | timeout 10 nc -N localhost "$gpsd_port")" == "GPSD,O=?" ]] || fail "printf o | nc -N during the loss"
for pid in "${clients[@]}"; do wait "$pid" || true; done

for class in VERSION DEVICES WATCH TPV SKY; do
    grep -q "\"class\":\"$class\"" "$work/watch.json" || fail "gpspipe -w printed no $class: $(cat "$work/watch.json")"
done
grep -q '^\$GP[A-Z]\{3\},.*\*[0-9A-F][0-9A-F]' "$work/raw.nmea" || fail "gpspipe -r printed no sentences: $(cat "$work/raw.nmea")"
grep -Eq '^52\.1[0-9]+ 4\.1[0-9]+$' "$work/python.txt" || fail "the Python gps module read no position: $(cat "$work/python.txt")"
grep -q '^cep=' "$work/profile.plot" || fail "gpsprof did not finish its plot: $(head -c 500 "$work/profile.plot")"
grep -Eq '"class":"TPV".*"lat":52\.1[0-9]+,"lon":4\.1' "$work/through-gpsd.json" ||
    fail "gpsd read no position from the NMEA server: $(cat "$work/through-gpsd.json" "$work/gpsd.log")"
# One row per second at 1 Hz, none twice, through the loss of fix.
rows=$(wc -l <"$work/tpv.csv")
(( rows >= 9 && rows <= 11 )) || fail "gpscsv wrote $rows rows in 10 s: $(cat "$work/tpv.csv")"
[[ $(cut -d, -f1 "$work/tpv.csv" | sort -u | wc -l) == "$rows" ]] || fail "gpscsv rows repeat a time: $(cat "$work/tpv.csv")"


# until_reply PATTERN: until the old protocol's position reply matches it.
until_reply() {
    for _ in $(seq 100); do
        [[ "$(printf 'o' | timeout 5 nc -N localhost "$gpsd_port")" == $1 ]] && return 0
        sleep 0.2
    done
    fail "no reply like $1 from a receiver at $entry"
}
for gateway in "--tcp $tcp_gateway" "--udp 127.255.255.255:$udp_gateway"; do
    kill "$devozora_pid"
    wait "$devozora_pid" || true
    "$simulator" $gateway --seed 7 --unplug-after 6 --unplug-for 5 >"$work/gateway.log" 2>&1 & pids+=($!)
    for _ in $(seq 100); do [[ -s "$work/gateway.log" ]] && break; sleep 0.1; done
    entry="$(head -n1 "$work/gateway.log")"
    start_devozora "$entry"
    until_reply "GPSD,O=??? * 52.1*"
    until_reply "GPSD,O=?"
    until_reply "GPSD,O=??? * 52.1*"
done
echo "gpspipe, cgps, gpsprof, gpscsv, the Python gps module, nc -N and gpsd are all served;" \
     "receivers on the network are read and come back"
