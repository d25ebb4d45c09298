#!/usr/bin/env bash
# Installs the Debian packages that building and testing Kelvorn need, and
# nothing when they are all there already. Runs as root (or through sudo).
set -euo pipefail

packages=(
    build-essential cmake pkg-config clang libclang-rt-14-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    qt6-base-dev libgl-dev
    xvfb openbox xdotool imagemagick x11-utils
    g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 googletest wine wine64 python3
)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
