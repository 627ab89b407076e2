#!/usr/bin/env bash
# Takes the pictures of the user guide: the stand-in simulator (simhost.exe)
# under Wine on a virtual X display, with Aerotrace.dll loaded — docs/menu.png
# with the module menu opened on its menu bar, then docs/<dialog>-dialog.png
# for the settings, keyboard, about, replay and record dialogs and the four
# advanced-view dialogs (tower, spot, view settings, VC), and
# docs/<kind>-menu.png for the three view sub-menus, which simhost opens one
# after the other and pictures itself, and docs/control-window.png of the
# control window during a playback. Needs the win32 build, Wine, Xvfb and
# ImageMagick.
set -euo pipefail
cd "$(dirname "$0")/.."
# The run gets a display of its own (scripts/wine-env.sh): the pictures are
# taken from the screen, where the windows of another run would get in the way.
source scripts/wine-env.sh
if [ "$AEROTRACE_WINE" != 1 ]; then
    echo "No screenshot: $AEROTRACE_WINE_WHY." >&2
    exit 1
fi
command -v import >/dev/null && command -v convert >/dev/null ||
    { echo "No screenshot: ImageMagick's import and convert are not installed." >&2; exit 1; }
[ -f build/win32/simhost/simhost.exe ] && [ -f dist/Aerotrace.dll ] || scripts/build.sh win32
# Without a window manager on the display, Wine draws the windows' title bars itself.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1 || true

folder=build/screenshot
rm -rf "$folder"
mkdir -p "$folder/Modules"
output=$(mktemp)
hold=20
wine build/win32/simhost/simhost.exe --dll "$PWD/dist/Aerotrace.dll" --dir "$PWD/$folder" \
    --ai 0 --show-menu "$hold" --pictures pictures >"$output" 2>&1 &
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
echo "docs/menu.png written."

# The dialogs come after the menu closes.
wait "$simhost" || true
status=0
for name in settings-dialog keyboard-dialog about-dialog replay-dialog record-dialog \
    tower-dialog spot-dialog view-settings-dialog vc-dialog tower-menu spot-menu vc-menu; do
    picture="$folder/pictures/$name.bmp"
    if [ -s "$picture" ]; then
        convert "$picture" "docs/$name.png"
        echo "docs/$name.png written."
    else
        echo "No picture $name." >&2
        status=1
    fi
done
[ "$status" = 0 ] || cat "$output" >&2

# The control window during a playback, in a second run of the stand-in.
if wine build/win32/simhost/simhost.exe --dll "$PWD/dist/Aerotrace.dll" --dir "$PWD/$folder" --ai 0 \
        --control-window pictures/control-window.bmp >"$output" 2>&1 &&
    [ -s "$folder/pictures/control-window.bmp" ]; then
    convert "$folder/pictures/control-window.bmp" docs/control-window.png
    echo "docs/control-window.png written."
else
    cat "$output" >&2
    echo "No picture of the control window." >&2
    status=1
fi
rm -f "$output"
exit "$status"
