#!/usr/bin/env bash
# with-openbox.sh [--screen WxH] [--scale FACTOR] [--wm openbox|icewm|weston] COMMAND [ARGS...]:
# runs COMMAND on a desktop of its own, an Xvfb screen (1280 x 1024 unless --screen says otherwise)
# at 96 DPI managed by a window manager (openbox unless --wm says otherwise), so that windows get
# real frames, placements and stacking. --scale sets QT_SCALE_FACTOR, as a high-DPI desktop does.
# --wm weston starts a Wayland session instead: weston's headless compositor with XWayland, as
# most desktops run now; COMMAND sees WAYLAND_DISPLAY, DISPLAY (XWayland's) and no
# QT_QPA_PLATFORM, and both process ids are weston's.
# COMMAND sees DISPLAY, QT_QPA_PLATFORM=xcb, and the process ids of the X server and the window
# manager in DEVOZORA_TEST_XSERVER_PID and DEVOZORA_TEST_WM_PID, for tests that stop or kill them,
# the window manager's name in DEVOZORA_TEST_WM and the screen's size in DEVOZORA_TEST_SCREEN. Exits with COMMAND's status, or 77 (skipped)
# when Xvfb, the window manager or the X tools that read and move windows (x11-utils, xdotool) are
# missing.
set -u
screen=1280x1024 scale="" wmname=openbox
while [[ $# -gt 0 ]]; do
    case "$1" in
        --screen) screen="$2"; shift 2 ;;
        --scale) scale="$2"; shift 2 ;;
        --wm) wmname="$2"; shift 2 ;;
        *) break ;;
    esac
done
server=Xvfb
[[ "$wmname" == weston ]] && server=Xwayland
for tool in "$server" "$wmname" xprop xwininfo xdotool; do
    command -v "$tool" >/dev/null || { echo "with-openbox.sh: $tool is not installed" >&2; exit 77; }
done
work="$(mktemp -d)"
xserver="" wm=""
trap 'kill $wm $xserver 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT
# Under the sanitizers: what the X11 platform's own libraries keep is not a leak of ours.
export LSAN_OPTIONS="suppressions=$(dirname "$(realpath "$0")")/lsan-suppressions.txt${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
if [[ "$wmname" == weston ]]; then
    export XDG_RUNTIME_DIR="$work/runtime" WAYLAND_DISPLAY="devozora-test-$$" XDG_SESSION_TYPE=wayland
    mkdir -m 700 "$XDG_RUNTIME_DIR"
    weston --backend=headless-backend.so --socket="$WAYLAND_DISPLAY" --xwayland --width="${screen%x*}" \
        --height="${screen#*x}" --idle-time=0 >"$work/wm.log" 2>&1 &
    wm=$!
    # XWayland's display is known once weston has opened it (XWayland itself starts with the first
    # X client).
    for _ in $(seq 200); do grep -q 'xserver listening on display' "$work/wm.log" && break; sleep 0.05; done
    display="$(sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$work/wm.log" | head -n1)"
    [[ -n "$display" ]] || { cat "$work/wm.log" >&2; exit 1; }
    export DISPLAY="$display" DEVOZORA_TEST_XSERVER_PID=$wm DEVOZORA_TEST_WM_PID=$wm DEVOZORA_TEST_WM=weston \
        DEVOZORA_TEST_SCREEN=$screen
    unset QT_QPA_PLATFORM
    # Mesa's EGL is unloaded before the leaks are told: only a full stack names who made them.
    export LSAN_OPTIONS="$LSAN_OPTIONS:fast_unwind_on_malloc=0"
    "$@"
    exit
fi
# Xvfb picks a free display itself and tells its number through descriptor 3.
Xvfb -displayfd 3 -screen 0 "${screen}x24" -dpi 96 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xserver=$!
for _ in $(seq 200); do [[ -s "$work/display" ]] && break; sleep 0.05; done
[[ -s "$work/display" ]] || { cat "$work/xvfb.log" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$work/display")"
case "$wmname" in
    openbox) HOME="$work" openbox --sm-disable >"$work/wm.log" 2>&1 & ;;
    *) HOME="$work" "$wmname" >"$work/wm.log" 2>&1 & ;;
esac
wm=$!
# The window manager is ready once it has announced itself on the root window.
ready() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
for _ in $(seq 200); do ready && break; sleep 0.05; done
ready || { cat "$work/wm.log" >&2; exit 1; }
export QT_QPA_PLATFORM=xcb DEVOZORA_TEST_XSERVER_PID=$xserver DEVOZORA_TEST_WM_PID=$wm DEVOZORA_TEST_WM=$wmname \
    DEVOZORA_TEST_SCREEN=$screen
[[ -n "$scale" ]] && export QT_SCALE_FACTOR="$scale"
"$@"
