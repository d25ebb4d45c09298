#!/usr/bin/env bash
# Installs the Debian packages that building and testing Kelvorn need, and
# nothing when they are all there already. Runs as root (or through sudo).
set -euo pipefail

packages=(
    build-essential cmake pkg-config clang libclang-rt-14-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    qt6-base-dev qt6-qpa-plugins libgl-dev fonts-dejavu-core
    locales
    xvfb xauth openbox xdotool wmctrl imagemagick x11-utils
    librsvg2-bin dpkg-dev file desktop-file-utils shared-mime-info groff-base man-db
    g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 googletest wine wine64 python3 nsis
    python3-ezdxf
)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    "${sudo_cmd[@]}" apt-get update -qq
    "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# A locale whose decimal separator is the comma, for the reader's locale test.
if ! locale -a 2>/dev/null | grep -qx 'de_DE\.utf8'; then
    echo "Generating the de_DE.UTF-8 locale"
    "${sudo_cmd[@]}" sed -i 's/^# *\(de_DE\.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    "${sudo_cmd[@]}" locale-gen
fi
