#!/usr/bin/env bash
# The Wine tests themselves, run where Wine runs 32-bit programs (inside the
# Windows guest, or on this machine when its kernel can): the i686 scenario
# tests loading the real dist/Aerotrace.dll, one test per process, each
# bounded by a timeout so that a hang fails that test alone, and simhost.exe
# flying the demo as one more case. Prints one line per case as it ends and
# closes with a GoogleTest-style summary ("[  PASSED  ] N tests." ...), so
# the results count like any GoogleTest program's. Expects Wine to be set up
# already (scripts/wine-tests.sh or the guest's init do that).
#
#   scripts/wine-suite.sh [--filter PATTERN] [--timeout SECONDS] [--budget SECONDS] [--no-demo]
#
# PATTERN is a GoogleTest filter (default "*", e.g. "MenuBar.*:Lifecycle.*").
# SECONDS: per test (default 60); the budget (default 2400) bounds the whole
# run: cases it leaves no time for fail as "not run". Exits 0 when no case failed.
set -uo pipefail
cd "$(dirname "$0")/.."
filter="*"
per_test=60
budget=2400
demo=1
while [ $# -gt 0 ]; do
    case "$1" in
    --filter) filter=$2; shift 2 ;;
    --timeout) per_test=$2; shift 2 ;;
    --budget) budget=$2; shift 2 ;;
    --no-demo) demo=0; shift ;;
    *) echo "usage: scripts/wine-suite.sh [--filter PATTERN] [--timeout SECONDS] [--budget SECONDS] [--no-demo]" >&2; exit 2 ;;
    esac
done

built_tests=$PWD/build/win32/tests/scenario_tests.exe
built_simhost=$PWD/build/win32/simhost/simhost.exe
dll=$PWD/dist/Aerotrace.dll
scratch=$(mktemp -d "${TMPDIR:-/tmp}/aerotrace-wine.XXXXXX")
# The programs run from copies on a local disk: in the guest, Wine loading
# the large test program straight from the shared folder (9p) finds pages of
# zeros in its code and crashes.
tests_exe=$scratch/scenario_tests.exe
simhost_exe=$scratch/simhost.exe
for program in "$built_tests" "$built_simhost"; do
    [ -f "$program" ] && cp "$program" "$scratch/"
done
deadline=$((SECONDS + budget))
passed=()
failed=()
skipped=()

# result NAME OUTCOME SECONDS [REASON] [LOG]: records one case and says how it went.
result() {
    local name=$1 outcome=$2 took=$3 reason=${4:-} log=${5:-}
    case "$outcome" in
    ok) passed+=("$name"); echo "[       OK ] $name ($took s)" ;;
    skipped) skipped+=("$name"); echo "[  SKIPPED ] $name ($took s)" ;;
    *)
        failed+=("$name ($reason)")
        echo "[  FAILED  ] $name ($reason, $took s)"
        # What the case said about it, indented so it is not counted again.
        if [ -n "$log" ] && [ -s "$log" ]; then
            tr -d '\r' <"$log" | grep -v -E '^\[ *(RUN|OK|PASSED|FAILED|SKIPPED|==========|----------) *\]|^Note: Google Test filter|^Running main\(\)|FAILED TESTS?$|^$' |
                head -n 20 | sed 's/^/    | /'
        fi
        ;;
    esac
}

# bounded SECONDS LOG COMMAND...: runs a Windows program for at most SECONDS
# (and never past the run's budget). Sets "outcome" (ok, timeout, status N).
bounded() {
    local limit=$1 log=$2 left=$((deadline - SECONDS))
    shift 2
    [ "$left" -lt "$limit" ] && limit=$left
    timeout --kill-after=5 "$limit" "$@" >"$log" 2>&1 </dev/null
    local status=$?
    case $status in
    0) outcome=ok ;;
    124 | 137)
        outcome="timed out after $limit s"
        # Whatever the hung program left behind must not meet the next case.
        wineserver -k 2>/dev/null
        wineserver -p 2>/dev/null
        ;;
    *) outcome="exit status $status" ;;
    esac
}

scenario_tests() {
    local list name outcome start index=0
    if [ ! -f "$tests_exe" ] || [ ! -f "$dll" ]; then
        result "scenario_tests.exe" failed 0 "$built_tests or $dll is missing: run scripts/build.sh win32"
        return
    fi
    list=$scratch/list
    bounded 120 "$list" wine "$tests_exe" --gtest_list_tests "--gtest_filter=$filter"
    if [ "$outcome" != ok ]; then
        result "scenario_tests.exe --gtest_list_tests" failed 0 "$outcome" "$list"
        return
    fi
    # "Suite." lines, then "  Test" lines (with "  # GetParam() = ..." after typed ones).
    local names=()
    mapfile -t names < <(tr -d '\r' <"$list" | awk '/^[^ ]/ { suite = $1 } /^  [^ ]/ { print suite $1 }')
    echo "== ${#names[@]} scenario tests from $built_tests, one per process, $per_test s each"
    for name in "${names[@]}"; do
        index=$((index + 1))
        if [ $((deadline - SECONDS)) -le 0 ]; then
            result "$name" failed 0 "not run: the run's $budget s were used up"
            continue
        fi
        mkdir -p "$scratch/$index"
        start=$SECONDS
        local log=$scratch/$index/log
        cd "$scratch/$index" || return
        bounded "$per_test" "$log" wine "$tests_exe" "--gtest_filter=$name"
        cd - >/dev/null || return
        local took=$((SECONDS - start))
        if [ "$outcome" = ok ] && grep -q '^\[  SKIPPED \] 1 test' "$log"; then
            result "$name" skipped "$took"
        elif [ "$outcome" = ok ] && grep -q '^\[  PASSED  \] 1 test' "$log"; then
            result "$name" ok "$took"
        elif [ "$outcome" = ok ]; then
            result "$name" failed "$took" "it ran no test" "$log"
        else
            result "$name" failed "$took" "$outcome" "$log"
        fi
    done
}

# The stand-in simulator loads the real DLL, records the scripted flight
# through the module menu and saves it without a dialog.
demo_flight() {
    local name="simhost.exe demo flight" folder=$scratch/demo start=$SECONDS outcome
    if [ ! -f "$simhost_exe" ]; then
        result "$name" failed 0 "$built_simhost is missing: run scripts/build.sh win32"
        return
    fi
    mkdir -p "$folder/Modules"
    bounded 600 "$scratch/demo.log" wine "$simhost_exe" --dll "$dll" --dir "$folder"
    local took=$((SECONDS - start))
    if [ "$outcome" != ok ]; then
        result "$name" failed "$took" "$outcome" "$scratch/demo.log"
    elif ! ls "$folder"/Recordings/*.atr >/dev/null 2>&1; then
        result "$name" failed "$took" "no recording saved" "$scratch/demo.log"
    else
        result "$name" ok "$took"
        tr -d '\r' <"$scratch/demo.log" | grep -E '^(Status line|Flew|Module shut down)' | sed 's/^/    | /'
    fi
}

# No window manager runs on the virtual display: unless told the windows are
# not managed, Wine waits two seconds for one each time a window is hidden
# (every message box, dialog and main window of a test).
bounded 120 "$scratch/unmanaged.log" wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f
scenario_tests
[ "$demo" = 1 ] && demo_flight
rm -rf "$scratch"

total=$((${#passed[@]} + ${#failed[@]} + ${#skipped[@]}))
echo "[==========] $total Wine tests ran."
echo "[  PASSED  ] ${#passed[@]} tests."
if [ ${#skipped[@]} -gt 0 ]; then
    echo "[  SKIPPED ] ${#skipped[@]} tests, listed below:"
    printf '[  SKIPPED ] %s\n' "${skipped[@]}"
fi
if [ ${#failed[@]} -gt 0 ]; then
    echo "[  FAILED  ] ${#failed[@]} tests, listed below:"
    printf '[  FAILED  ] %s\n' "${failed[@]}"
fi
[ ${#failed[@]} -eq 0 ]
