#!/usr/bin/env bash
# Installs NSIS 3.11 or later into /opt/nsis, beside Debian 12's own NSIS (3.08, which lacks
# 3.11's fix for the plug-ins folder of an installer run as SYSTEM): makensis built from the
# upstream sources in Debian 13's nsis source package (its .orig tarball alone; the header flag
# Debian's patch to makensis leaves out, installer/qmx.nsi leaves out itself), with the stubs,
# plug-ins and headers of Debian 13's nsis-common (one package for every architecture). Both
# come through apt, which checks them against the archive's signed indexes, from the archives
# this machine's apt already uses (Debian 13 and its updates, and its security fixes where the
# machine takes Debian's), with a package list of their own: nothing of Debian 13 is installed as
# a system package and the system is not upgraded. The newest version there is taken; a later run
# does nothing while that is the one installed, and replaces it with a newer one (a fix of the
# stubs or plug-ins reaches them through nsis-common; makensis is built from the upstream
# sources, without Debian's patches). Run as root; NSIS_PREFIX installs elsewhere.
set -euo pipefail
prefix=${NSIS_PREFIX:-/opt/nsis}
marker="$prefix/installed-from"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
chmod 755 "$work"

# The machine's Debian archives: where apt fetches this release's index, and its security
# fixes' index, from.
. /etc/os-release
archive_of() {
    apt-get -o Debug::NoLocking=1 --print-uris update 2>/dev/null |
        sed -n "s|^'\(.*\)/dists/$1/InRelease'.*|\1|p" | head -n 1
}
archive=$(archive_of "$VERSION_CODENAME")
security=$(archive_of "$VERSION_CODENAME-security")
if [ -z "$archive" ]; then
    echo "install-nsis: no Debian archive for $VERSION_CODENAME in apt's sources" >&2
    exit 1
fi

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
options=(-qq -o Dir::Etc::SourceList="$work/trixie.sources"
    -o Dir::Etc::SourceParts="$work/none" -o Dir::Etc::PreferencesParts="$work/none"
    -o Dir::State::Lists="$work/lists" -o Dir::Cache="$work/cache"
    -o Dir::State::Status=/dev/null -o Acquire::Languages=none -o Debug::NoLocking=1)
apt=(apt-get "${options[@]}")
if ! "${apt[@]}" update; then
    # Debian 13's keys come with an update of Debian 12's own debian-archive-keyring.
    apt-get update -qq && apt-get install -y -qq debian-archive-keyring >/dev/null
    if ! "${apt[@]}" update; then
        echo "install-nsis: Debian 13's package lists from $archive could not be read or verified" >&2
        exit 1
    fi
fi
# The newest version of the three suites; nothing to do while it is the one installed.
candidate=$(apt-cache "${options[@]}" policy nsis-common | sed -n 's/^ *Candidate: //p')
if [ -z "$candidate" ] || [ "$candidate" = "(none)" ]; then
    echo "install-nsis: Debian 13's package lists hold no nsis-common" >&2
    exit 1
fi
installed=$(sed -n 's/.*nsis-common \([^ ]*\)$/\1/p' "$marker" 2>/dev/null || true)
if [ -x "$prefix/bin/makensis" ] && [ -n "$installed" ] &&
    ! dpkg --compare-versions "$candidate" gt "$installed"; then
    echo "install-nsis: nsis-common $installed in $prefix is the newest"
    exit 0
fi
# The downloads go where apt's unprivileged downloader may write. nsis-common is built from the
# nsis source package: both of that one version.
id _apt >/dev/null 2>&1 && chown _apt "$work/fetched"
(cd "$work/fetched" && "${apt[@]}" download "nsis-common=$candidate" &&
    "${apt[@]}" source --download-only --tar-only "nsis=$candidate") >/dev/null

tar -xzf "$work"/fetched/nsis_*.orig.tar.gz -C "$work"
source_dir=$(echo "$work"/nsis-*/)
version=${source_dir%/}
version=${version##*/nsis-}
major=${version%%.*}
minor=${version#*.}
minor=${minor%%.*}
if [ "$major" -lt 3 ] || { [ "$major" = 3 ] && [ "$minor" -lt 11 ]; }; then
    echo "install-nsis: Debian 13 offers NSIS $version; the installer needs 3.11 or later" >&2
    exit 1
fi

# makensis writes the data the stubs read: both must be of one upstream version.
common=$(dpkg-deb -f "$work"/fetched/nsis-common_*_all.deb Version)
upstream=${common#*:}
upstream=${upstream%-*}
if [ "$upstream" != "$version" ]; then
    echo "install-nsis: nsis-common $common is not of NSIS $version, the version of makensis" >&2
    exit 1
fi

# Only the compiler: the stubs and plug-ins are nsis-common's, built for this version.
stage="$work/stage"
(cd "$source_dir" && scons -Q -j"$(nproc)" UNICODE=yes SKIPSTUBS=all SKIPPLUGINS=all \
    SKIPUTILS=all SKIPMISC=all SKIPDOC=all PREFIX="$prefix" PREFIX_CONF="$prefix/etc" \
    VERSION="$version" VER_MAJOR="$major" VER_MINOR="$minor" VER_REVISION=0 \
    PREFIX_DEST="$stage" install-compiler install-conf) >"$work/build.log" 2>&1 ||
    { tail -n 30 "$work/build.log" >&2; exit 1; }
dpkg-deb -x "$work"/fetched/nsis-common_*_all.deb "$work/common"
mkdir -p "$stage$prefix/share/nsis"
cp -a "$work/common/usr/share/nsis/." "$stage$prefix/share/nsis/"
echo "makensis $version from Debian 13's nsis source package, nsis-common $common" \
    >"$stage$prefix/installed-from"

rm -rf "$prefix"
mkdir -p "$(dirname "$prefix")"
mv "$stage$prefix" "$prefix"
echo "install-nsis: $("$prefix/bin/makensis" -VERSION) in $prefix"
