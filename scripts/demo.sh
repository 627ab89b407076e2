#!/usr/bin/env bash
# The main job: installs what is missing, builds dist/Aerotrace.dll and the
# stand-in simulator, and flies the demo on the stand-in (in dist/demo).
set -euo pipefail
cd "$(dirname "$0")/.."
[ "$(id -u)" = 0 ] && scripts/setup.sh
scripts/build.sh native win32
scripts/check-dll.sh
echo "== demo flight on the stand-in simulator"
mkdir -p dist/demo/Modules
build/native/simhost/simhost --dir dist/demo "$@"
