#!/usr/bin/env bash
# The main job: installs what is missing, builds dist/Aerotrace.dll and the
# stand-in simulator, flies the demo on the stand-in (in dist/demo), exports
# its recording and writes the release package dist/Aerotrace-<version>.zip.
set -euo pipefail
cd "$(dirname "$0")/.."
[ "$(id -u)" = 0 ] && scripts/setup.sh demo
scripts/build.sh native win32
scripts/check-dll.sh
echo "== demo flight on the stand-in simulator"
mkdir -p dist/demo/Modules
build/native/simhost/simhost --dir dist/demo "$@"

# What the flight looks like to other programs: the first recording, inspected
# with its landings, exported for Google Earth and GPS tools and as a flight
# report for a browser; and every recording of the demo in a logbook.
recording=$(ls dist/demo/Recordings/*.atr | head -n 1)
echo "== the recording tool on $recording"
build/native/tools/aerotrace info --landings "$recording"
build/native/tools/aerotrace export "$recording" --format kml -o dist/demo/flight.kml
build/native/tools/aerotrace export "$recording" --format gpx -o dist/demo/flight.gpx
build/native/tools/aerotrace report "$recording" -o dist/demo/flight.html
mkdir -p dist/demo/logbook
build/native/tools/aerotrace logbook dist/demo/Recordings -o dist/demo/logbook/logbook.html
echo "Exported dist/demo/flight.kml and dist/demo/flight.gpx; the flight report is dist/demo/flight.html," \
     "the logbook of every demo recording dist/demo/logbook/logbook.html"

# What a simmer downloads.
scripts/package.sh
