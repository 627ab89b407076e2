#!/usr/bin/env bash
# Builds the release package dist/Aerotrace-<version>.zip from the built
# module and tool (dist/Aerotrace.dll, dist/aerotrace.exe), the guides made
# into web pages, the read-me, the change log and the licence, all in one
# folder Aerotrace-<version>/. scripts/check-package.sh checks the result.
#   scripts/package.sh             builds the package
#   scripts/package.sh --version   prints the version it would package
# AEROTRACE_DIST names another folder to take the DLL and the tool from and
# to write the package to (default dist).
set -euo pipefail
cd "$(dirname "$0")/.."
dist=${AEROTRACE_DIST:-dist}
fail() { echo "package: $*" >&2; exit 1; }

# The version is written in one place, its line in support.h.
[ -f src/core/host/support.h ] || fail "src/core/host/support.h is missing"
version=$(sed -n 's/^#define AEROTRACE_VERSION "\([0-9]\+\.[0-9]\+\.[0-9]\+\)"$/\1/p' src/core/host/support.h)
[ "$(wc -w <<<"$version")" = 1 ] || fail "src/core/host/support.h has no single line #define AEROTRACE_VERSION \"MAJOR.MINOR.PATCH\""
if [ "${1:-}" = --version ]; then echo "$version"; exit 0; fi
[ $# -eq 0 ] || fail "unknown argument: $1 (usage: scripts/package.sh [--version])"

# The guide pages of the package, Markdown files in docs/. The two guides,
# and the recording file's layout for users who share and process recordings.
pages=(user-guide.md aerotrace.md recording-format.md)

for tool in pandoc zip unzip; do
    command -v "$tool" >/dev/null || fail "$tool is not installed (apt-get install $tool)"
done
for built in Aerotrace.dll aerotrace.exe; do
    [ -s "$dist/$built" ] || fail "$dist/$built is missing: run scripts/build.sh win32"
done
for page in "${pages[@]}"; do
    [ -f "docs/$page" ] || fail "docs/$page is missing"
done
# A release without its entry in the change log is not ready to ship.
grep -q "^## ${version//./\\.}\b" CHANGELOG.md || fail "CHANGELOG.md has no entry '## $version ...' for this version"

name="Aerotrace-$version"
zip_path="$dist/$name.zip"
work=$(mktemp -d)
partial="$dist/.$name.zip.partial.$$"
trap 'rm -rf "$work"; rm -f "$partial"' EXIT
top="$work/$name"
mkdir -p "$top/docs"

cp "$dist/Aerotrace.dll" "$dist/aerotrace.exe" "$top/"

# The guides as pages with their stylesheet inside (packaging/guide.html).
# The filter turns links to packaged pages into links to their .html, links
# to other Markdown files into plain text, and lists the local files a page
# needs; those are copied beside the pages below.
packaged=$(IFS=,; echo "${pages[*]}")
for page in "${pages[@]}"; do
    pandoc -f gfm -t html5 --standalone --template packaging/guide.html \
        --lua-filter packaging/guide-links.lua -M "packaged-pages=$packaged" \
        -M "version=$version" -M "asset-list=$work/${page%.md}.assets" \
        -o "$top/docs/${page%.md}.html" "docs/$page" \
        || fail "pandoc could not make docs/$page into a page"
done
for page in "${pages[@]}"; do
    assets="$work/${page%.md}.assets"
    [ -f "$assets" ] || continue  # the page needs no other file
    while IFS= read -r asset; do
        [ -e "$top/docs/$asset" ] && continue  # a packaged page, or copied already
        [ -f "docs/$asset" ] || fail "docs/$page refers to docs/$asset, which does not exist"
        mkdir -p "$(dirname "$top/docs/$asset")"
        cp "docs/$asset" "$top/docs/$asset"
    done <"$assets"
    rm "$assets"
done

# The text files, with Windows line ends so that Notepad shows them right.
crlf() { sed 's/\r$//; s/$/\r/'; }
sed "s/@VERSION@/$version/g" packaging/README.txt.in | crlf >"$top/README.txt"
! grep -q '@[A-Z_]*@' "$top/README.txt" || fail "packaging/README.txt.in holds a placeholder that is not filled in"
crlf <LICENSE >"$top/LICENSE.txt"
crlf <CHANGELOG.md >"$top/CHANGELOG.txt"

# The same inputs give the same zip: fixed modes, every file dated to the
# last commit (SOURCE_DATE_EPOCH if set; outside a git checkout, the DLL's
# time), names in a fixed order, no extra attributes (-X), times as UTC.
stamp=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || true)}
[ -n "$stamp" ] || stamp=$(stat -c %Y "$dist/Aerotrace.dll")
find "$top" -type d -exec chmod 755 {} +
find "$top" -type f -exec chmod 644 {} +
find "$top" -exec touch -d "@$stamp" {} +

# Written under a temporary name and moved into place once whole and tested,
# so that no half-written package is ever left under the real name.
rm -f "$partial"
partial_abs="$(realpath "$dist")/$(basename "$partial")"
(cd "$work" && find "$name" -print | LC_ALL=C sort | TZ=UTC zip -X -q -@ "$partial_abs") \
    || fail "zip could not write $partial"
unzip -tq "$partial" >/dev/null || fail "the zip just written does not test whole"
mv -f "$partial" "$zip_path"
echo "== release package: $zip_path"
