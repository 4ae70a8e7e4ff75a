#!/usr/bin/env bash
# The Debian package as a user gets it: lintian finds no error in it, apt installs it, the
# installed program answers --version and, without a display, serves the installed simulator's
# receiver, its systemd unit passes systemd-analyze verify, and apt removes every file it brought.
# Installs system-wide: CI runs it, as root, on its throwaway machine.
#   tests/package/installed.sh DEB
set -euo pipefail
deb="$(realpath "$1")"
devozora=/usr/bin/devozora simulator=/usr/bin/devozora-simulator
work="$(mktemp -d)"
source "$(dirname "$0")/../clients/serve.sh"

lintian --fail-on error "$deb"
apt-get install -y "$deb"
[[ "$(devozora --version)" == "devozora "* ]] || fail "the installed devozora --version says $(devozora --version)"
start_simulator "$work/gps" --seed 7
start_devozora "$work/gps"
position='GPSD,O=??? * 52.1*'
for _ in $(seq 100); do
    reply="$(printf 'o' | timeout 5 nc -N localhost "$gpsd_port")"
    [[ "$reply" == $position ]] && break
    sleep 0.2
done
[[ "$reply" == $position ]] || fail "the installed program serves no position: $reply $(cat "$work/devozora.log")"
stop_all
# Without asking man: a machine that leaves manual pages out is no reason to fail.
systemd-analyze verify --man=no /lib/systemd/system/devozora.service

files=()
while read -r entry; do [[ -d "$entry" ]] || files+=("$entry"); done < <(dpkg -L devozora)
apt-get remove -y devozora
for file in "${files[@]}"; do
    [[ -e "$file" || -L "$file" ]] && fail "$file is left after removing the package"
done
echo "the package installs, serves without a display, has a valid unit, and goes without a trace"
