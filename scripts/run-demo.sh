#!/usr/bin/env bash
# Builds DevozOra and starts it against the receiver simulator, with all six instrument windows
# open and a throwaway settings folder, so that your own settings are never touched. Extra arguments go to the simulator, e.g.
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
# All six instrument windows open, laid out beside the main window (places in twips).
cat >"$work/config/Quarvel/DevozOra.conf" <<'WINDOWS'
[Views]
Active1=True
Active2=True
Active3=True
Active4=True
Active5=True
Active6=True
Left1=7050
Top1=300
Left2=12525
Top2=300
Left3=12525
Top3=3900
Left4=12525
Top4=2100
Left5=15900
Top5=2100
Left6=15900
Top6=3900
WINDOWS
trap 'kill $simulator_pid 2>/dev/null || true; rm -rf "$work"' EXIT
echo "Receiver simulator on $work/gps; GPSD clients: nc localhost 2947, then type o"
"$build/app/devozora"
