#!/usr/bin/env bash
# Test volume of a checkout: lines of test code against all lines of code.
#   scripts/test-volume.sh [--list]
# Test code: tracked .cpp/.h/.py/.sh/.cmake/CMakeLists.txt files with a folder named "tests", "test"
# or "fuzz" in their path. Code: the same kinds of file anywhere. Data (logs, images, docs) is
# not code. Prints the share of test lines last; --list also prints the largest test files.
set -euo pipefail
cd "$(git rev-parse --show-toplevel)"
code_files=$(git ls-files | grep -E '(\.(cpp|h|hpp|py|sh|cmake)|CMakeLists\.txt)$' || true)
[ -n "$code_files" ] || { echo "no code here"; exit 1; }
test_files=$(printf '%s\n' "$code_files" | grep -E '(^|/)(tests?|fuzz)/' || true)
count() { [ -n "$1" ] && printf '%s\n' "$1" | tr '\n' '\0' | xargs -0 cat | wc -l || echo 0; }
all=$(count "$code_files")
tests=$(count "$test_files")
if [ "${1:-}" = "--list" ] && [ -n "$test_files" ]; then
  printf '%s\n' "$test_files" | tr '\n' '\0' | xargs -0 wc -l | sort -rn | sed -n '2,16p'
fi
echo "test lines $tests of $all lines of code: $(( 100 * tests / all )) % (aim: 25-33 %)"
