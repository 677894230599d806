#!/bin/bash
# hidapi's own sources for the Windows build, from Debian's source package.
#
#   fetch-hidapi.sh <folder>    prints the unpacked source tree's path (<folder>/source)
#
# Debian ships no mingw build of hidapi, so the Windows build compiles hidapi's
# windows/hid.c itself. The package comes from the archive this machine already uses,
# through a private apt configuration that knows only the deb-src line for bookworm:
# the machine's own sources and package lists stay untouched, and apt checks every file
# against the archive's signed index. A folder that holds an unpacked tree is reused
# without the network.
set -euo pipefail

[ $# -eq 1 ] || { echo "usage: fetch-hidapi.sh <folder>" >&2; exit 2; }
version=0.13.1           # the version the Linux build links (Debian 12's libhidapi)
suite=bookworm
keyring=/usr/share/keyrings/debian-archive-keyring.gpg
mkdir -p "$1"
folder=$(cd "$1" && pwd)
tree=$folder/source
stamp=$folder/.unpacked-$version

if [ -e "$stamp" ] && [ -f "$tree/windows/hid.c" ]; then
    echo "$tree"
    exit 0
fi

# The Debian archive this machine installs from (one-line or deb822 sources), else
# Debian's own redirector.
mirror() {
    local files=(/etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources)
    local found
    found=$(awk -v suite="$suite" '
        function stanza_done() {
            if (uris != "" && index(suites, " " suite " ")) { print uris; exit }
            uris = ""; suites = ""
        }
        FNR == 1 { stanza_done() }
        # deb822 stanzas: URIs and Suites, judged at a blank line or at the end of a file.
        /^URIs:/ { uris = $2 }
        /^Suites:/ { suites = " " substr($0, 8) " " }
        /^[[:space:]]*$/ { stanza_done() }
        # One-line entries: deb [options] URI suite components
        /^deb[[:space:]]/ {
            n = 2
            if ($2 ~ /^\[/) { while (n <= NF && $n !~ /\]$/) n++; n++ }
            if ($(n + 1) == suite) { print $n; exit }
        }
        END { stanza_done() }
    ' "${files[@]}" 2>/dev/null || true)
    echo "${found:-http://deb.debian.org/debian}"
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
uri=$(mirror)
echo "deb-src [signed-by=$keyring] $uri $suite main" >"$work/sources.list"
mkdir -p "$work/lists/partial" "$work/download"
apt_private=(-q -o "Dir::Etc::SourceList=$work/sources.list" -o Dir::Etc::SourceParts=/dev/null
             -o "Dir::State::Lists=$work/lists" -o Dir::Cache::pkgcache= -o Dir::Cache::srcpkgcache=
             -o APT::Sandbox::User="$(id -un)")
echo "fetch-hidapi: hidapi source package from $uri ($suite)" >&2
apt-get "${apt_private[@]}" update >&2
(cd "$work/download" && apt-get "${apt_private[@]}" source --download-only hidapi >&2)
dsc=$(ls "$work"/download/hidapi_*.dsc)
case $(basename "$dsc") in
    hidapi_"$version"-*.dsc) ;;
    *) echo "fetch-hidapi: $suite offers $(basename "$dsc"), not hidapi $version" >&2; exit 1 ;;
esac
rm -rf "$tree" "$folder"/.unpacked-*
# dpkg-source cannot check the uploader's signature without debian-keyring and says so;
# apt has already matched every file against the archive's signed index.
dpkg-source --no-copy -x "$dsc" "$tree" >&2
grep -qx "$version" "$tree/VERSION" || { echo "fetch-hidapi: unpacked tree is not hidapi $version" >&2; exit 1; }
touch "$stamp"
echo "$tree"
