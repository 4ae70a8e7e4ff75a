#!/usr/bin/env bash
# Pictures of the desktop with all six windows (first run, restored, frozen, unfrozen, on top and
# reopened, at night in red), of the main window's tabs and of every instrument window (daylight,
# night, night in red, large, no fix), under Xvfb at 96 DPI with openbox, fed by the receiver
# simulator on a December evening off the Dutch coast, so that "Auto" chooses "Night"; the
# receiver talks at 9600 baud, which the baud-rate list's "Auto" finds.
#   scripts/screenshots.sh [OUTDIR]   (default: screenshots/)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
out="$(realpath -m "${1:-screenshots}")"
build=build
cmake -S . -B "$build" -DDEVOZORA_WERROR=ON >/dev/null
cmake --build "$build" -j"$(nproc)" --target devozora-screenshots devozora-simulator

work="$(mktemp -d)"
simulator_options=(--seed 7 --start 2026-12-06T19:00:00Z --baud 9600)
source scripts/demo-settings.sh
trap 'kill $simulator_pid 2>/dev/null || true; rm -rf "$work"' EXIT
mkdir -p "$out"
views='[Views]\nActive1=True\nActive2=True\nActive3=True\nActive4=True\nActive5=True\nActive6=True\n'
# All six windows where the window manager places them, as on a first run.
printf "$views" >"$work/config/Quarvel/DevozOra.conf"
tests/desktop/with-openbox.sh "$build/tools/screenshots/devozora-screenshots" "$out" first-run
# Then side by side at the top of the screen, beside the main window (outer places in twips).
printf "$views"'Left1=6930\nLeft2=12285\nLeft3=12285\nTop3=4095\nLeft4=12285\nTop4=2025\nLeft5=15675\nTop5=2025\nLeft6=15435\nTop6=4095\n' \
    >"$work/config/Quarvel/DevozOra.conf"
tests/desktop/with-openbox.sh "$build/tools/screenshots/devozora-screenshots" "$out"
