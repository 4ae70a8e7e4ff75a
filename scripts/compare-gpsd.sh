#!/usr/bin/env bash
# devozora beside gpsd on the same machine, each fed by its own simulator (the same seed and start).
#   scripts/compare-gpsd.sh [--headless] [RUNS]
#                                      at 1 Hz: TPV objects a watching client gets per minute, and
#                                      the round trip of ?POLL; over loopback (median and 99th
#                                      percentile of 1000, the two servers asked in turn); default
#                                      3 runs of about 70 s, each printed, then the medians
#   scripts/compare-gpsd.sh [--headless] --cpu [SECONDS]
#                                      at 1, 10 and 50 Hz, one watcher each (gpspipe -w), then idle
#                                      with no receiver and no client: the CPU each takes over
#                                      SECONDS (default 60), in % of one core and per Hz, the ratio
#                                      of the two, and resident memory: all of it, the part that is
#                                      the process's own (anonymous), and its proportional share
#                                      (PSS, shared library pages divided among their users)
#   scripts/compare-gpsd.sh [--headless] --crowd [SECONDS]
#                                      at 10 Hz, first 64 connections that never send or read held
#                                      on each port (devozora's GPSD and NMEA ports, gpsd's one),
#                                      then 32 watchers on each GPSD port that read everything: the
#                                      CPU each takes over SECONDS (default 60) and the resident
#                                      memory at its start, halfway and at its end, how long new
#                                      clients wait while the idle ones hold every place, and the
#                                      TPVs each watcher got
# Without --headless the desktop program runs, on Qt's offscreen platform; with it, the service
# without a screen. Both serve on free ports, so a system's gpsd may run beside. Builds a Release
# binary in $BUILD (default build-release/).
set -euo pipefail
cd "$(dirname "$0")/.."
devozora_platform=offscreen
if [[ "${1:-}" == --headless ]]; then
    devozora_platform=""
    shift
fi
runs="${1:-3}"
scripts/deps.sh
build="${BUILD:-build-release}"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DDEVOZORA_BENCHMARKS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target devozora devozora-headless devozora-simulator >/dev/null
devozora="$build/app/devozora" simulator="$build/tools/simulator/devozora-simulator"
work="$(mktemp -d)"
source tests/clients/serve.sh
read -r reference_port <<<"$(free_ports 1)"
chmod 755 "$work"

cat >"$work/measure.py" <<'PYTHON'
# TPVs per minute to one watcher of each server, then ?POLL; round trips, alternating servers.
import json, select, socket, sys, time
ports = {"devozora": int(sys.argv[1]), "gpsd": int(sys.argv[2])}
watchers = {socket.create_connection(("127.0.0.1", p)): name for name, p in ports.items()}
for w in watchers:
    w.sendall(b'?WATCH={"enable":true,"json":true};\n')
tpvs, rest, end = {n: 0 for n in ports}, {w: b"" for w in watchers}, time.time() + 60
while time.time() < end:
    for w in select.select(list(watchers), [], [], 0.5)[0]:
        *lines, rest[w] = (rest[w] + w.recv(65536)).split(b"\n")
        tpvs[watchers[w]] += sum(json.loads(line)["class"] == "TPV" for line in lines if line.strip())
pollers = {name: socket.create_connection(("127.0.0.1", p)) for name, p in ports.items()}
times = {n: [] for n in ports}
for name, poller in pollers.items():
    poller.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
    poller.sendall(b"?VERSION;\n")
    poller.recv(65536)
for _ in range(1000):
    for name, poller in pollers.items():
        start, reply = time.perf_counter(), b""
        poller.sendall(b"?POLL;\n")
        while not reply.endswith(b"\n") or b'"POLL"' not in reply:
            reply += poller.recv(65536)
        times[name].append((time.perf_counter() - start) * 1e6)
for name in ports:
    t = sorted(times[name])
    print(f"{name} {tpvs[name]} {t[len(t) // 2]:.0f} {t[len(t) * 99 // 100]:.0f}")
PYTHON

# start_pair OPTIONS...: both simulators with these options, devozora and gpsd on them.
start_pair() {
    local start
    start="$(date -u +%Y-%m-%dT%H:%M:%SZ)"
    start_simulator "$work/ours" --seed 7 --start "$start" "$@"
    start_simulator "$work/theirs" --seed 7 --start "$start" "$@"
    start_devozora "$work/ours"
    gpsd -N -n -b -S "$reference_port" -F "$work/gpsd.sock" "$work/theirs" >"$work/gpsd.log" 2>&1 &
    gpsd_pid=$!
    pids+=($!)
    wait_for_port "$reference_port"
}

# Nanoseconds on a CPU, every thread, as the scheduler counts them: the clock ticks of
# /proc/PID/stat are too coarse for a program that runs for microseconds at a time. (Not "%d":
# mawk, Debian's awk, stops it at 2^31, 2.1 s of CPU.)
cpu_ns() { cat /proc/"$1"/task/*/schedstat | awk '{ ns += $1 } END { printf "%.0f", ns }'; }
rss() { awk '/^VmRSS/ { printf "%.1f MB", $2 / 1024 }' "/proc/$1/status"; }
# Resident, of which anonymous, and proportional share, in MB.
memory() {
    awk '/^VmRSS/ { rss = $2 } /^RssAnon/ { anon = $2 } END { printf "%.1f/%.1f/", rss / 1024, anon / 1024 }' \
        "/proc/$1/status"
    awk '/^Pss:/ { printf "%.1f MB", $2 / 1024 }' "/proc/$1/smaps_rollup"
}

if [[ "$runs" == --crowd ]]; then
    seconds="${2:-60}"
    cat >"$work/crowd.py" <<'PYTHON'
# crowd.py idle|watch COUNT SECONDS PORT...: COUNT connections on each port that never send or
# read, or COUNT watchers on each that read everything and then tell the fewest and most TPVs any
# of them got on each port.
import selectors, socket, sys, time
kind, count, seconds, ports = sys.argv[1], int(sys.argv[2]), float(sys.argv[3]), sys.argv[4:]
selector, held = selectors.DefaultSelector(), []
for port in ports:
    for _ in range(count):
        client = socket.create_connection(("127.0.0.1", int(port)))
        held.append(client)
        if kind == "watch":
            client.sendall(b'?WATCH={"enable":true,"json":true};\n')
            client.setblocking(False)
            selector.register(client, selectors.EVENT_READ, {"port": port, "rest": b"", "tpvs": 0})
end = time.time() + seconds
while time.time() < end:
    if kind != "watch":
        time.sleep(0.5)
        continue
    for key, _ in selector.select(timeout=0.5):
        state = key.data
        *lines, state["rest"] = (state["rest"] + key.fileobj.recv(65536)).split(b"\n")
        state["tpvs"] += sum(b'"class":"TPV"' in line for line in lines)
for port in ports if kind == "watch" else []:
    got = [key.data["tpvs"] for key in selector.get_map().values() if key.data["port"] == port]
    print(f"{len(got)} watchers on port {port} got {min(got)} to {max(got)} TPVs in {seconds:.0f} s")
PYTHON
    start_pair --rate 10
    # measure LABEL: CPU of both over $seconds, and their memory at its start, halfway and end.
    measure() {
        sleep 5 # every client attached and the stream settled
        local ours theirs memory
        ours=$(cpu_ns "$devozora_pid") theirs=$(cpu_ns "$gpsd_pid")
        memory="$(rss "$devozora_pid") / $(rss "$gpsd_pid")"
        sleep $(( seconds / 2 ))
        memory+=", $(rss "$devozora_pid") / $(rss "$gpsd_pid")"
        sleep $(( seconds - seconds / 2 ))
        ours=$(( $(cpu_ns "$devozora_pid") - ours )) theirs=$(( $(cpu_ns "$gpsd_pid") - theirs ))
        memory+=", $(rss "$devozora_pid") / $(rss "$gpsd_pid")"
        awk -v o="$ours" -v t="$theirs" -v s="$seconds" -v l="$1" -v m="$memory" 'BEGIN {
            printf "%s, %d s: CPU devozora %.2f %%, gpsd %.2f %% of one core; memory devozora / gpsd at the start, halfway, end: %s\n",
                   l, s, 100 * o / 1e9 / s, 100 * t / 1e9 / s, m }'
    }
    # served COMMAND...: how long the command takes, in ms.
    served() {
        local start
        start=$(date +%s%N)
        "$@" >/dev/null
        echo "$(( ($(date +%s%N) - start) / 1000000 )) ms"
    }
    /usr/bin/python3 "$work/crowd.py" idle 64 $(( seconds + 15 )) "$gpsd_port" "$nmea_port" "$reference_port" & idle=$!
    measure "64 idle on each port"
    echo "newcomers served with every place held: o $(served sh -c "printf o | nc -N localhost $gpsd_port")," \
         "gpspipe -w to its first report $(served gpspipe -w -n 4 "localhost:$gpsd_port")," \
         "a first sentence from the NMEA port $(served sh -c "nc localhost $nmea_port | head -n 1")"
    kill "$idle"
    /usr/bin/python3 "$work/crowd.py" watch 32 $(( seconds + 5 )) "$gpsd_port" "$reference_port" & watchers=$!
    measure "32 watchers each"
    wait "$watchers"
    exit 0
fi

if [[ "$runs" == --cpu ]]; then
    seconds="${2:-60}"
    # measure RATE: both processes over $seconds; RATE 0 is idle.
    measure() {
        sleep 5 # every client attached and the stream settled
        ours=$(cpu_ns "$devozora_pid") theirs=$(cpu_ns "$gpsd_pid")
        sleep "$seconds"
        ours=$(( $(cpu_ns "$devozora_pid") - ours )) theirs=$(( $(cpu_ns "$gpsd_pid") - theirs ))
        awk -v r="$1" -v o="$ours" -v t="$theirs" -v s="$seconds" \
            -v om="$(memory "$devozora_pid")" -v tm="$(memory "$gpsd_pid")" 'BEGIN {
            oc = 100 * o / 1e9 / s; tc = 100 * t / 1e9 / s
            if (r > 0)
                printf "%2d Hz  %6.3f %%  %.4f %%/Hz  %-16s  %6.3f %%  %.4f %%/Hz  %-16s  %.2f\n",
                       r, oc, oc / r, om, tc, tc / r, tm, (tc > 0 ? oc / tc : 0)
            else # CPU microseconds a minute: a percentage would round both to zero
                printf "idle   %5.0f us/min            %-16s  %5.0f us/min            %-16s\n",
                       o / 1000 * 60 / s, om, t / 1000 * 60 / s, tm }'
        stop_all
    }
    echo "rate   devozora CPU, per Hz, RSS/anon/PSS          gpsd CPU, per Hz, RSS/anon/PSS              ratio"
    for rate in 1 10 50; do
        start_pair --rate "$rate"
        gpspipe -w "localhost:$gpsd_port" >/dev/null & pids+=($!)
        gpspipe -w "localhost:$reference_port" >/dev/null & pids+=($!)
        measure "$rate"
    done
    # No receiver: both wait for a device that is not there.
    start_devozora "$work/absent"
    gpsd -N -n -b -S "$reference_port" -F "$work/gpsd.sock" "$work/absent" >"$work/gpsd.log" 2>&1 &
    gpsd_pid=$!
    pids+=($!)
    wait_for_port "$reference_port"
    measure 0
    exit 0
fi

start_pair
sleep 3
echo "server TPVs-per-minute POLL-median-us POLL-p99-us"
for run in $(seq "$runs"); do
    /usr/bin/python3 "$work/measure.py" "$gpsd_port" "$reference_port" | tee -a "$work/results"
done
# The median of a column over the runs.
median() { grep "^$1 " "$work/results" | cut -d' ' -f"$2" | sort -n | sed -n "$(( (runs + 1) / 2 ))p"; }
for name in devozora gpsd; do
    echo "median of $runs runs: $name $(median "$name" 2) $(median "$name" 3) $(median "$name" 4)"
done
