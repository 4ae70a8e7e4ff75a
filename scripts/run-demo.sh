#!/usr/bin/env bash
# Builds DevozOra and starts it against the receiver simulator, with all six instrument windows
# open and a throwaway settings folder, so that your own settings are never touched. Extra arguments go to the simulator, e.g.
#   scripts/run-demo.sh --drop-fix-after 60 --drop-fix-for 20      (see "No reception" now and then)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh --run
build=build
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)" --target devozora devozora-simulator

work="$(mktemp -d)"
# A receiver at 9600 baud, which the baud-rate list's "Auto" finds.
simulator_options=(--baud 9600 "$@")
# The system's gpsd may hold the GPSD port 2947 (Debian's gpsd package starts it on most
# desktops): the demo then serves on the next free port, and says so.
free_port() {
    local port=$1
    while (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; do port=$((port + 1)); done
    echo "$port"
}
gpsd_port=$(free_port 2947) nmea_port=$(free_port 10110) web_port=$(free_port 8947)
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
echo "Receiver simulator on $work/gps."
[[ $gpsd_port == 2947 ]] ||
    echo "Port 2947 is held by another program (the system's gpsd?); the demo serves GPSD on $gpsd_port."
echo "GPSD clients: nc localhost $gpsd_port, then type o, or gpspipe -w localhost:$gpsd_port"
echo "Plain NMEA:   nc localhost $nmea_port"
echo "Web page:     http://localhost:$web_port/ (from a phone on this network: this computer's address)"
"$build/app/devozora"
