#!/usr/bin/env bash
# Builds the NMEA intake throughput benchmark in Release and runs it. Extra arguments go to the
# benchmark program (e.g. --benchmark_repetitions=5).
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$repo/build-bench"

cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=Release -DDEVOZORA_WERROR=ON >/dev/null
cmake --build "$build" --target bench_nmea_intake -j2
exec "$build/bench/bench_nmea_intake" "$@"
