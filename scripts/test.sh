#!/usr/bin/env bash
# Builds everything (native, sanitizers, Windows) and runs every test: unit
# and scenario tests natively and under AddressSanitizer/UBSan, the scenario
# tests under Wine against the real Aerotrace.dll where this machine can run
# 32-bit Windows programs, the fuzzers for a bounded time, and the DLL check.
# Ends with one line "N passed, N failed" counting every test case.
set -uo pipefail
cd "$(dirname "$0")/.."
if [ "$(id -u)" = 0 ]; then scripts/setup.sh || exit 1; fi
scripts/build.sh native asan win32 || { echo "0 passed, 1 failed"; exit 1; }

passed=0
failed=0
log=$(mktemp)

# run DIR COMMAND...: runs a GoogleTest program in DIR and adds up its cases.
run() {
    local dir=$1 program=$2
    shift 2
    [ -x "$program" ] && program=$(realpath "$program")
    echo "== $program $* (in $dir)"
    mkdir -p "$dir"
    (cd "$dir" && "$program" "$@") >"$log" 2>&1
    local status=$?
    grep -E '^\[  (FAILED|PASSED) |^\[==========\]|^\[  SKIPPED ' "$log" | tail -n 8
    local ok bad
    ok=$(grep -oE '^\[  PASSED  \] [0-9]+' "$log" | awk '{s += $NF} END {print s + 0}')
    bad=$(grep -oE '^\[  FAILED  \] [0-9]+ test' "$log" | awk '{s += $(NF-1)} END {print s + 0}')
    if [ $status -ne 0 ] && [ "$bad" -eq 0 ]; then
        tail -n 30 "$log"
        bad=1
    fi
    passed=$((passed + ok))
    failed=$((failed + bad))
}

# step NAME COMMAND...: a check that is not a GoogleTest program counts as one case.
step() {
    local name=$1
    shift
    echo "== $name"
    if "$@"; then passed=$((passed + 1)); else echo "FAILED: $name"; failed=$((failed + 1)); fi
}

step "the DLL exports and imports" scripts/check-dll.sh
export AEROTRACE_SCENARIO_DIR="$PWD/build/scenario-runs"
run build/runs/native build/native/tests/unit_tests --gtest_brief=1
run build/runs/native build/native/tests/scenario_tests --gtest_brief=1
run build/runs/asan build/asan/tests/unit_tests --gtest_brief=1
run build/runs/asan build/asan/tests/scenario_tests --gtest_brief=1

source scripts/wine-env.sh
if [ "$AEROTRACE_WINE" = 1 ]; then
    run build/runs/wine wine "$PWD/build/win32/tests/scenario_tests.exe" --gtest_brief=1
else
    echo "== Wine scenario tests skipped: $AEROTRACE_WINE_WHY"
fi

fuzz_briefly() {
    if ! scripts/fuzz.sh "$1" >build/fuzz.log 2>&1; then
        tail -n 30 build/fuzz.log
        return 1
    fi
    grep -E '^== |^Done ' build/fuzz.log
}
step "fuzzers (${AEROTRACE_FUZZ_SECONDS:-20} s each)" fuzz_briefly "${AEROTRACE_FUZZ_SECONDS:-20}"

rm -f "$log"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
