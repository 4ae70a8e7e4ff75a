#!/usr/bin/env bash
# Fuzzes the NMEA intake with libFuzzer for a number of seconds (default 60), starting from the
# real receiver logs. Exits non-zero when the fuzzer found a crash or a broken invariant; the
# input that caused it is left in build-fuzz/ as crash-* (or leak-*, timeout-*).
set -euo pipefail

seconds="${1:-60}"
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$repo/build-fuzz"
logs="$repo/testdata/nmea-logs"
corpus="$build/corpus"
maxLen=4096

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
cmake --build "$build" --target fuzz_nmea_intake -j2

# Seed corpus: the real logs without their '#' comment lines and with CR LF line ends, cut at line
# boundaries into pieces that fit -max_len (libFuzzer would otherwise only ever see the start of
# a long log), and a few single sentences.
mkdir -p "$corpus"
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

status=0
"$build/fuzz/fuzz_nmea_intake" "$corpus" -max_total_time="$seconds" -max_len="$maxLen" \
    -dict="$repo/fuzz/nmea.dict" -artifact_prefix="$build/" -print_final_stats=1 \
    2>"$build/fuzz.log" || status=$?
if [[ $status -ne 0 ]]; then
    tail -n 60 "$build/fuzz.log"
else
    grep -E '^#[0-9]+[[:space:]]+DONE|^stat::' "$build/fuzz.log" || true
fi
echo "executions: $(grep -o 'stat::number_of_executed_units: *[0-9]*' "$build/fuzz.log" | grep -o '[0-9]*$')"
if [[ $status -ne 0 ]]; then
    echo "fuzz.sh: the fuzzer found a fault (exit $status); see $build/fuzz.log and $build/crash-*" >&2
fi
exit "$status"
