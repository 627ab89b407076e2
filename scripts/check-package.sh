#!/usr/bin/env bash
# Checks a release package as scripts/package.sh writes it:
#   scripts/check-package.sh [ZIP]    (default dist/Aerotrace-<version>.zip)
# - it holds exactly the files listed below, in one folder Aerotrace-<version>/;
# - its DLL and tool are byte for byte dist/Aerotrace.dll and dist/aerotrace.exe;
# - the DLL's version record and the tool's --version say the version in the
#   package's name;
# - the text files are plain ASCII with CRLF line ends, the read-me names the version;
# - the guide pages open in headless Chromium with every picture shown and
#   every local link leading to a file of the package (and to an element
#   with that id, for a link with a #fragment).
# Prints a line per check and each fault found; exit status 1 on any fault.
# AEROTRACE_DIST names another folder for the package and the files to
# compare with (default dist).
set -euo pipefail
cd "$(dirname "$0")/.."
dist=${AEROTRACE_DIST:-dist}
zip=${1:-$dist/Aerotrace-$(scripts/package.sh --version).zip}
[ -f "$zip" ] || { echo "check-package: $zip does not exist: run scripts/package.sh" >&2; exit 1; }
case "$(basename "$zip")" in
Aerotrace-[0-9]*.[0-9]*.[0-9]*.zip) version=$(basename "$zip" .zip); version=${version#Aerotrace-} ;;
*) echo "check-package: $zip is not named Aerotrace-<major>.<minor>.<patch>.zip" >&2; exit 1 ;;
esac
top="Aerotrace-$version"

faults=0
fault() { echo "FAULT $*"; faults=$((faults + 1)); }
ok() { echo "ok    $*"; }

# The guide pages and everything else the package holds.
pages=(docs/user-guide.html docs/aerotrace.html docs/recording-format.html)
expected=(Aerotrace.dll aerotrace.exe README.txt LICENSE.txt CHANGELOG.txt "${pages[@]}"
          docs/flight-report.html docs/flight-report.png docs/flight-report-landings.png
          docs/about-dialog.png docs/control-window.png docs/keyboard-dialog.png docs/menu.png
          docs/record-dialog.png docs/replay-dialog.png docs/settings-dialog.png
          docs/spot-dialog.png docs/spot-menu.png docs/tower-dialog.png docs/tower-menu.png
          docs/vc-dialog.png docs/vc-menu.png docs/view-settings-dialog.png)

work=$(mktemp -d)
profile=$(mktemp -d)
trap 'rm -rf "$work" "$profile"' EXIT

# The archive is whole and holds the expected files, no more, no fewer.
if unzip -tq "$zip" >/dev/null 2>&1; then ok "$zip tests whole"; else fault "$zip is damaged (unzip -t fails)"; fi
listed=$(unzip -Z1 "$zip" 2>/dev/null | grep -v '/$' | LC_ALL=C sort || true)
# One top folder named for the version; a misnamed one is one fault, and
# the files in it are compared as if it were named right.
folders=$(sed -n 's|/.*||p' <<<"$listed" | LC_ALL=C sort -u)
inside=$top
if [ -n "$folders" ] && [ "$folders" != "$top" ]; then
    fault "file list: the package's top folder is $(echo $folders), not $top"
    [ "$(wc -l <<<"$folders")" = 1 ] && inside=$folders
fi
wanted=$(printf "$inside/%s\n" "${expected[@]}" | LC_ALL=C sort)
missing=$(LC_ALL=C comm -13 <(echo "$listed") <(echo "$wanted"))
extra=$(LC_ALL=C comm -23 <(echo "$listed") <(echo "$wanted"))
while IFS= read -r name; do [ -z "$name" ] || fault "file list: $name is missing"; done <<<"$missing"
while IFS= read -r name; do [ -z "$name" ] || fault "file list: $name should not be in the package"; done <<<"$extra"
[ -n "$missing$extra" ] || ok "file list: the ${#expected[@]} expected files in $inside/"
unzip -q "$zip" -d "$work" 2>/dev/null || true
package="$work/$inside"

# The module and the tool are the ones built, not older copies.
for built in Aerotrace.dll aerotrace.exe; do
    if [ ! -f "$package/$built" ]; then
        fault "$built: not in the package to compare"
    elif [ ! -f "$dist/$built" ]; then
        fault "$built: $dist/$built does not exist to compare with"
    elif cmp -s "$package/$built" "$dist/$built"; then
        ok "$built: identical to $dist/$built"
    else
        fault "$built: differs from $dist/$built"
    fi
done

# The version the DLL's version record gives, as Windows shows it in the
# file's properties, is the package's.
if [ -f "$package/Aerotrace.dll" ]; then
    if record=$(python3 scripts/pe-version.py "$package/Aerotrace.dll" 2>&1); then
        record_ok=1
        for pair in "FileVersion=$version" "ProductVersion=$version" \
                    "FILEVERSION=$version.0" "PRODUCTVERSION=$version.0"; do
            key=${pair%%=*}
            values=$(sed -n "s/^$key=//p" <<<"$record")
            if [ -z "$values" ]; then
                fault "Aerotrace.dll: its version record has no $key"; record_ok=0
            elif [ "$values" != "${pair#*=}" ]; then
                fault "Aerotrace.dll: its version record gives $key $(echo $values), not ${pair#*=}"; record_ok=0
            fi
        done
        [ $record_ok = 0 ] || ok "Aerotrace.dll: version record FileVersion and ProductVersion $version, numbers $version.0"
    else
        fault "Aerotrace.dll: version record unreadable: $record"
    fi
fi

# Text for Notepad on every Windows from XP: ASCII, CRLF line ends.
for text in README.txt LICENSE.txt CHANGELOG.txt; do
    [ -f "$package/$text" ] || continue  # reported with the file list
    problem=$(python3 - "$package/$text" <<'EOF'
import sys
data = open(sys.argv[1], "rb").read()
lines = data.split(b"\n")
bare = [n for n, line in enumerate(lines[:-1], 1) if not line.endswith(b"\r")]
if not data:
    print("is empty")
elif bare:
    print(f"has {len(bare)} bare LF line ends (first at line {bare[0]})")
elif lines[-1]:
    print("does not end with CRLF")
elif b"\r" in data.replace(b"\r\n", b""):
    print("has a CR that ends no line")
elif any(byte > 127 for byte in data):
    print(f"is not plain ASCII (first other byte at offset {next(i for i, b in enumerate(data) if b > 127)})")
EOF
)
    if [ -n "$problem" ]; then fault "$text $problem"; else ok "$text: ASCII, CRLF line ends"; fi
done
if [ -f "$package/README.txt" ]; then
    if grep -q "Aerotrace $version" "$package/README.txt"; then ok "README.txt names version $version"
    else fault "README.txt does not name version $version"; fi
fi
# The tool says the same version (the native build of the same source).
tool=build/native/tools/aerotrace
if [ -x "$tool" ]; then
    said=$("$tool" --version 2>&1 || true)
    if [ "$said" = "aerotrace $version" ]; then ok "aerotrace --version says $version"
    else fault "aerotrace --version says \"$said\", not \"aerotrace $version\""; fi
else
    fault "$tool is missing, so its --version cannot be compared: run scripts/build.sh native"
fi

# The guide pages in a browser. A check page beside the package opens each
# page in a frame and, once it has loaded, looks at every picture and fetches
# every local link's target; with --allow-file-access-from-files Chromium
# lets a file:// page read the frame and the files. It writes what it finds
# into its own page, which --dump-dom prints.
page_list=$(printf '"%s",' "${pages[@]}")
cat >"$work/check.html" <<EOF
<!DOCTYPE html>
<html><head><meta charset="utf-8"><title>package check</title></head>
<body><pre id="verdict">not run</pre>
<script>
const root = new URL("$inside/", location.href).href;
const pages = [${page_list%,}];
const found = [];
const fault = (text) => found.push("FAULT " + text);
const inPackage = (url) => decodeURIComponent(url.slice(root.length));
window.onerror = (message) => { fault("check page: " + message); finish(); };
function finish() { document.getElementById("verdict").textContent = found.join("\n") + "\nCHECK DONE"; }
function fetchText(url) {
  return new Promise((resolve) => {
    const request = new XMLHttpRequest();
    request.open("GET", url);
    request.onload = () => resolve(request.responseText);
    request.onerror = () => resolve(null);
    request.send();
  });
}
function openPage(url) {
  return new Promise((resolve) => {
    const frame = document.createElement("iframe");
    frame.onload = () => {
      try { resolve(frame.contentDocument); } catch (error) { resolve(null); }
    };
    frame.src = url;
    document.body.appendChild(frame);
  });
}
function hasTarget(doc, id) {
  return doc.getElementById(id) !== null || doc.getElementsByName(id).length > 0;
}
async function checkPage(page) {
  const doc = await openPage(root + page);
  if (!doc || !doc.body || !doc.URL.startsWith(root) || !doc.body.children.length) {
    fault(page + ": does not open");
    return;
  }
  const self = doc.URL.split("#")[0];
  let pictures = 0, links = 0;
  for (const image of doc.images) {
    pictures++;
    const src = image.getAttribute("src");
    if (!image.src.startsWith(root)) fault(page + ": picture " + src + " is not a file of the package");
    else if (!(image.complete && image.naturalWidth > 0)) fault(page + ": picture " + src + " does not load");
  }
  for (const anchor of doc.querySelectorAll("a[href]")) {
    const href = anchor.getAttribute("href");
    const target = new URL(href, doc.URL);
    if (target.protocol !== "file:") continue;  // a web address, not the package's business
    links++;
    const file = target.href.split("#")[0];
    const id = decodeURIComponent(target.hash.slice(1));
    if (!file.startsWith(root)) { fault(page + ": link " + href + " leads out of the package"); continue; }
    if (file.endsWith("/")) { fault(page + ": link " + href + " names a folder"); continue; }
    let targetDoc = doc;
    if (file !== self) {
      const text = await fetchText(file);
      if (text === null) { fault(page + ": link " + href + ": " + inPackage(file) + " is not in the package"); continue; }
      if (id) targetDoc = new DOMParser().parseFromString(text, "text/html");
    }
    if (id && !hasTarget(targetDoc, id)) fault(page + ": link " + href + ": " + inPackage(file) + " has no element with id " + id);
  }
  found.push("PAGE " + page + " " + pictures + " " + links);
}
(async () => {
  for (const page of pages) await checkPage(page);
  finish();
})();
</script></body></html>
EOF
browser=$(command -v chromium || command -v chromium-browser || true)
if [ -z "$browser" ]; then
    fault "guide pages: chromium is not installed (scripts/setup.sh installs it)"
else
    dom=$(timeout 120 "$browser" --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
            --disable-background-networking --disable-component-update --disable-sync \
            --user-data-dir="$profile" --allow-file-access-from-files --virtual-time-budget=15000 \
            --dump-dom "file://$work/check.html" 2>/dev/null || true)
    verdict=$(sed -n '/<pre id="verdict">/,/<\/pre>/p' <<<"$dom" \
              | sed 's/<[^>]*>//g; s/&lt;/</g; s/&gt;/>/g; s/&quot;/"/g; s/&amp;/\&/g')
    if ! grep -qx "CHECK DONE" <<<"$verdict"; then
        fault "guide pages: the check page did not finish in Chromium"
    fi
    while IFS= read -r line; do
        case "$line" in "FAULT "*) fault "${line#FAULT }" ;; esac
    done <<<"$verdict"
    for page in "${pages[@]}"; do
        read -r _ _ pictures links < <(grep "^PAGE $page " <<<"$verdict" || echo)
        if [ -z "${pictures:-}" ]; then
            grep -q "^FAULT $page:" <<<"$verdict" || fault "$page: not checked in Chromium"
        elif ! grep -q "^FAULT $page:" <<<"$verdict"; then
            ok "$page opens in Chromium: all $pictures pictures shown, all $links local links resolve"
        fi
    done
fi

files=$(grep -c . <<<"$listed" || true)
if [ $faults -gt 0 ]; then
    echo "check-package: $faults fault(s) in $zip"
    exit 1
fi
echo "check-package: ok ($files files)"
