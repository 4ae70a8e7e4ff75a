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

# wait_for_port PORT: until something accepts connections there.
wait_for_port() {
    for _ in $(seq 200); do
        (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null && return 0
        sleep 0.1
    done
    fail "nothing listens on port $1"
}

# start_devozora DEVICE: the program with the machine's default settings (GPSD on port 2947, plain
# NMEA on port 10110), its COM1 being DEVICE; its process id in $devozora_pid.
start_devozora() {
    mkdir -p "$work/config/Quarvel" "$work/xdg/Quarvel"
    printf '[NMEA]\nDevice1=%s\nBaudrate=4\nWordBits=2\n' "$1" >"$work/xdg/Quarvel/DevozOra.conf"
    QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$work/config" XDG_CONFIG_DIRS="$work/xdg" \
        "$devozora" >"$work/devozora.log" 2>&1 &
    devozora_pid=$!
    pids+=($!)
    wait_for_port 2947
}
