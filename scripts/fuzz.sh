#!/usr/bin/env bash
# Fuzzes with libFuzzer for a number of seconds per target (default 60), one target after the other:
#   scripts/fuzz.sh [SECONDS] [TARGET...]     TARGET: nmea_intake, gpsd_session (default both)
# The NMEA intake starts from the real receiver logs, the GPSD session from what real clients send.
# Exits non-zero when a fuzzer found a crash or a broken invariant; the input that caused it is
# left in build-fuzz/ as TARGET-crash-* (or -leak-*, -timeout-*), the fuzzer's output as TARGET.log.
set -euo pipefail

seconds="${1:-60}"
targets=("${@:2}")
[[ ${#targets[@]} -gt 0 ]] || targets=(nmea_intake gpsd_session)
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$repo/build-fuzz"
logs="$repo/testdata/nmea-logs"
maxLen=4096

for target in "${targets[@]}"; do
    if [[ $target != nmea_intake && $target != gpsd_session ]]; then
        echo "fuzz.sh: no target $target (nmea_intake, gpsd_session)" >&2
        exit 2
    fi
done
if ! command -v clang++ >/dev/null; then
    echo "fuzz.sh: clang++ not found (Debian: apt-get install clang)" >&2
    exit 2
fi
# libFuzzer's main and runtime ship separately from the compiler.
if ! echo 'extern "C" int LLVMFuzzerTestOneInput(const char*, unsigned long) { return 0; }' |
        clang++ -x c++ -fsanitize=fuzzer - -o /dev/null 2>/dev/null; then
    echo "fuzz.sh: clang's libFuzzer runtime is missing (Debian: apt-get install libclang-rt-14-dev)" >&2
    exit 2
fi

if [[ ! -f "$build/CMakeCache.txt" ]]; then
    CC=clang CXX=clang++ cmake -S "$repo" -B "$build" -DDEVOZORA_FUZZ=ON -DDEVOZORA_BENCHMARKS=OFF \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" --target "${targets[@]/#/fuzz_}" -j2

# The real logs without their '#' comment lines and with CR LF line ends, cut at line boundaries
# into pieces that fit -max_len (libFuzzer would otherwise only ever see the start of a long log),
# and a few single sentences.
seed_nmea_intake() {
    local corpus="$1" log name
    for log in "$logs"/*.log; do
        name="$(basename "$log" .log)"
        { grep -av '^#' "$log" || true; } | tr -d '\r' | LC_ALL=C awk -v max="$((maxLen - 100))" -v out="$corpus/log-$name" '
            { line = $0 "\r\n"
              if (size + length(line) > max && size > 0) { close(file); part++; size = 0 }
              file = out "-" part; printf "%s", line > file; size += length(line) }'
    done
    # "$" body "*" checksum CR LF.
    sentence() {
        local body="$1" sum=0 code i
        for ((i = 0; i < ${#body}; i++)); do
            printf -v code '%d' "'${body:i:1}"
            sum=$((sum ^ code))
        done
        printf '$%s*%02X\r\n' "$body" "$sum"
    }
    sentence 'GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W' >"$corpus/rmc"
    sentence 'GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,' >"$corpus/gga"
    sentence 'GPGLL,4916.45,N,12311.12,W,225444,A' >"$corpus/gll"
    sentence 'GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1' >"$corpus/gsa"
    sentence 'GPVTG,054.7,T,034.4,M,005.5,N,010.2,K' >"$corpus/vtg"
    sentence 'GPZDA,201530.00,04,07,2002,00,00' >"$corpus/zda"
    sentence 'GPTXT,01,01,02,ANTSTATUS=OK' >"$corpus/txt"
    # A sky of six satellites followed by one of two: the second must not keep any of the first.
    {
        sentence 'GPGSV,2,1,06,03,03,111,00,04,15,270,00,06,01,010,00,13,06,292,00'
        sentence 'GPGSV,2,2,06,17,40,045,41,19,31,150,40'
        sentence 'GPGSV,1,1,02,22,78,230,48,24,17,080,33'
    } >"$corpus/gsv-groups"
}

# What real clients send, each after the two bytes the target reads first: the situation (bits 0-1:
# fix and open device, no fix yet, device gone, no device; bit 2: greet the silent client) and the
# largest piece the bytes arrive in (0: all at once).
seed_gpsd_session() {
    local corpus="$1"
    client() { printf '%b%s' "$2" "$3" >"$corpus/$1"; }
    client gpspipe-w '\x00\x00' $'?WATCH={"enable":true,"json":true};\n'
    client gpspipe-r '\x01\x10' $'?WATCH={"enable":true,"nmea":true};\n'
    client gpspipe-R '\x02\x07' $'?WATCH={"enable":true,"raw":2};\n'
    client gpscsv '\x00\x40' $'?WATCH={"enable":true,"json":true,"scaled":true}\n'
    client python-gps '\x04\x03' $'?WATCH={"enable":true,"json":true}\n?POLL;\n'
    client opencpn '\x00\x00' '?WATCH={"class":"WATCH", "nmea":true}'
    client queries '\x05\x01' $'?VERSION;?DEVICES;?DEVICE;?WATCH;?POLL;\r\n'
    client device '\x00\x20' '?DEVICE={"path":"/dev/ttyUSB0"};?DEVICE={"class":"DEVICE","path":"/dev/ttyUSB0","bps":4800,"cycle":1.0};'
    client watch-device '\x03\x00' '?WATCH={"enable":true,"json":true,"device":"/dev/ttyUSB0"};?WATCH={"enable":false};'
    client old-plotter '\x00\x01' $'o\r\n'
    client old-letters '\x05\x02' $'\r\n rwolOL?'
    client nested '\x00\x00' '?WATCH={"a":[[[[[[[[[[[{"b":1}]]]]]]]]]]],"json":true};'
    client escapes '\x00\x08' '?WATCH={"device":"\u00e9\ud800\"\\","json":true};'
    client utf8 '\x00\x00' $'?WATCH={"device":"\xc3\xa9\xed\xa0\x80\xff"};'
    client numbers '\x00\x00' '?WATCH={"raw":1e999,"json":-0,"x":[0.5,-1e-3,01]};'
    client endless '\x00\x40' "?WATCH={\"device\":\"$(printf '%*s' 1100 '' | tr ' ' a)\"};?POLL;"
}

status=0
for target in "${targets[@]}"; do
    corpus="$build/corpus-$target"
    mkdir -p "$corpus"
    "seed_$target" "$corpus"
    result=0
    dict="$repo/fuzz/$([[ $target == nmea_intake ]] && echo nmea || echo gpsd).dict"
    "$build/fuzz/fuzz_$target" "$corpus" -max_total_time="$seconds" -max_len="$maxLen" -timeout=10 \
        -dict="$dict" -artifact_prefix="$build/$target-" -print_final_stats=1 \
        2>"$build/$target.log" || result=$?
    if [[ $result -ne 0 ]]; then
        tail -n 60 "$build/$target.log"
        echo "fuzz.sh: $target: the fuzzer found a fault (exit $result); see $build/$target.log and $build/$target-crash-*" >&2
        status=$result
    fi
    echo "$target: $(grep -aE '^#[0-9]+[[:space:]]+DONE' "$build/$target.log" | tr -s ' \t' ' ' || true)"
    echo "$target: executions $(grep -ao 'stat::number_of_executed_units: *[0-9]*' "$build/$target.log" | grep -o '[0-9]*$')"
done
exit "$status"
