#!/bin/sh
# Whole-process decoding speed: devozora-decode against gpsdecode (Debian package gpsd-clients)
# on the same input, the recorded receiver logs repeated to about 50 MB (GP talker sentences
# only, comments left out, line ends as recorded). Both write to /dev/null; one run each.
#
# usage: scripts/decode-compare.sh [BUILD_DIR]   (default: build)
set -eu

repo=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$repo/build"}
decoder="$build/tools/decoder/devozora-decode"
logs="$repo/testdata/nmea-logs"
target_bytes=$((50 * 1000 * 1000))

command -v gpsdecode >/dev/null || { echo "gpsdecode not found (apt-get install gpsd-clients)" >&2; exit 1; }
[ -x "$decoder" ] || { echo "$decoder not built" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
grep -h -a '^\$GP' "$logs"/*.log > "$work/one-pass.nmea"
one_pass=$(wc -c < "$work/one-pass.nmea")
: > "$work/input.nmea"
size=0
while [ "$size" -lt "$target_bytes" ]; do
    cat "$work/one-pass.nmea" >> "$work/input.nmea"
    size=$((size + one_pass))
done
echo "input: $size bytes, $(wc -l < "$work/input.nmea") lines"

# Wall time of one run in seconds.
wall() {
    start=$(date +%s.%N)
    "$@" < "$work/input.nmea" > /dev/null
    end=$(date +%s.%N)
    echo "$end - $start" | bc
}

ours=$(wall "$decoder")
theirs=$(wall gpsdecode)
echo "devozora-decode: $ours s"
echo "gpsdecode:       $theirs s"
echo "gpsdecode / devozora-decode: $(echo "scale=1; $theirs / $ours" | bc)x"
