#!/usr/bin/env bash
# Signs a Windows executable in place with Authenticode (SHA-256): sign.sh FILE. The certificate
# and its private key are the PKCS#12 file QMX_SIGN_PKCS12, whose password osslsigncode reads from
# the file QMX_SIGN_PASSWORD_FILE (never from its command line, which every user sees); a
# time-stamp server (RFC 3161) in QMX_SIGN_TIMESTAMP_URL keeps the signature valid after the
# certificate expires. The build signs qmx.exe, the uninstaller and the installer with it.
# A file that cannot be signed is removed, so that no unsigned one is taken for a signed one.
set -euo pipefail
file=$1
fail() {
    echo "sign: $file: $*" >&2
    rm -f "$file"
    exit 1
}
[ -n "${QMX_SIGN_PKCS12:-}" ] || fail "no certificate (QMX_SIGN_PKCS12)"
[ -n "${QMX_SIGN_PASSWORD_FILE:-}" ] || fail "no password file (QMX_SIGN_PASSWORD_FILE)"
[ -r "$QMX_SIGN_PKCS12" ] || fail "cannot read the certificate $QMX_SIGN_PKCS12"
[ -r "$QMX_SIGN_PASSWORD_FILE" ] || fail "cannot read the password file $QMX_SIGN_PASSWORD_FILE"
# The description and address are what Windows' consent prompt names as the program, rather than
# the file's name.
options=(-pkcs12 "$QMX_SIGN_PKCS12" -readpass "$QMX_SIGN_PASSWORD_FILE" -h sha256
    -n "Velto Volume Controller 4.0" -i "https://www.korwen-software.example/")
[ -z "${QMX_SIGN_TIMESTAMP_URL:-}" ] || options+=(-ts "$QMX_SIGN_TIMESTAMP_URL")

signed="$file.signed"
rm -f "$signed"
if ! output=$(osslsigncode sign "${options[@]}" -in "$file" -out "$signed" 2>&1); then
    rm -f "$signed"
    fail "osslsigncode failed: $output"
fi
mv -f "$signed" "$file"
