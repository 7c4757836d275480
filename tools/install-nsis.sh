#!/usr/bin/env bash
# Installs NSIS 3.11 or later into /opt/nsis, beside Debian 12's own NSIS (3.08, which lacks
# 3.11's fix for the plug-ins folder of an installer run as SYSTEM): makensis built from the
# upstream sources in Debian 13's nsis source package (its .orig tarball alone; the header flag
# Debian's patch to makensis leaves out, installer/qmx.nsi leaves out itself), with the stubs,
# plug-ins and headers of Debian 13's nsis-common (one package for every architecture). Both
# come through apt, which checks them against the archive's signed indexes, from the archive
# this machine's apt already uses, with a package list of their own: nothing of Debian 13 is
# installed as a system package and the system is not upgraded. A second run finds the marker
# and does nothing. Run as root.
set -euo pipefail
prefix=/opt/nsis
marker="$prefix/installed-from"
[ -x "$prefix/bin/makensis" ] && [ -f "$marker" ] && exit 0

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
chmod 755 "$work"

# The machine's Debian archive: where apt fetches this release's index from.
. /etc/os-release
archive=$(apt-get -o Debug::NoLocking=1 --print-uris update 2>/dev/null |
    sed -n "s|^'\(.*\)/dists/$VERSION_CODENAME/InRelease'.*|\1|p" | head -n 1)
if [ -z "$archive" ]; then
    echo "install-nsis: no Debian archive for $VERSION_CODENAME in apt's sources" >&2
    exit 1
fi

mkdir -p "$work/lists/partial" "$work/cache/archives/partial" "$work/none" "$work/fetched"
cat >"$work/trixie.sources" <<EOF
Types: deb deb-src
URIs: $archive
Suites: trixie
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
apt=(apt-get -qq -o Dir::Etc::SourceList="$work/trixie.sources"
    -o Dir::Etc::SourceParts="$work/none" -o Dir::Etc::PreferencesParts="$work/none"
    -o Dir::State::Lists="$work/lists" -o Dir::Cache="$work/cache"
    -o Dir::State::Status=/dev/null -o Acquire::Languages=none -o Debug::NoLocking=1)
if ! "${apt[@]}" update; then
    # Debian 13's keys come with an update of Debian 12's own debian-archive-keyring.
    apt-get update -qq && apt-get install -y -qq debian-archive-keyring >/dev/null
    if ! "${apt[@]}" update; then
        echo "install-nsis: Debian 13's package lists from $archive could not be read or verified" >&2
        exit 1
    fi
fi
# The downloads go where apt's unprivileged downloader may write.
id _apt >/dev/null 2>&1 && chown _apt "$work/fetched"
(cd "$work/fetched" && "${apt[@]}" download nsis-common &&
    "${apt[@]}" source --download-only --tar-only nsis) >/dev/null

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
common=$(dpkg-deb -f "$work"/fetched/nsis-common_*_all.deb Version)
echo "makensis $version from Debian 13's nsis source package, nsis-common $common" \
    >"$stage$prefix/installed-from"

rm -rf "$prefix"
mkdir -p "$(dirname "$prefix")"
mv "$stage$prefix" "$prefix"
echo "install-nsis: $("$prefix/bin/makensis" -VERSION) in $prefix"
