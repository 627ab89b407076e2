#!/usr/bin/env bash
# Puts the demo flight's report into docs/: docs/flight-report.html (the
# tool's report of the demo's recording), docs/flight-report.png (its first
# screen as headless Chromium draws it) and docs/flight-report-landings.png
# (the first track's take-off and landing tables, drawn alone with the
# report's styles). Runs the demo first when it has not run yet.
set -euo pipefail
cd "$(dirname "$0")/.."
[ -f dist/demo/flight.html ] || scripts/demo.sh >/dev/null
cp dist/demo/flight.html docs/flight-report.html
scripts/browser-shot.sh docs/flight-report.html docs/flight-report.png 1000,1500
tables=$(mktemp --suffix=.html)
trap 'rm -f "$tables"' EXIT
python3 - docs/flight-report.html "$tables" <<'PY'
import re, sys
page = open(sys.argv[1], encoding="utf-8").read()
style = re.search(r"<style>.*?</style>", page, re.S).group(0)
track = page[page.index('id="track-1"'):]
tables = re.findall(r'<table class="figures (?:takeoffs|landings)">.*?</table>', track[:track.find("</section>")], re.S)
open(sys.argv[2], "w", encoding="utf-8").write(
    '<!DOCTYPE html><html><head><meta charset="utf-8"/>' + style + "</head><body>" + "".join(tables) + "</body></html>")
PY
scripts/browser-shot.sh "$tables" docs/flight-report-landings.png 1000,190
echo "docs/flight-report.html, docs/flight-report.png and docs/flight-report-landings.png written."
