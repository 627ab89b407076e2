#!/usr/bin/env bash
# Renders a local HTML page with Debian's chromium, headless and offline:
#   scripts/browser-shot.sh PAGE.html OUT.png [WIDTH,HEIGHT]   a screenshot
#   scripts/browser-shot.sh PAGE.html OUT.pdf                  the page printed
# Every run gets a fresh browser profile, removed afterwards; nothing is
# fetched (no network, no updates, no sync). Runs as root, so without the
# browser's sandbox.
set -euo pipefail
page=$1
out=$2
size=${3:-1000,1400}
browser=$(command -v chromium || command -v chromium-browser || true)
[ -n "$browser" ] || { echo "browser-shot: chromium is not installed (scripts/setup.sh installs it)" >&2; exit 1; }
profile=$(mktemp -d)
trap 'rm -rf "$profile"' EXIT
flags=(--headless --no-sandbox --disable-gpu --disable-quic --no-first-run --disable-background-networking
       --disable-component-update --disable-sync --user-data-dir="$profile" --hide-scrollbars)
case "$out" in
*.pdf) what=(--no-pdf-header-footer --print-to-pdf="$out") ;;
*)     what=(--window-size="$size" --screenshot="$out") ;;
esac
rm -f "$out"
timeout 120 "$browser" "${flags[@]}" "${what[@]}" "file://$(realpath "$page")" >/dev/null 2>&1 || true
[ -s "$out" ] || { echo "browser-shot: chromium wrote no $out" >&2; exit 1; }
