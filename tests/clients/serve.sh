# Sourced by the real-client tests: helpers that start the simulator and devozora with throwaway
# settings, and clean up after them. Needs $devozora, $simulator and $work.

fail() { echo "FAIL: $*"; exit 1; }

# skip_unless_installed COMMAND... : CTest counts exit code 77 as skipped.
skip_unless_installed() {
    for tool in "$@"; do
        command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
    done
}

pids=()
cleanup() {
    stop_all
    rm -rf "$work"
}
trap cleanup EXIT
# stop_all: ends everything started so far.
stop_all() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
    pids=()
}

# start_simulator LINK OPTIONS...: a receiver whose device is LINK.
start_simulator() {
    local link="$1"
    shift
    "$simulator" --link "$link" "$@" >"$work/simulator-$(basename "$link").log" 2>&1 &
    pids+=($!)
    for _ in $(seq 100); do [[ -e "$link" ]] && return 0; sleep 0.1; done
    fail "the simulator did not make $link"
}

# free_ports N [udp]: N port numbers that nobody uses now, all different, on one line.
free_ports() {
    /usr/bin/python3 - "$@" <<'PYTHON'
import socket, sys
kind = socket.SOCK_DGRAM if sys.argv[2:] == ["udp"] else socket.SOCK_STREAM
held = [socket.socket(socket.AF_INET, kind) for _ in range(int(sys.argv[1]))]
for s in held:
    s.bind(("127.0.0.1", 0))
print(" ".join(str(s.getsockname()[1]) for s in held))
PYTHON
}
# The program's GPSD, plain NMEA and web ports, chosen free so that a system's gpsd on 2947 is no
# bother.
read -r gpsd_port nmea_port web_port <<<"$(free_ports 3)"

# wait_for_port PORT: until something accepts connections there.
wait_for_port() {
    for _ in $(seq 200); do
        (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null && return 0
        sleep 0.1
    done
    fail "nothing listens on port $1"
}

# write_settings DEVICE [GPSD SETTINGS]: throwaway settings serving GPSD on $gpsd_port, plain
# NMEA on $nmea_port and the web page on $web_port, COM1 being DEVICE at 4800 baud (the baud-rate
# list's position $baud_index, when set), with more lines of the GPSD group if given, and
# $user_settings as the person's own settings file.
write_settings() {
    mkdir -p "$work/config/Quarvel" "$work/xdg/Quarvel"
    printf '[Web]\nPort=%s\n[NMEA]\nDevice1=%s\nBaudrate=%s\nWordBits=2\nTcpPort=%s\n[GPSD]\nPort=%s\n%s\n' "$web_port" \
        "$1" "${baud_index:-4}" "$nmea_port" "$gpsd_port" "${2:-}" >"$work/xdg/Quarvel/DevozOra.conf"
    printf '%s' "${user_settings:-}" >"$work/config/Quarvel/DevozOra.conf"
}

# start_devozora DEVICE [GPSD SETTINGS]: the program with those settings, without a display, as a
# service runs: it serves without a screen. $devozora_option (--headless) is passed on; with
# $devozora_platform set (offscreen) the desktop program runs instead, and $devozora_display names
# a display. Its process id in $devozora_pid.
start_devozora() {
    write_settings "$@"
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM ${devozora_platform:+QT_QPA_PLATFORM=$devozora_platform} \
        ${devozora_display:+DISPLAY=$devozora_display} XDG_CONFIG_HOME="$work/config" XDG_CONFIG_DIRS="$work/xdg" \
        "$devozora" ${devozora_option:-} >"$work/devozora.log" 2>&1 &
    devozora_pid=$!
    pids+=($!)
    wait_for_port "$gpsd_port"
}
