#!/usr/bin/env bash
# Runs the Wine tests (scripts/wine-suite.sh: the i686 scenario tests against
# the real dist/Aerotrace.dll, in as few processes as they can with a timeout
# for each test, and simhost.exe flying the demo) wherever 32-bit Windows programs can run: on
# this machine when its kernel runs 32-bit programs and wine32 is installed
# (scripts/wine-route.sh), otherwise in the Windows guest (scripts/vm/run.sh, one boot for the whole run; the first run builds
# the guest's image, later runs reuse it). Needs the win32 build.
#
#   scripts/wine-tests.sh [--filter PATTERN] [--timeout SECONDS] [--no-demo] [--guest]
#
#   --filter PATTERN   a GoogleTest filter, e.g. 'MenuBar.*' or 'Lifecycle.*:-*Crash*'
#   --timeout SECONDS  the longest one test may take (default 60; in the guest 180)
#   --no-demo          leave out the simhost.exe demo flight
#   --guest            use the guest even where the kernel runs 32-bit programs
#                      (so does AEROTRACE_WINE_GUEST=1)
#
# Ends with a GoogleTest-style summary. A guest that cannot be built or
# booted, or a run that does not finish, is one named failure, never a skip.
# Exits 0 when every case passed.
set -uo pipefail
cd "$(dirname "$0")/.."
suite_args=()
timeout_given=0
budget=${AEROTRACE_WINE_BUDGET:-2400}
where=auto
[ "${AEROTRACE_WINE_GUEST:-0}" = 1 ] && where=guest
while [ $# -gt 0 ]; do
    case "$1" in
    --filter) suite_args+=("$1" "$2"); shift 2 ;;
    --timeout) suite_args+=("$1" "$2"); timeout_given=1; shift 2 ;;
    --no-demo) suite_args+=("$1"); shift ;;
    --guest) where=guest; shift ;;
    -h | --help) sed -n '2,/^set -u/p' "$0" | sed '$d; s/^# \{0,1\}//'; exit 0 ;;
    *) echo "wine-tests.sh: unknown argument $1 (see --help)" >&2; exit 2 ;;
    esac
done
suite_args+=(--budget "$budget")

why="asked for with --guest or AEROTRACE_WINE_GUEST=1"
if [ "$where" = auto ]; then
    if why=$(scripts/wine-route.sh); then where=here; else where=guest; fi
fi
if [ "$where" = here ]; then
    source scripts/wine-env.sh
    if [ "$AEROTRACE_WINE" != 1 ]; then
        echo "[  FAILED  ] 1 test, listed below:"
        echo "[  FAILED  ] Wine on this machine ($AEROTRACE_WINE_WHY)"
        exit 1
    fi
    exec scripts/wine-suite.sh "${suite_args[@]}"
fi

# In the guest. Its output comes back as it goes; should the guest fail
# before the suite's summary, the cases it finished still count.
echo "== the Wine tests run in the emulated Windows guest: $why"
# The emulated machine is several times slower than this one.
[ "$timeout_given" = 1 ] || suite_args+=(--timeout 180)
output=$(mktemp)
trap 'rm -f "$output"' EXIT
scripts/vm/run.sh --timeout $((budget + 600)) -- scripts/wine-suite.sh "${suite_args[@]}" 2>&1 | tee "$output"
status=${PIPESTATUS[0]}
if [ "$status" = 125 ] || ! grep -q '^\[==========\] [0-9]* Wine tests ran' "$output"; then
    reason=$(grep -E '^The Windows guest' "$output" | tail -n 1)
    passed=$(grep -c '^\[       OK \] ' "$output")
    failures=$(grep -E '^\[  FAILED  \] [^0-9]' "$output" | sed 's/, [0-9]* s)$/)/')
    skips=$(grep -E '^\[  SKIPPED \] [^0-9]' "$output" | sed -E 's/ \([0-9]+ ms\)$/: the reason is above/')
    echo "[  PASSED  ] $passed tests."
    if [ -n "$skips" ]; then
        echo "[  SKIPPED ] $(grep -c . <<<"$skips") tests, listed below:"
        echo "$skips"
    fi
    echo "[  FAILED  ] $(($(grep -c . <<<"$failures") + 1)) tests, listed below:"
    [ -n "$failures" ] && echo "$failures"
    echo "[  FAILED  ] the Windows guest (${reason:-it ended before the tests did, status $status})"
    exit 1
fi
exit "$status"
