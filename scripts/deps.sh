#!/usr/bin/env bash
# Installs the Debian/Ubuntu packages that DevozOra needs, when missing.
#   scripts/deps.sh          what building, running and testing need (uses sudo when not root)
#   scripts/deps.sh --run      only what building and running need: no gpsd, no test tools
#   scripts/deps.sh --package  what building the Debian package needs (scripts/package.sh)
#   scripts/deps.sh --list     print every package name
set -euo pipefail

run_packages=(
  cmake g++ make pkg-config
  qt6-base-dev qt6-serialport-dev qt6-httpserver-dev qt6-websockets-dev qt6-wayland libgl-dev libxcb1-dev
  fonts-liberation
)
# The package's dependencies are read from the binaries with dpkg-shlibdeps.
package_packages=(dpkg-dev)
# The tests run the program beside real GPSD clients, Navit and gpsd itself, a client in a network
# namespace of its own, its windows under Xvfb with openbox and icewm and in weston's Wayland
# session (with the Mesa drivers weston recommends, as a desktop has them), and its web page in
# Chromium driven by Selenium, its screenshots read with Pillow; the benchmarks and the fuzzer
# want Google Benchmark and clang; CI checks the package with lintian.
test_packages=(
  libbenchmark-dev
  clang libclang-rt-14-dev
  locales-all
  xvfb xauth openbox icewm weston xwayland libgl1-mesa-dri x11-utils x11-xserver-utils xdotool
  netcat-openbsd iproute2
  gpsd gpsd-clients python3-gps tmux navit
  chromium chromium-driver python3-selenium python3-pil
  lintian systemd
)

packages=("${run_packages[@]}" "${package_packages[@]}" "${test_packages[@]}")
case "${1:-}" in
  --list) printf '%s\n' "${packages[@]}"; exit 0 ;;
  --run) packages=("${run_packages[@]}") ;;
  --package) packages=("${run_packages[@]}" "${package_packages[@]}") ;;
esac

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
