#!/usr/bin/env bash
# Installs the Debian/Ubuntu packages that building and testing DevozOra need, when missing.
#   scripts/deps.sh          install what is missing (uses sudo when not root)
#   scripts/deps.sh --list   print the package names
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  qt6-base-dev qt6-serialport-dev libgl-dev
  libbenchmark-dev
  clang libclang-rt-14-dev
  fonts-liberation
  locales-all
  xvfb xauth openbox x11-utils xdotool
  netcat-openbsd
  gpsd gpsd-clients python3-gps tmux
)

if [[ "${1:-}" == "--list" ]]; then
  printf '%s\n' "${packages[@]}"
  exit 0
fi

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing missing packages: ${missing[*]}"
sudo=""
[[ $(id -u) -ne 0 ]] && sudo="sudo"
$sudo apt-get update
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
