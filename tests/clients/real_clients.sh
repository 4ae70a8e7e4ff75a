#!/usr/bin/env bash
# Clients that people use, written by others and not adapted here (gpspipe, cgps, gpsprof, gpscsv
# and the Python gps module from Debian's gpsd-clients and python3-gps, Navit, nc, and gpsd itself
# reading the plain NMEA server as it reads a gateway), against devozora's servers on free ports,
# side by side, with the simulator as the receiver on a paced serial line: a fix off the Dutch coast
# (52.1 N, 4.1 E) for 8 s, then none for 8 s, and so on. Every place of both servers is held by a
# connection that never sends or reads while the clients start, and a client whose link is cut
# without a word must be let go. devozora runs as a service does, without a display: started
# without any option, with --headless, and with a display that cannot be reached, it serves all
# the same. Then the simulator as a receiver on the network, over TCP and as UDP broadcasts, its
# feed gone for a while and back; the service reads its settings again on SIGHUP, and ends on
# SIGTERM.
#   real_clients.sh DEVOZORA SIMULATOR
set -euo pipefail
devozora="$1" simulator="$2"
work="$(mktemp -d)"
source "$(dirname "$0")/serve.sh"
python=/usr/bin/python3
skip_unless_installed gpsd gpspipe cgps gpsprof gpscsv tmux nc navit xvfb-run "$python"
"$python" -c 'import gps' 2>/dev/null || { echo "SKIP: the Python gps module is not installed"; exit 77; }
# wait_for_log TEXT: until the program has said it on standard error.
wait_for_log() {
    for _ in $(seq 100); do grep -qF "$1" "$work/devozora.log" && return 0; sleep 0.1; done
    fail "devozora did not say \"$1\": $(cat "$work/devozora.log")"
}
# watch_cgps SESSION: cgps full screen, its screens written to $work/SESSION.screens twice a second.
watch_cgps() {
    tmux new-session -d -s "$1" -x 100 -y 40 "cgps localhost:$gpsd_port"
    (while tmux capture-pane -p -t "$1" >>"$work/$1.screens" 2>/dev/null; do echo "=====" >>"$work/$1.screens"; sleep 0.5; done) &
    pids+=($!)
}
# peer_count: established connections of both servers from the cut-off client.
peer_count() { ss -Htn state established "( sport = :$gpsd_port or sport = :$nmea_port )" dst "$peer" | wc -l; }

# 38400 baud, the program's port set so (position 7 of the list): the whole cycle fits each second.
baud_index=7
start_simulator "$work/gps" --seed 7 --baud 38400 --drop-fix-after 8 --drop-fix-for 8
# Another program holds the NMEA port: the program says so, and serves once the port is free.
nc -l "$nmea_port" >/dev/null 2>&1 & holder=$!
pids+=($holder)
start_devozora "$work/gps" "KeepAlive=6"
wait_for_log "NMEA port $nmea_port is in use by another program"
kill $holder
wait_for_log "NMEA port $nmea_port is free now: listening"

# A client in a network namespace of its own, watching on both ports, whose link is then cut: it
# vanishes without closing, and keepalive (GPSD/KeepAlive=6) must let it go.
netns="devozora-peer-$$" peer="10.$(( 200 + $$ % 50 )).$(( $$ / 50 % 250 )).2"
if ip netns add "$netns" 2>/dev/null; then
    trap 'ip netns del "$netns"; ip link del "dz$$" 2>/dev/null; cleanup' EXIT
    ip link add "dz$$" type veth peer name eth0 netns "$netns"
    ip addr add "${peer%.2}.1/30" dev "dz$$" && ip link set "dz$$" up
    ip netns exec "$netns" sh -c "ip addr add $peer/30 dev eth0 && ip link set eth0 up"
    ip netns exec "$netns" "$python" - "${peer%.2}.1" "$gpsd_port" "$nmea_port" <<'PYTHON' & pids+=($!)
import socket, sys, time
watcher = socket.create_connection((sys.argv[1], int(sys.argv[2])))
watcher.sendall(b'?WATCH={"enable":true,"json":true};\n')
held = [watcher, socket.create_connection((sys.argv[1], int(sys.argv[2]))),
        socket.create_connection((sys.argv[1], int(sys.argv[3])))]
time.sleep(120)
PYTHON
    for _ in $(seq 50); do (( $(peer_count) == 3 )) && break; sleep 0.1; done
    (( $(peer_count) == 3 )) || fail "the client in its own namespace did not connect"
    ip link set "dz$$" down
else
    echo "note: no network namespaces here (not root?): the vanished client is not tried"
    peer=""
fi

# A watcher that is there before the crowd: it must lose nothing. One row per second at 1 Hz,
# none twice, through the loss of fix.
clients=()
timeout 60 gpscsv -x 10 --header 0 "localhost:$gpsd_port" >"$work/tpv.csv" & clients+=($!)
sleep 1
# 64 connections on each port that never send or read: every place taken.
"$python" - "$gpsd_port" "$nmea_port" >"$work/idle.txt" <<'PYTHON' & pids+=($!)
import socket, sys, time
held = [socket.create_connection(("127.0.0.1", int(port))) for port in sys.argv[1:] for _ in range(64)]
print(len(held), flush=True)
time.sleep(120)
PYTHON
for _ in $(seq 100); do [[ -s "$work/idle.txt" ]] && break; sleep 0.1; done
[[ "$(cat "$work/idle.txt")" == 128 ]] || fail "the idle connections were not made"

# Every client from here on is a newcomer, served in the place of an idle connection.
read -r gpsd_of_nmea tcp_gateway <<<"$(free_ports 2)"
udp_gateway="$(free_ports 1 udp)"
gpsd -N -n -b -S "$gpsd_of_nmea" -F "$work/gpsd.sock" "tcp://127.0.0.1:$nmea_port" >"$work/gpsd.log" 2>&1 & pids+=($!)
watch_cgps "devozora-cgps-$$"
timeout 60 gpspipe -w -n 14 "localhost:$gpsd_port" >"$work/watch.json" & clients+=($!)
timeout 60 gpspipe -r -n 20 "localhost:$gpsd_port" >"$work/raw.nmea" & clients+=($!)
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
# Navit logs a track point on every wake-up of its socket: one per cycle, never two with one time.
mkdir -p "$work/navit"
sed -e "s|source=\"gpsd://localhost\"|source=\"gpsd://localhost:$gpsd_port\"|" \
    -e "s|<log enabled=\"no\" type=\"gpx\"\(.*\) data=\"[^\"]*\" flush_size=\"[0-9]*\"|<log enabled=\"yes\" type=\"gpx\"\1 data=\"$work/track.gpx\" flush_size=\"0\"|" \
    /etc/navit/navit.xml >"$work/navit/navit.xml"
HOME="$work/navit" timeout 20 xvfb-run -a navit -c "$work/navit/navit.xml" >"$work/navit.log" 2>&1 & clients+=($!)

# The monitoring one-liners: the client closes its side as soon as it has asked.
[[ "$(printf 'o' | timeout 10 nc -N localhost "$gpsd_port")" == GPSD,O=* ]] || fail "printf o | nc -N got no reply"
printf '?POLL;\n' | timeout 10 nc -N localhost "$gpsd_port" >"$work/poll.json"
grep -q '"class":"POLL"' "$work/poll.json" || fail "printf ?POLL | nc -N got no POLL: $(cat "$work/poll.json")"
[[ "$(timeout 10 nc localhost "$nmea_port" | head -n 1)" == \$GP* ]] || fail "nc got no sentence from the NMEA port"

# cgps: the fix, and during the loss "NO FIX" and no position.
seen=""
for _ in $(seq 60); do
    sleep 0.5
    screen="$(tmux capture-pane -p -t "devozora-cgps-$$")"
    grep -Eq 'Latitude: +52\.[0-9]+ N' <<<"$screen" && grep -q '3D FIX' <<<"$screen" && seen+="fix "
    [[ "$seen" == *fix* ]] && grep -q 'NO FIX' <<<"$screen" && grep -Eq 'Latitude: +n/a' <<<"$screen" && break
done
tmux kill-session -t "devozora-cgps-$$"
grep -q 'NO FIX' <<<"$screen" || fail "cgps shows no loss of fix: ${screen}"
grep -q 'WARNING' "$work/devozora-cgps-$$.screens" && fail "cgps warns: $(grep WARNING "$work/devozora-cgps-$$.screens")"
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
rows=$(wc -l <"$work/tpv.csv")
(( rows >= 9 && rows <= 11 )) || fail "gpscsv wrote $rows rows in 10 s: $(cat "$work/tpv.csv")"
[[ $(cut -d, -f1 "$work/tpv.csv" | sort -u | wc -l) == "$rows" ]] || fail "gpscsv rows repeat a time: $(cat "$work/tpv.csv")"
points=$(grep -c '<trkpt' "$work/track.gpx" || true)
times=$(grep -o '<time>[^<]*' "$work/track.gpx" | sort -u | wc -l)
(( points >= 5 && points == times )) || fail "Navit logged $points track points for $times cycles: $(cat "$work/navit.log")"
if [[ -n "$peer" ]]; then
    for _ in $(seq 100); do (( $(peer_count) == 0 )) && break; sleep 0.2; done
    (( $(peer_count) == 0 )) || fail "the client whose link was cut still holds $(peer_count) places"
fi

# until_reply PATTERN: until the old protocol's position reply matches it.
until_reply() {
    for _ in $(seq 100); do
        [[ "$(printf 'o' | timeout 5 nc -N localhost "$gpsd_port")" == $1 ]] && return 0
        sleep 0.2
    done
    fail "no reply like $1 from a receiver at $entry"
}
# The gateway closes its connection (TCP) or falls silent (UDP): cgps shows the sky empty beside
# NO FIX, and full again once the fix is back.
for gateway in "--tcp $tcp_gateway" "--udp 127.255.255.255:$udp_gateway"; do
    kill "$devozora_pid"
    wait "$devozora_pid" || true
    session="gateway-$$-${gateway:2:3}"
    # A log of its own: the gateway before it is still writing to its own.
    "$simulator" $gateway --seed 7 --unplug-after 6 --unplug-for 5 >"$work/$session.log" 2>&1 & pids+=($!)
    for _ in $(seq 100); do [[ -s "$work/$session.log" ]] && break; sleep 0.1; done
    entry="$(head -n1 "$work/$session.log")"
    if [[ "$gateway" == --tcp* ]]; then
        devozora_option=--headless start_devozora "$entry"
    else
        devozora_display=:65000 start_devozora "$entry"
        wait_for_log "no display can be reached; serving without a screen"
    fi
    watch_cgps "$session"
    until_reply "GPSD,O=??? * 52.1*"
    until_reply "GPSD,O=?"
    until_reply "GPSD,O=??? * 52.1*"
    sleep 1
    tmux kill-session -t "$session"
    awk '/Used 1[0-9]/ { full = 1 } full && /Seen +0\/Used +0/ { empty = 1 } empty && /Used 1[0-9]/ { back = 1 }
         END { exit !back }' "$work/$session.screens" || fail "cgps kept a sky with $entry gone: $(tail -n 45 "$work/$session.screens")"
done

# The GPSD port moved in the settings: after SIGHUP it is served there, and SIGTERM ends the
# service with success.
read -r gpsd_port <<<"$(free_ports 1)"
write_settings "$entry"
kill -HUP "$devozora_pid"
wait_for_log "hangup: reading the settings again"
until_reply "GPSD,O=??? * 52.1*"
kill -TERM "$devozora_pid"
wait "$devozora_pid" || fail "devozora ended with status $? on SIGTERM: $(cat "$work/devozora.log")"
echo "gpspipe, cgps, gpsprof, gpscsv, the Python gps module, Navit, nc and gpsd are all served without a" \
     "display with every place held; a vanished client is let go; receivers on the network are read and" \
     "come back; SIGHUP moves the port, SIGTERM ends"
