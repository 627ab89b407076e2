#!/usr/bin/env bash
# The Wine tests themselves, run where Wine runs 32-bit programs (inside the
# Windows guest, or on this machine when its kernel can): the i686 scenario
# tests loading the real dist/Aerotrace.dll, simhost.exe flying the demo as
# one more case and the shipped aerotrace.exe on its recordings as another. Expects Wine to be set up already (scripts/wine-tests.sh
# or the guest's init do that).
#
#   scripts/wine-suite.sh [--filter PATTERN] [--timeout SECONDS] [--budget SECONDS] [--no-demo]
#                         [--program FILE]
#
# PATTERN is a GoogleTest filter (default "*", e.g. "MenuBar.*:Lifecycle.*").
# The scenario tests run in as few processes as they can: one process runs
# the whole filter while a watchdog reads its output as it comes. A test
# still running after SECONDS (default 60) is killed and fails, named
# "timed out after SECONDS s"; a test during which the program ends fails
# with the program's exit status; either way Wine is reset and a new process
# runs the tests that had not started. Each test passes or fails by
# GoogleTest's own line for it. The budget (default 2400 s) bounds the whole
# run: the tests it leaves no time for fail as "not run". --program runs
# another GoogleTest program instead of the scenario tests.
#
# Prints one line per case as it ends (a failure or a skip followed by what
# the test said, indented) and closes with a GoogleTest-style summary
# ("[  PASSED  ] N tests." ...), so the results count like any GoogleTest
# program's. Exits 0 when no case failed.
set -uo pipefail
cd "$(dirname "$0")/.."
filter="*"
per_test=60
budget=2400
demo=1
built_tests=$PWD/build/win32/tests/scenario_tests.exe
built_simhost=$PWD/build/win32/simhost/simhost.exe
dll=$PWD/dist/Aerotrace.dll
tool=$PWD/dist/aerotrace.exe
while [ $# -gt 0 ]; do
    case "$1" in
    --filter) filter=$2; shift 2 ;;
    --timeout) per_test=$2; shift 2 ;;
    --budget) budget=$2; shift 2 ;;
    --no-demo) demo=0; shift ;;
    --program) built_tests=$(realpath "$2"); dll=""; shift 2 ;;
    *) echo "usage: scripts/wine-suite.sh [--filter PATTERN] [--timeout SECONDS] [--budget SECONDS] [--no-demo] [--program FILE]" >&2; exit 2 ;;
    esac
done

scratch=$(mktemp -d "${TMPDIR:-/tmp}/aerotrace-wine.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
# The programs run from copies on a local disk: in the guest, Wine loading
# the large test program straight from the shared folder (9p) finds pages of
# zeros in its code and crashes.
tests_exe=$scratch/$(basename "$built_tests")
simhost_exe=$scratch/simhost.exe
for program in "$built_tests" "$built_simhost"; do
    [ -f "$program" ] && cp "$program" "$scratch/"
done
deadline=$((SECONDS + budget))
passed=()
failed=()
skipped=()

# indent LINES...: what a case said, indented so that it is not counted again.
indent() {
    local line shown=0
    for line in "$@"; do
        [ $shown -ge 25 ] && { echo "    | ..."; break; }
        echo "    | $line"
        shown=$((shown + 1))
    done
}

# skip_reason LINES...: what a skipped test gave as its reason (GoogleTest
# prints it after a line ending in ": Skipped").
skip_reason() {
    local line why="" after=0
    for line in "$@"; do
        if [ $after = 1 ]; then why+="${why:+ }$line"; fi
        [[ "$line" == *": Skipped" ]] && after=1
    done
    echo "${why:-no reason given}"
}

# result NAME OUTCOME TIME [REASON] [LINES...]: records one case and says how it went.
declare -A ended_cases=()
result() {
    local name=$1 outcome=$2 took=$3 reason=${4:-}
    shift 4 2>/dev/null || shift $#
    ended_cases[$name]=1
    case "$outcome" in
    ok) passed+=("$name"); echo "[       OK ] $name ($took)" ;;
    skipped)
        skipped+=("$name: $(skip_reason "$@")")
        echo "[  SKIPPED ] $name ($took)"
        [ $# -gt 0 ] && indent "$@"
        ;;
    *)
        failed+=("$name${reason:+ ($reason)}")
        echo "[  FAILED  ] $name (${reason:+$reason, }$took)"
        [ $# -gt 0 ] && indent "$@"
        ;;
    esac
}

# reset_wine: nothing that an interrupted process left behind (its windows,
# threads, the services it started) may meet the next one.
reset_wine() {
    wineserver -k 2>/dev/null
    wineserver -w 2>/dev/null
    wineserver -p 2>/dev/null
}

# A batch: one process of the test program over one filter, watched.
declare -A started=()
current=""        # the test running now, "" between tests
current_since=0
current_lines=()  # what it has printed so far
test_failed=0     # a test of this batch failed by GoogleTest's line
summary=0         # GoogleTest's closing line was seen
batch_count=0     # the tests this batch started
launched=0        # when this batch's process started

# GoogleTest's own lines, which begin with one of these.
markers=("[ RUN      ] " "[       OK ] " "[  FAILED  ] " "[  SKIPPED ] " "[==========] ")

# on_line LINE: follows the program's output one line at a time.
on_line() {
    local line=$1 rest name marker
    # A test that printed without ending its line, or Wine writing to
    # standard error meanwhile, puts text before GoogleTest's line: the text
    # belongs to the test, the rest is GoogleTest's line.
    for marker in "${markers[@]}"; do
        if [[ "$line" == ?*"$marker"* ]]; then
            on_line "${line%%"$marker"*}"
            on_line "$marker${line#*"$marker"}"
            return
        fi
    done
    rest=${line:13}
    name=${rest%%, where *}
    name=${name%% (*}
    case "$line" in
    "[ RUN      ] "*)
        # A test that began without its predecessor's result line: that one
        # ended in a way GoogleTest did not report, which is no pass.
        if [ -n "$current" ]; then
            test_failed=1
            result "$current" failed "$((SECONDS - current_since)) s" \
                "it ended without GoogleTest's result line" "${current_lines[@]}"
        fi
        current=$rest
        current_since=$SECONDS
        current_lines=()
        started[$rest]=1
        batch_count=$((batch_count + 1))
        [ "$batch_count" = 1 ] && echo "== the program started its first test after $((SECONDS - launched)) s"
        progress=$SECONDS
        ;;
    "[       OK ] "* | "[  FAILED  ] "* | "[  SKIPPED ] "*)
        if [ -n "$current" ] && [ "$name" = "$current" ]; then
            local took=${rest##* (}
            took=${took%)}
            case "$line" in
            "[       OK ]"*) result "$name" ok "$took" ;;
            "[  SKIPPED ]"*) result "$name" skipped "$took" "" "${current_lines[@]}" ;;
            *) test_failed=1; result "$name" failed "$took" "" "${current_lines[@]}" ;;
            esac
            current=""
            progress=$SECONDS
        fi
        ;;
    "[==========] "*" ran."*) summary=1; progress=$SECONDS ;;
    *) [ -n "$current" ] && [ ${#current_lines[@]} -lt 200 ] && current_lines+=("$line") ;;
    esac
}

# run_batch FILTER: runs the test program once over FILTER, reading its
# output as it comes. Sets "interruption" ("" when the program ended by
# itself) and "status" (its exit status).
run_batch() {
    local filter=$1 log=$scratch/batch.log fd line partial="" alive pid
    local startup_limit=$((per_test > 120 ? per_test : 120))
    : >"$log"
    (cd "$scratch/runs" && exec wine "$tests_exe" "--gtest_filter=$filter" </dev/null >"$log" 2>&1) &
    pid=$!
    exec {fd}<"$log"
    current=""
    test_failed=0
    summary=0
    interruption=""
    progress=$SECONDS
    batch_count=0
    launched=$SECONDS
    while :; do
        alive=1
        kill -0 "$pid" 2>/dev/null || alive=0
        # Whole lines only: a line still being written is kept for the next read.
        while IFS= read -r line <&"$fd"; do
            line=$partial$line
            partial=""
            line=${line%$'\r'}
            on_line "$line"
        done
        partial+=$line
        [ $alive = 0 ] && break
        if [ -z "$interruption" ]; then
            if [ -n "$current" ] && [ $((SECONDS - current_since)) -ge "$per_test" ]; then
                interruption="timed out after $per_test s"
            elif [ -z "$current" ] && [ "$batch_count" = 0 ] && [ $((SECONDS - progress)) -ge "$startup_limit" ]; then
                interruption="no test started within $startup_limit s"
            elif [ -z "$current" ] && [ "$batch_count" -gt 0 ] && [ $((SECONDS - progress)) -ge "$per_test" ]; then
                interruption="nothing happened for $per_test s after the last test"
            elif [ "$SECONDS" -ge "$deadline" ]; then
                interruption="stopped: the run's $budget s were used up"
            fi
            [ -n "$interruption" ] && kill -KILL "$pid" 2>/dev/null
        fi
        sleep 0.5
    done
    { wait "$pid"; } 2>/dev/null
    status=$?
    [ -n "$partial" ] && on_line "${partial%$'\r'}"
    exec {fd}<&-
    echo "== one process started $batch_count tests and ran for $((SECONDS - launched)) s"
}

# list_tests: every test of the filter, in the order the program runs them.
list_tests() {
    local list=$scratch/list
    timeout --kill-after=5 120 wine "$tests_exe" --gtest_list_tests "--gtest_filter=$filter" >"$list" 2>&1 </dev/null ||
        return 1
    # "Suite." lines, then "  Test" lines (with "  # GetParam() = ..." after
    # parameterised ones); disabled tests do not run.
    mapfile -t names < <(tr -d '\r' <"$list" | awk '/^[^ ]/ { suite = $1 } /^  [^ ]/ { print suite $1 }' |
        grep -v -e '^DISABLED_' -e '\.DISABLED_')
}

scenario_tests() {
    local program_name names=() pending=() name batch_filter=$filter ended
    program_name=$(basename "$built_tests")
    if [ ! -f "$tests_exe" ] || { [ -n "$dll" ] && [ ! -f "$dll" ]; }; then
        result "$program_name" failed "0 s" "$built_tests${dll:+ or $dll} is missing: run scripts/build.sh win32"
        return
    fi
    mkdir -p "$scratch/runs"
    # What the program holds: a run that ends with fewer cases than these
    # has lost some, and fails.
    if ! list_tests; then
        result "$program_name --gtest_list_tests" failed "0 s" "it did not list its tests"
        return
    fi
    if [ ${#names[@]} = 0 ]; then
        result "$program_name" failed "0 s" "no test matches the filter \"$filter\""
        return
    fi
    echo "== $program_name under Wine: ${#names[@]} tests, $per_test s at most for each"
    while :; do
        run_batch "$batch_filter"
        if [ -n "$current" ]; then
            # The test that was running when the program was stopped or ended.
            local why=$interruption
            [ -n "$why" ] || why="the program ended during the test (exit status $status)"
            result "$current" failed "$((SECONDS - current_since)) s" "$why" "${current_lines[@]}"
        elif [ -n "$interruption" ]; then
            result "$program_name" failed "0 s" "$interruption"
        elif [ "$summary" = 1 ] && [ "$status" != 0 ] && [ "$test_failed" = 0 ]; then
            result "$program_name" failed "0 s" "exit status $status after its tests passed"
        elif [ "$summary" = 0 ] && [ "$batch_count" -gt 0 ]; then
            result "$program_name" failed "0 s" "the program ended between two tests (exit status $status)"
        fi
        if [ -z "$interruption" ] && [ -z "$current" ] && [ "$summary" = 1 ]; then
            break
        fi
        reset_wine
        pending=()
        for name in "${names[@]}"; do
            [ -n "${started[$name]:-}" ] || pending+=("$name")
        done
        [ ${#pending[@]} -gt 0 ] || break
        if [ "$batch_count" = 0 ] || [ "$SECONDS" -ge "$deadline" ]; then
            # The program started no test at all, or no time is left: the
            # rest cannot run.
            local why=${interruption:-the program ended before its first test (exit status $status)}
            [ "$SECONDS" -ge "$deadline" ] && why="the run's $budget s were used up"
            for name in "${pending[@]}"; do result "$name" failed "0 s" "not run: $why"; done
            return
        fi
        echo "== a new process for the ${#pending[@]} tests that had not started"
        batch_filter=$(IFS=:; echo "${pending[*]}")
    done
    # Every listed test must have ended one way or another.
    ended=0
    for name in "${names[@]}"; do [ -n "${ended_cases[$name]:-}" ] && ended=$((ended + 1)); done
    if [ "$ended" -lt ${#names[@]} ]; then
        result "$program_name" failed "0 s" "$ended of its ${#names[@]} listed tests ran"
    fi
}

# bounded SECONDS LOG COMMAND...: runs a Windows program for at most SECONDS
# (and never past the run's budget). Sets "outcome" (ok, timeout, status N).
bounded() {
    local limit=$1 log=$2 left=$((deadline - SECONDS))
    shift 2
    [ "$left" -lt "$limit" ] && limit=$left
    [ "$limit" -gt 0 ] || limit=1
    timeout --kill-after=5 "$limit" "$@" >"$log" 2>&1 </dev/null
    local status=$?
    case $status in
    0) outcome=ok ;;
    124 | 137) outcome="timed out after $limit s"; reset_wine ;;
    *) outcome="exit status $status" ;;
    esac
}

# log_lines LOG: what a program printed, without carriage returns or blank lines.
log_lines() { tr -d '\r' <"$1" | grep -v '^$'; }

# The stand-in simulator loads the real DLL, records the scripted flight
# through the module menu and saves it without a dialog.
demo_flight() {
    local name="simhost.exe demo flight" folder=$scratch/demo start=$SECONDS outcome lines=()
    if [ ! -f "$simhost_exe" ]; then
        result "$name" failed "0 s" "$built_simhost is missing: run scripts/build.sh win32"
        return
    fi
    mkdir -p "$folder/Modules"
    bounded 600 "$scratch/demo.log" wine "$simhost_exe" --dll "$dll" --dir "$folder"
    local took="$((SECONDS - start)) s"
    mapfile -t lines < <(log_lines "$scratch/demo.log")
    if [ "$outcome" != ok ]; then
        result "$name" failed "$took" "$outcome" "${lines[@]}"
    elif ! ls "$folder"/Recordings/*.atr >/dev/null 2>&1; then
        result "$name" failed "$took" "no recording saved" "${lines[@]}"
    else
        result "$name" ok "$took"
        printf '%s\n' "${lines[@]}" | grep -E '^(Status line|Flew|Module shut down)' | sed 's/^/    | /'
    fi
}

# The shipped aerotrace.exe on the demo's recordings: their landings (the
# scripted descent rate, measured within 5 ft/min on what the DLL recorded), a
# recording given alone (as a drop on the program gives it) written as its
# report and opened, the folder as its logbook. The guest has no browser:
# opening may fail, and the program says where the page is.
tool_on_demo() {
    local name="aerotrace.exe on the demo flight" folder=$scratch/demo start=$SECONDS outcome lines=()
    local recording
    recording=$(ls "$folder"/Recordings/*.atr 2>/dev/null | head -n 1)
    if [ -z "$recording" ]; then
        result "$name" failed "0 s" "the demo flight saved no recording"
        return
    fi
    cp "$tool" "$scratch/aerotrace.exe"
    local problem=""
    bounded 120 "$scratch/tool.log" wine "$scratch/aerotrace.exe" info --landings "$recording"
    # The script descends 870 m in 160 s to its touchdown: -1070.3 ft/min.
    [ "$outcome" = ok ] && ! tr -d '\r' <"$scratch/tool.log" | grep -Eq '^    landing 1 .* -10(6[5-9]|7[0-5]) ft/min' &&
        outcome="no landing at the scripted -1070 ft/min listed"
    [ "$outcome" = ok ] || problem="info --landings: $outcome"
    if [ -z "$problem" ]; then
        bounded 120 "$scratch/tool.log" wine "$scratch/aerotrace.exe" "$recording"
        [ "$outcome" = ok ] && ! grep -qs 'figures landings' "${recording%.atr}.html" && outcome="no report with landings"
        [ "$outcome" = ok ] || problem="the recording alone: $outcome"
    fi
    if [ -z "$problem" ]; then
        bounded 120 "$scratch/tool.log" wine "$scratch/aerotrace.exe" "$folder/Recordings"
        [ "$outcome" = ok ] && ! grep -qs 'class="flights"' "$folder/Recordings/logbook.html" && outcome="no logbook"
        [ "$outcome" = ok ] || problem="the folder alone: $outcome"
    fi
    mapfile -t lines < <(log_lines "$scratch/tool.log")
    if [ -n "$problem" ]; then
        result "$name" failed "$((SECONDS - start)) s" "$problem" "${lines[@]}"
    else
        result "$name" ok "$((SECONDS - start)) s"
    fi
}

# No window manager runs on the virtual display: unless told the windows are
# not managed, Wine waits two seconds for one each time a window is hidden
# (every message box, dialog and main window of a test). The guest's prefix
# is made with this; any other prefix gets it on its first run.
if ! grep -qs '^"Managed"="N"' "${WINEPREFIX:-$HOME/.wine}/user.reg"; then
    bounded 120 "$scratch/unmanaged.log" wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f
fi
scenario_tests
if [ "$demo" = 1 ]; then
    demo_flight
    tool_on_demo
fi

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
