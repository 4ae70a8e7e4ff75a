#!/usr/bin/env bash
# Pictures of the main window's tabs and of every instrument window (daylight, night, large, no
# fix) under Xvfb at 96 DPI, fed by the receiver simulator.   scripts/screenshots.sh [OUTDIR]   (default: screenshots/)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
out="$(realpath -m "${1:-screenshots}")"
build=build
cmake -S . -B "$build" -DDEVOZORA_WERROR=ON >/dev/null
cmake --build "$build" -j"$(nproc)" --target devozora-screenshots devozora-simulator

work="$(mktemp -d)"
simulator_options=(--seed 7)
source scripts/demo-settings.sh
printf '[Views]\nActive1=True\nActive2=True\nActive3=True\nActive4=True\nActive5=True\nActive6=True\n' \
    >"$work/config/Quarvel/DevozOra.conf"
trap 'kill $simulator_pid 2>/dev/null || true; rm -rf "$work"' EXIT
mkdir -p "$out"
xvfb-run -a -s "-screen 0 1920x1200x24 -dpi 96" "$build/tools/screenshots/devozora-screenshots" "$out"
