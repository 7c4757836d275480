#!/usr/bin/env bash
# Builds the installer: make-setup.sh MAKENSIS SETUP BUILD ICON [MAKENSIS-OPTION...], where BUILD
# holds qmx.exe and POURING.WAV and ICON is the program's icon. With a certificate
# (QMX_SIGN_PKCS12, as tools/sign.sh takes it) the uninstaller is signed before it is packed into
# the installer, and the installer once written; a signing that fails fails this step and leaves
# no installer. SOURCE_DATE_EPOCH, when set, is the time makensis writes.
set -euo pipefail
makensis=$1 setup=$(realpath -m "$2") build=$(realpath "$3") icon=$(realpath "$4")
shift 4
tools=$(cd "$(dirname "$0")" && pwd)
installer=$(cd "$tools/../installer" && pwd)
options=(-V2 "-DBUILD=$build" "-DICON=$icon" "-DOUTFILE=$setup" "$@")
[ -z "${QMX_SIGN_PKCS12:-}" ] || options+=("-DSIGN=$tools/sign.sh")
if ! "$makensis" "${options[@]}" "$installer/qmx.nsi"; then
    rm -f "$setup"
    echo "make-setup: makensis failed; no $(basename "$setup")" >&2
    exit 1
fi
