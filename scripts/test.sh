#!/usr/bin/env bash
# Builds DevozOra and runs every test.
#   scripts/test.sh              build in build/ and run the tests
#   scripts/test.sh --sanitize   the same with AddressSanitizer + UBSan, in build-asan/
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh

build=build
options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DDEVOZORA_WERROR=ON)
if [[ "${1:-}" == "--sanitize" ]]; then
  build=build-asan
  options+=(-DDEVOZORA_SANITIZE=ON -DDEVOZORA_BENCHMARKS=OFF)
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
fi

cmake -S . -B "$build" "${options[@]}"
cmake --build "$build" -j"$(nproc)"
ctest --test-dir "$build" --output-on-failure -j"$(nproc)" --timeout 300
