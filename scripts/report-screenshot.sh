#!/usr/bin/env bash
# Puts the demo flight's report into docs/: docs/flight-report.html (the
# tool's report of the demo's recording) and docs/flight-report.png (its
# first screen as headless Chromium draws it). Runs the demo first when it
# has not run yet.
set -euo pipefail
cd "$(dirname "$0")/.."
[ -f dist/demo/flight.html ] || scripts/demo.sh >/dev/null
cp dist/demo/flight.html docs/flight-report.html
scripts/browser-shot.sh docs/flight-report.html docs/flight-report.png 1000,1500
echo "docs/flight-report.html and docs/flight-report.png written."
