#!/usr/bin/env bash
# devozora beside gpsd on the same machine, each fed by its own simulator at 1 Hz (the same
# seed and start): TPV objects a watching client gets per minute, and the round trip of ?POLL;
# over loopback (median and 99th percentile of 1000, the two servers asked in turn).
#   scripts/compare-gpsd.sh [RUNS]      default 3 runs of about 70 s; prints each and the medians
# Uses the GPSD port 2947 for devozora and 29470 for gpsd; both must be free. Builds a Release
# binary in $BUILD (default build-release/).
set -euo pipefail
cd "$(dirname "$0")/.."
runs="${1:-3}"
scripts/deps.sh
build="${BUILD:-build-release}"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DDEVOZORA_BENCHMARKS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target devozora devozora-simulator >/dev/null
devozora="$build/app/devozora" simulator="$build/tools/simulator/devozora-simulator"
work="$(mktemp -d)"
source tests/clients/serve.sh
chmod 755 "$work"

cat >"$work/measure.py" <<'PYTHON'
# TPVs per minute to one watcher of each server, then ?POLL; round trips, alternating servers.
import json, select, socket, sys, time
ports = {"devozora": 2947, "gpsd": 29470}
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

start="$(date -u +%Y-%m-%dT%H:%M:%SZ)"
start_simulator "$work/ours" --seed 7 --start "$start"
start_simulator "$work/theirs" --seed 7 --start "$start"
start_devozora "$work/ours" 4
gpsd -N -n -b -S 29470 -F "$work/gpsd.sock" "$work/theirs" >"$work/gpsd.log" 2>&1 &
pids+=($!)
wait_for_port 29470
sleep 3
echo "server TPVs-per-minute POLL-median-us POLL-p99-us"
for run in $(seq "$runs"); do
    /usr/bin/python3 "$work/measure.py" | tee -a "$work/results"
done
# The median of a column over the runs.
median() { grep "^$1 " "$work/results" | cut -d' ' -f"$2" | sort -n | sed -n "$(( (runs + 1) / 2 ))p"; }
for name in devozora gpsd; do
    echo "median of $runs runs: $name $(median "$name" 2) $(median "$name" 3) $(median "$name" 4)"
done
