#!/usr/bin/env bash
# Builds everything (native, sanitizers, Windows) and runs every test: unit
# and scenario tests natively and under AddressSanitizer/UBSan, the scenario
# tests under Wine against the real Aerotrace.dll (natively where the kernel
# runs 32-bit programs, otherwise in an emulated Windows guest), the fuzzers
# for a bounded time, the layer check and the DLL check.
# Lists the skipped tests with their reasons and the failed ones by name,
# and ends with one line "N passed, N failed, N skipped" counting every
# test case.
#
# Where the Wine tests run is found out; nothing needs setting. Only to
# measure the guest, AEROTRACE_WINE_GUEST=1 runs them in it even where this
# kernel runs 32-bit programs.
set -uo pipefail
cd "$(dirname "$0")/.."
if [ "$(id -u)" = 0 ]; then scripts/setup.sh test || exit 1; fi

# Background jobs (each in a session of its own) that are still running when
# the run ends early are stopped with it.
jobs_to_stop=()
trap 'for job in "${jobs_to_stop[@]}"; do kill -TERM -- -"$job" 2>/dev/null; done' EXIT

# The guest's image does not depend on the build: where the Wine tests will
# run in the guest, it is built (or found in its cache) while the build runs.
mkdir -p build
image_log=build/guest-image.log
image_job=""
if ! scripts/wine-route.sh >/dev/null; then
    echo "== the Windows guest's image, beside the build (log: $image_log)"
    setsid scripts/vm/image.sh >"$image_log" 2>&1 </dev/null &
    image_job=$!
    jobs_to_stop+=("$image_job")
fi

# The Wine tests need only the Windows build, and in the guest they take
# longest of all: they run beside the other builds and tests.
scripts/build.sh win32 || { echo "0 passed, 1 failed, 0 skipped"; exit 1; }
echo "== the Windows build took $SECONDS s"
wine_log=build/wine-tests.log
wine_status_file=build/wine-tests.status
rm -f "$wine_status_file"
echo "== Wine tests (scripts/wine-tests.sh), beside the rest (log: $wine_log)"
setsid bash -c 'scripts/wine-tests.sh; status=$?; echo "== the Wine tests took $SECONDS s"; echo $status >"$1"' \
    wine-tests "$wine_status_file" >"$wine_log" 2>&1 </dev/null &
wine_job=$!
jobs_to_stop+=("$wine_job")

scripts/build.sh native asan || { echo "0 passed, 1 failed, 0 skipped"; exit 1; }
echo "== the build took $SECONDS s"

source scripts/test-counts.sh
passed=0
failed_names=()
skipped_names=()
log=$(mktemp)

# run DIR COMMAND...: runs a GoogleTest program in DIR and adds up its cases.
run() {
    local dir=$1 program=$2
    shift 2
    [ -x "$program" ] && program=$(realpath "$program")
    echo "== $program $* (in $dir)"
    mkdir -p "$dir"
    local start=$SECONDS
    (cd "$dir" && "$program" "$@") >"$log" 2>&1
    local status=$?
    echo "== took $((SECONDS - start)) s"
    grep -E '^\[  FAILED  \] |^\[==========\]|^\[  (PASSED|SKIPPED) \] [0-9]' "$log" | tail -n 12
    tally "$program" "$status" "$(basename "$dir") $(basename "$program")" < <(gtest_cases "$log") || tail -n 30 "$log"
}

# step NAME COMMAND...: a check that is not a GoogleTest program counts as one case.
step() {
    local name=$1
    shift
    echo "== $name"
    local start=$SECONDS
    if "$@"; then passed=$((passed + 1)); else echo "FAILED: $name"; failed_names+=("$name"); fi
    echo "== took $((SECONDS - start)) s"
}

step "the layers: no include upwards, no cycle between folders or files (scripts/check-layers.py)" \
    python3 scripts/check-layers.py
step "the layers' picture is the build's (scripts/layer-picture.sh --check)" scripts/layer-picture.sh --check
step "the DLL and the tool load on Windows XP SP3 to 11 (scripts/check-dll.sh)" scripts/check-dll.sh
step "the release package (scripts/package.sh, scripts/check-package.sh)" \
    bash -c 'scripts/package.sh && scripts/check-package.sh'
export AEROTRACE_SCENARIO_DIR="$PWD/build/scenario-runs"
run build/runs/native build/native/tests/unit_tests
run build/runs/native build/native/tests/scenario_tests
run build/runs/asan build/asan/tests/unit_tests
run build/runs/asan build/asan/tests/scenario_tests

# From a fixed seed, so that a brief run explores the same inputs each time
# and a failure is one the seed always meets; longer runs of scripts/fuzz.sh
# itself take a new seed each time.
fuzz_briefly() {
    if ! AEROTRACE_FUZZ_SEED=${AEROTRACE_FUZZ_SEED:-1} scripts/fuzz.sh "$1" >build/fuzz.log 2>&1; then
        tail -n 30 build/fuzz.log
        return 1
    fi
    grep -E '^== |^Done ' build/fuzz.log
}
step "fuzzers (${AEROTRACE_FUZZ_SECONDS:-20} s each)" fuzz_briefly "${AEROTRACE_FUZZ_SECONDS:-20}"

# The Wine tests: the scenario tests as the real 32-bit DLL and the demo
# flight, natively where the kernel runs 32-bit programs, otherwise in the
# Windows guest (built once, then cached). Every line of theirs is shown,
# and their cases count in the total like any others.
if [ -n "$image_job" ]; then
    # Should the image have failed, scripts/wine-tests.sh has tried once
    # more and failed with the reason.
    wait "$image_job" || echo "== the guest's image could not be built beside the build:"
    grep -E '^== guest|^The Windows guest' "$image_log"
fi
echo "== waiting for the Wine tests (log: $wine_log)"
wait_start=$SECONDS
wait "$wine_job"
jobs_to_stop=()
echo "== Wine tests (scripts/wine-tests.sh), waited for $((SECONDS - wait_start)) s:"
cat "$wine_log"
wine_status=$(cat "$wine_status_file" 2>/dev/null || echo "no status")
tally "the Wine tests (scripts/wine-tests.sh)" "$wine_status" Wine < <(wine_cases "$wine_log")

rm -f "$log"
echo "== the whole run took $SECONDS s"
if [ ${#skipped_names[@]} -gt 0 ]; then
    echo "== skipped, and why:"
    printf '   %s\n' "${skipped_names[@]}"
fi
if [ ${#failed_names[@]} -gt 0 ]; then
    echo "== failed:"
    printf '   %s\n' "${failed_names[@]}"
fi
echo "$passed passed, ${#failed_names[@]} failed, ${#skipped_names[@]} skipped"
[ ${#failed_names[@]} -eq 0 ]
