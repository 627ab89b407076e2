#!/usr/bin/env bash
# Unpacks Debian's source package of pugixml, the XML parser of the tool's
# GPX import, into /usr/local/src/pugixml-debian (or the folder given): the
# Windows build compiles it, since Debian packages the library for Linux
# only. It takes the version of the installed libpugixml-dev, with Debian's
# patches applied, so both builds parse alike. apt reads the machine's own
# package sources as deb-src entries from a private list; the machine's apt
# configuration is left as it is.
set -euo pipefail
target=${1:-/usr/local/src/pugixml-debian}
[ -f "$target/src/pugixml.cpp" ] && exit 0
command -v dpkg-source >/dev/null || { echo "pugixml-source: dpkg-dev is needed (scripts/setup.sh)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/parts" "$work/lists/partial" "$work/cache/archives/partial" "$work/unpacked"
for sources in /etc/apt/sources.list.d/*.sources; do
    [ -f "$sources" ] && sed -E 's/^Types:.*/Types: deb-src/' "$sources" >"$work/parts/$(basename "$sources")"
done
if [ -f /etc/apt/sources.list ]; then
    sed -nE 's/^deb(\s)/deb-src\1/p' /etc/apt/sources.list >"$work/sources.list"
else
    : >"$work/sources.list"
fi
apt=(-qq -o "Dir::Etc::SourceList=$work/sources.list" -o "Dir::Etc::SourceParts=$work/parts"
     -o "Dir::State::Lists=$work/lists" -o "Dir::Cache=$work/cache" -o APT::Sandbox::User=root)
source "$(dirname "$0")/apt-update.sh"
apt_update "${apt[@]}"
version=$(dpkg-query -W -f '${Version}' libpugixml-dev 2>/dev/null || true)
cd "$work/unpacked"
if ! { [ -n "$version" ] && apt-get "${apt[@]}" source "pugixml=$version" >/dev/null 2>&1; }; then
    echo "pugixml-source: taking Debian's current pugixml (libpugixml-dev ${version:-is not installed})" >&2
    apt-get "${apt[@]}" source pugixml >/dev/null
fi
unpacked=$(find . -maxdepth 1 -type d -name 'pugixml-*' | head -n 1)
[ -f "$unpacked/src/pugixml.cpp" ] || { echo "pugixml-source: no src/pugixml.cpp in the package" >&2; exit 1; }
mkdir -p "$(dirname "$target")"
rm -rf "$target"
mv "$unpacked" "$target"
echo "pugixml source: $target ($(basename "$unpacked"))"
