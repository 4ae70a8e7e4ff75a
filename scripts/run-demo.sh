#!/usr/bin/env bash
# Builds DevozOra and starts it against the receiver simulator, with a throwaway settings folder so
# that your own settings are never touched. Extra arguments go to the simulator, e.g.
#   scripts/run-demo.sh --drop-fix-after 60 --drop-fix-for 20      (see "No reception" now and then)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
build=build
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)" --target devozora devozora-simulator

work="$(mktemp -d)"
simulator_options=("$@")
source scripts/demo-settings.sh
trap 'kill $simulator_pid 2>/dev/null || true; rm -rf "$work"' EXIT
echo "Receiver simulator on $work/gps; GPSD clients: nc localhost 2947, then type o"
"$build/app/devozora"
