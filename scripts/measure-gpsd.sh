#!/usr/bin/env bash
# CPU and resident memory of devozora serving GPSD clients in watch mode, fed by the simulator at
# 10 Hz, under Xvfb with throwaway settings.
#   scripts/measure-gpsd.sh [SECONDS] [CLIENTS]      defaults: 60 s, 10 clients
# The clients are plain sockets that send ?WATCH={"enable":true,"json":true} and read everything;
# at the end each reports how many TPV and SKY objects it got. The machine-wide setting
# GPSD/MaxClients is set to the number of clients. Builds a Release binary in $BUILD (default
# build-release/). Uses the fixed GPSD port 2947, which must be free.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
clients="${2:-10}"
scripts/deps.sh
command -v xdotool >/dev/null || { sudo=""; [[ $(id -u) -ne 0 ]] && sudo=sudo; $sudo apt-get install -y xdotool; }
build="${BUILD:-build-release}"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DDEVOZORA_BENCHMARKS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target devozora devozora-simulator >/dev/null

work="$(mktemp -d)"
simulator_options=(--seed 7 --rate 10)
source scripts/demo-settings.sh
printf '[GPSD]\nMaxClients=%s\n' "$clients" >>"$work/xdg/Quarvel/DevozOra.conf"
trap 'kill $simulator_pid 2>/dev/null || true; rm -rf "$work"' EXIT

cat >"$work/watchers.py" <<'PYTHON'
# N watching clients on one selector; counts the JSON objects each receives until told to stop.
import json, selectors, socket, sys, time
count, seconds = int(sys.argv[1]), float(sys.argv[2])
selector = selectors.DefaultSelector()
clients = []
deadline = time.time() + 30
while len(clients) < count:
    try:
        client = socket.create_connection(("127.0.0.1", 2947), timeout=1)
    except OSError:
        if time.time() > deadline:
            sys.exit(f"only {len(clients)} of {count} clients could connect")
        time.sleep(0.1)
        continue
    client.sendall(b'?WATCH={"enable":true,"json":true};\n')
    client.setblocking(False)
    state = {"rest": b"", "classes": {}}
    clients.append(state)
    selector.register(client, selectors.EVENT_READ, state)
end = time.time() + seconds
while time.time() < end:
    for key, _ in selector.select(timeout=0.5):
        data = key.fileobj.recv(65536)
        if not data:
            sys.exit("the server closed a watching client")
        state = key.data
        *lines, state["rest"] = (state["rest"] + data).split(b"\r\n")
        for line in lines:
            name = json.loads(line)["class"]
            state["classes"][name] = state["classes"].get(name, 0) + 1
tpv = [state["classes"].get("TPV", 0) for state in clients]
sky = [state["classes"].get("SKY", 0) for state in clients]
print(f"{count} watching clients; TPV objects per client: {min(tpv)} to {max(tpv)}; SKY: {min(sky)} to {max(sky)}")
PYTHON

export build work seconds clients
xvfb-run -a -s "-screen 0 1920x1200x24 -dpi 96" bash -c '
    "$build/app/devozora" & pid=$!
    until xdotool search --onlyvisible --name "Quarvel Vexo Devozora" >/dev/null 2>&1; do sleep 0.01; done
    python3 "$work/watchers.py" "$clients" "$((seconds + 6))" & watchers=$!
    sleep 5   # let every client connect and the stream settle before measuring
    ticks() { awk "{print \$14 + \$15}" /proc/$pid/stat; }
    before=$(ticks); sleep "$seconds"; after=$(ticks)
    hz=$(getconf CLK_TCK)
    awk -v t=$((after - before)) -v hz=$hz -v s="$seconds" -v c="$clients" \
        "BEGIN { printf \"CPU over %d s with %d watching clients, simulator at 10 Hz: %.2f %% of one core\n\", s, c, 100 * t / hz / s }"
    grep VmRSS /proc/$pid/status | awk "{ printf \"resident memory: %.1f MB\n\", \$2 / 1024 }"
    wait $watchers
    kill -TERM $pid; wait $pid
'
