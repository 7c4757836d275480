#!/usr/bin/env bash
# Installs what building and testing need on Debian 12, if it is not there yet.
set -euo pipefail
packages=(
    cmake ninja-build g++ libgtest-dev libgmock-dev
    g++-mingw-w64-x86-64-win32 mingw-w64-tools
    wine wine64 fonts-wine xvfb xdotool x11-utils imagemagick librsvg2-bin zopfli procps sox nsis zip
)
missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
        missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=
[ "$(id -u)" = 0 ] || sudo=sudo
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq "${missing[@]}" >/dev/null
