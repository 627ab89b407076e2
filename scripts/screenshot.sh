#!/usr/bin/env bash
# Takes docs/menu.png: the stand-in simulator (simhost.exe) under Wine on a
# virtual X display, with Aerotrace.dll loaded and the module menu opened
# on its menu bar. Needs the win32 build, Wine, Xvfb and ImageMagick.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-env.sh
if [ "$AEROTRACE_WINE" != 1 ]; then
    echo "No screenshot: $AEROTRACE_WINE_WHY." >&2
    exit 1
fi
command -v import >/dev/null || { echo "No screenshot: ImageMagick's import is not installed." >&2; exit 1; }
[ -f build/win32/simhost/simhost.exe ] && [ -f dist/Aerotrace.dll ] || scripts/build.sh win32

folder=build/screenshot
rm -rf "$folder"
mkdir -p "$folder/Modules"
output=$(mktemp)
hold=20
wine build/win32/simhost/simhost.exe --dll "$PWD/dist/Aerotrace.dll" --dir "$PWD/$folder" \
    --minutes 0.05 --ai 0 --show-menu "$hold" >"$output" 2>&1 &
simhost=$!

# The menu is open once simhost says so; give the display a moment to draw it.
for _ in $(seq 600); do
    grep -q "Module menu open" "$output" && break
    kill -0 "$simhost" 2>/dev/null || break
    sleep 0.1
done
if ! grep -q "Module menu open" "$output"; then
    cat "$output" >&2
    echo "No screenshot: simhost did not open the module menu." >&2
    kill "$simhost" 2>/dev/null || true
    exit 1
fi
sleep 2
import -window root docs/menu.png
wait "$simhost" || true
rm -f "$output"
echo "docs/menu.png written."
