#!/usr/bin/env bash
# Installs the NSIS that tools/nsis.pin names into /opt/nsis, beside Debian 12's own NSIS (3.08,
# which lacks 3.11's fix for the plug-ins folder of an installer run as SYSTEM): makensis built
# from the upstream sources in Debian 13's nsis source package (its .orig tarball alone; the
# header flag Debian's patch to makensis leaves out, installer/qmx.nsi leaves out itself), with
# the stubs, plug-ins and headers of Debian 13's nsis-common (one package for every
# architecture). Both come through apt, which checks them against the archive's signed indexes,
# from the archives this machine's apt already uses (Debian 13 and its updates, and its security
# fixes where the machine takes Debian's), with a package list and preferences of their own:
# nothing of Debian 13 is installed as a system package and the system is not upgraded. The pin
# names the version and the SHA-256 of both downloads, so every machine builds with the same
# NSIS; a download of other bytes, or a version the archive no longer has, stops the script.
# A later run does nothing while the pinned version is installed, and replaces another.
# Run as root; NSIS_PREFIX installs elsewhere, into a folder of its own: the script replaces the
# whole folder, so it refuses one that holds anything but an earlier installation of its own.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
pin="$here/nsis.pin"
prefix=$(realpath -m "${NSIS_PREFIX:-/opt/nsis}")
marker="$prefix/installed-from"

fail() {
    echo "install-nsis: $*" >&2
    exit 1
}

if [ "$prefix" = / ]; then
    fail "NSIS_PREFIX is /: NSIS goes into a folder of its own, which the script replaces whole"
fi
if [ -e "$prefix" ] && { [ ! -d "$prefix" ] || { [ -n "$(ls -A "$prefix")" ] && [ ! -f "$marker" ]; }; }; then
    fail "$prefix exists and is not an earlier installation of this script (it has no" \
        "installed-from): NSIS goes into a folder of its own, which the script replaces whole;" \
        "choose another NSIS_PREFIX"
fi

# The pin: "version: <Debian version>", then one "<SHA-256>  <file>" line per download.
pinned=$(sed -n 's/^version: *//p' "$pin")
[ -n "$pinned" ] || fail "$pin names no version"
upstream=${pinned#*:}
upstream=${upstream%-*}
deb_name="nsis-common_${pinned#*:}_all.deb"
tarball_name="nsis_$upstream.orig.tar.gz"
pinned_sum() {
    awk -v name="$1" '$2 == name { print $1 }' "$pin"
}
for name in "$deb_name" "$tarball_name"; do
    [ -n "$(pinned_sum "$name")" ] || fail "$pin has no SHA-256 for $name"
done

installed=$(sed -n 's/.*nsis-common \([^ ]*\)$/\1/p' "$marker" 2>/dev/null || true)
if [ -x "$prefix/bin/makensis" ] && [ "$installed" = "$pinned" ]; then
    echo "install-nsis: nsis-common $pinned, as pinned, is installed in $prefix"
    exit 0
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
chmod 755 "$work"

# step WHAT COMMAND...: runs an apt step quietly; when it fails, says which one, with apt's words.
step() {
    local what=$1
    shift
    if ! "$@" >"$work/step.log" 2>&1; then
        echo "install-nsis: $what failed:" >&2
        tail -n 20 "$work/step.log" | sed 's/^/    /' >&2
        return 1
    fi
}

# The machine's Debian archives: where apt fetches this release's index, and its security
# fixes' index, from.
. /etc/os-release
archive_of() {
    apt-get -o Debug::NoLocking=1 --print-uris update 2>/dev/null |
        sed -n "s|^'\(.*\)/dists/$1/InRelease'.*|\1|p" | head -n 1
}
archive=$(archive_of "$VERSION_CODENAME")
security=$(archive_of "$VERSION_CODENAME-security")
[ -n "$archive" ] || fail "no Debian archive for $VERSION_CODENAME in apt's sources"

mkdir -p "$work/lists/partial" "$work/cache/archives/partial" "$work/none" "$work/fetched"
# suite ARCHIVE SUITES...: one stanza of the package list.
suite() {
    printf 'Types: deb deb-src\nURIs: %s\nSuites: %s\nComponents: main\n' "$1" "${*:2}"
    printf 'Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg\n\n'
}
{
    suite "$archive" trixie trixie-updates
    [ -z "$security" ] || suite "$security" trixie-security
} >"$work/trixie.sources"
# The machine's own sources and preferences (a pin of its own) play no part.
options=(-q -o Dir::Etc::SourceList="$work/trixie.sources"
    -o Dir::Etc::SourceParts="$work/none" -o Dir::Etc::Preferences="$work/none/preferences"
    -o Dir::Etc::PreferencesParts="$work/none"
    -o Dir::State::Lists="$work/lists" -o Dir::Cache="$work/cache"
    -o Dir::State::Status=/dev/null -o Acquire::Languages=none -o Debug::NoLocking=1)
apt=(apt-get "${options[@]}")
# An index that could not be fetched is an error, not a warning that leaves the lists empty.
update=("${apt[@]}" --error-on=any update)
if ! step "reading Debian 13's package lists from $archive" "${update[@]}"; then
    echo "install-nsis: updating Debian 12's debian-archive-keyring, which brings Debian 13's keys" >&2
    export DEBIAN_FRONTEND=noninteractive
    step "apt-get update of the machine's own package lists" apt-get -q update || exit 1
    step "installing debian-archive-keyring" apt-get install -y -q debian-archive-keyring || exit 1
    step "reading Debian 13's package lists from $archive (with the updated keyring)" \
        "${update[@]}" || exit 1
fi

# A version the archive no longer has is named beside the ones it has.
offered() {
    apt-cache "${options[@]}" madison "$1" 2>/dev/null | awk -F'|' '{ gsub(/ /, "", $2); print $2 }' |
        sort -uV | paste -sd, | sed 's/,/, /g' | grep . || echo nothing
}
# The downloads go where apt's unprivileged downloader may write.
id _apt >/dev/null 2>&1 && chown _apt "$work/fetched"
cd "$work/fetched"
step "downloading nsis-common $pinned (pinned in $pin)" "${apt[@]}" download "nsis-common=$pinned" ||
    fail "expected nsis-common $pinned; Debian 13's lists offer: $(offered nsis-common)"
step "downloading the source of nsis $pinned (pinned in $pin)" \
    "${apt[@]}" source --download-only --tar-only "nsis=$pinned" ||
    fail "expected the nsis source $pinned; Debian 13's lists offer: $(offered nsis)"
cd - >/dev/null
mismatches=0
for name in "$deb_name" "$tarball_name"; do
    [ -f "$work/fetched/$name" ] ||
        fail "apt downloaded no $name; it downloaded: $(ls "$work/fetched" | paste -sd' ')"
    expected=$(pinned_sum "$name")
    found=$(sha256sum "$work/fetched/$name" | cut -d' ' -f1)
    if [ "$found" != "$expected" ]; then
        echo "install-nsis: $name has SHA-256 $found; $pin expects $expected" >&2
        mismatches=$((mismatches + 1))
    fi
done
[ "$mismatches" = 0 ] || fail "the downloads are not the pinned ones: nothing was installed"

tar -xzf "$work/fetched/$tarball_name" -C "$work"
source_dir=$(echo "$work"/nsis-*/)
version=${source_dir%/}
version=${version##*/nsis-}
major=${version%%.*}
minor=${version#*.}
minor=${minor%%.*}
if [ "$major" -lt 3 ] || { [ "$major" = 3 ] && [ "$minor" -lt 11 ]; }; then
    fail "$pin names NSIS $version; the installer needs 3.11 or later"
fi
# makensis writes the data the stubs read: both must be of one upstream version.
common=$(dpkg-deb -f "$work/fetched/$deb_name" Version)
common_upstream=${common#*:}
[ "${common_upstream%-*}" = "$version" ] ||
    fail "nsis-common $common is not of NSIS $version, the version of makensis"

# Only the compiler: the stubs and plug-ins are nsis-common's, built for this version.
stage="$work/stage"
(cd "$source_dir" && scons -Q -j"$(nproc)" UNICODE=yes SKIPSTUBS=all SKIPPLUGINS=all \
    SKIPUTILS=all SKIPMISC=all SKIPDOC=all PREFIX="$prefix" PREFIX_CONF="$prefix/etc" \
    VERSION="$version" VER_MAJOR="$major" VER_MINOR="$minor" VER_REVISION=0 \
    PREFIX_DEST="$stage" install-compiler install-conf) >"$work/build.log" 2>&1 ||
    { tail -n 30 "$work/build.log" >&2; fail "building makensis $version failed"; }
dpkg-deb -x "$work/fetched/$deb_name" "$work/common"
mkdir -p "$stage$prefix/share/nsis"
cp -a "$work/common/usr/share/nsis/." "$stage$prefix/share/nsis/"
echo "makensis $version from Debian 13's nsis source package, nsis-common $common" \
    >"$stage$prefix/installed-from"

rm -rf "$prefix"
mkdir -p "$(dirname "$prefix")"
mv "$stage$prefix" "$prefix"
echo "install-nsis: $("$prefix/bin/makensis" -VERSION) in $prefix"
