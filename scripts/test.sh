#!/usr/bin/env bash
# Builds DevozOra and runs every test.
#   scripts/test.sh              build in build/ and run the tests
#   scripts/test.sh --sanitize   the same with AddressSanitizer + UBSan, in build-asan/
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh

# Tests run the program on its own ports beside gpsd: nothing else may hold them. Installing
# Debian's gpsd package starts the system's gpsd on 2947 on most desktops.
for port in 2947 10110; do
  if (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then
    echo "Port $port is held by another program, and the tests need it."
    if [[ $port == 2947 ]] && systemctl is-active --quiet gpsd.socket gpsd.service 2>/dev/null; then
      echo "It is the system's gpsd. Stop it for the tests:  sudo systemctl stop gpsd.socket gpsd.service"
      echo "and start it again afterwards:                   sudo systemctl start gpsd.socket"
    fi
    exit 1
  fi
done

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
