#!/usr/bin/env bash
# Builds the Debian package with CPack: a Release build in build-package/, installed under /usr.
# Prints the package's path on standard output, and nothing else there.
#   scripts/package.sh
#   BUILD=build scripts/package.sh    packs an existing build folder instead (CI: the tested one)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh --package >&2
build="${BUILD:-build-package}"
options=(-DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON)
[[ -f "$build/CMakeCache.txt" ]] || options+=(-DCMAKE_BUILD_TYPE=Release -DDEVOZORA_BENCHMARKS=OFF)
cmake -S . -B "$build" "${options[@]}" >&2
# Only what the package holds, not the tests.
cmake --build "$build" -j"$(nproc)" --target devozora devozora-headless devozora-simulator devozora-decode \
    package-documents >&2
rm -f "$build"/devozora_*.deb
(cd "$build" && cpack -G DEB >&2)
ls "$PWD/$build"/devozora_*.deb
