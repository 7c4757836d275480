#!/usr/bin/env bash
# Installs what building and testing need on Debian 12, if it is not there yet: Debian's
# packages, and the NSIS tools/nsis.pin names beside them (tools/install-nsis.sh). Wine runs
# 32-bit programs (the installer, the x86 program) with its 32-bit part, wine32 of the i386
# architecture, which is added to the machine's packages first.
set -euo pipefail
packages=(
    cmake ninja-build g++ libgtest-dev libgmock-dev
    g++-mingw-w64-x86-64-win32 g++-mingw-w64-i686-win32 mingw-w64-tools
    wine wine64 wine32:i386 fonts-wine xvfb xdotool x11-utils imagemagick librsvg2-bin zopfli procps sox zip
    osslsigncode openssl
    scons zlib1g-dev
)
missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
        missing+=("$package")
done
nsis_missing=
pinned=$(sed -n 's/^version: *//p' "$(dirname "$0")/nsis.pin")
installed=$(sed -n 's/.*nsis-common \([^ ]*\)$/\1/p' /opt/nsis/installed-from 2>/dev/null || true)
[ "$installed" = "$pinned" ] || nsis_missing=1
[ ${#missing[@]} -eq 0 ] && [ -z "$nsis_missing" ] && exit 0

sudo=
[ "$(id -u)" = 0 ] || sudo=sudo
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    dpkg --print-foreign-architectures | grep -qx i386 || $sudo dpkg --add-architecture i386
    $sudo apt-get update -qq
    $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
fi
if [ -n "$nsis_missing" ]; then
    echo "Installing NSIS (nsis-common $pinned) into /opt/nsis"
    $sudo "$(dirname "$0")/install-nsis.sh"
fi
