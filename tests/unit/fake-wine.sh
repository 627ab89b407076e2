#!/usr/bin/env bash
# A stand-in for "wine" and "wineserver" (by the name it is called with), for
# the tests of scripts/wine-suite.sh. Every call is appended to $FAKE_WINE_LOG.
# The "program" that wine runs is a text file, one test a line:
#
#   Suite.Name pass|fail|skip|hang|crash|unended|silent|vanish
#
# ("unended": passes after printing text without ending its line; "silent":
# prints no result line, so the next test begins without one; "vanish": is
# listed but never runs, and the program ends as if all had)
# and optionally lines "!start crash" (the program dies before its first
# test) or "!exit N" (it exits with N after its tests, all passing). It prints
# what a GoogleTest program prints, with Windows line endings, and flushes
# after each line, as GoogleTest does.
echo "$(basename "$0") $*" >>"$FAKE_WINE_LOG"
[ "$(basename "$0")" = wineserver ] && exit 0
[ "$1" = reg ] && exit 0
program=$1
shift
list=0
filter='*'
for argument; do
    case "$argument" in
    --gtest_list_tests) list=1 ;;
    --gtest_filter=*) filter=${argument#--gtest_filter=} ;;
    esac
done
say() { printf '%s\r\n' "$*"; }

names=()
behaviours=()
start=""
final_exit=0
while read -r name behaviour; do
    case "$name" in
    '!start') start=$behaviour ;;
    '!exit') final_exit=$behaviour ;;
    *)
        if [ "$filter" = '*' ] || [[ ":$filter:" == *":$name:"* ]]; then
            names+=("$name")
            behaviours+=("$behaviour")
        fi
        ;;
    esac
done <"$program"

if [ $list = 1 ]; then
    suite=""
    for name in "${names[@]}"; do
        [ "${name%%.*}" = "$suite" ] || { suite=${name%%.*}; say "$suite."; }
        say "  ${name#*.}"
    done
    exit 0
fi

say "Running main() from gtest_main.cc"
[ "$filter" = '*' ] || say "Note: Google Test filter = $filter"
[ "$start" = crash ] && { echo "wine: Unhandled page fault on read access" >&2; exit 5; }
say "[==========] Running ${#names[@]} tests from 1 test suite."
failures=()
for i in "${!names[@]}"; do
    name=${names[$i]}
    [ "${behaviours[$i]}" = vanish ] && continue
    say "[ RUN      ] $name"
    case "${behaviours[$i]}" in
    pass) say "[       OK ] $name (3 ms)" ;;
    unended) printf 'no end of line'; say "[       OK ] $name (3 ms)" ;;
    silent) say "the test ends here" ;;
    skip) say "scenario.cpp:7: Skipped"; say "no such processor here"; say "[  SKIPPED ] $name (0 ms)" ;;
    fail)
        say "scenario.cpp:12: Failure"
        say "Expected equality of these values: $name"
        say "[  FAILED  ] $name, where GetParam() = 4 (5 ms)"
        failures+=("$name")
        ;;
    hang) say "the test waits for ever"; exec sleep 600 ;;
    crash) say "the test crashes"; echo "wine: Unhandled page fault on execute access" >&2; exit 5 ;;
    esac
done
say "[==========] ${#names[@]} tests from 1 test suite ran. (9 ms total)"
say "[  PASSED  ] $((${#names[@]} - ${#failures[@]})) tests."
if [ ${#failures[@]} -gt 0 ]; then
    say "[  FAILED  ] ${#failures[@]} tests, listed below:"
    for name in "${failures[@]}"; do say "[  FAILED  ] $name"; done
    exit 1
fi
exit "$final_exit"
