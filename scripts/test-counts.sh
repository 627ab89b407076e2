# Sourced by scripts/test.sh: reading what the test programs say of each of
# their cases, and adding them up by name. Uses the caller's "passed" (a
# count) and "failed_names" and "skipped_names" (arrays).

# gtest_cases LOG: each case of a GoogleTest program's full output, one a
# line: "passed NAME", "failed NAME" or "skipped NAME: REASON". A test that
# began and never ended (the program crashed in it) is a failure.
gtest_cases() {
    awk '
        function end(outcome) { print outcome " " name (outcome == "skipped" ? ": " (why == "" ? "no reason given" : why) : ""); name = "" }
        /^\[ RUN      \] / { name = substr($0, 14); why = ""; skipping = 0; next }
        name == "" { next }
        /^\[       OK \] / { end("passed"); next }
        /^\[  FAILED  \] / { end("failed"); next }
        /^\[  SKIPPED \] / { end("skipped"); next }
        /: Skipped$/ { skipping = 1; next }
        /^Google Test trace:/ { skipping = 0 }
        skipping { why = why (why == "" ? "" : " ") $0 }
        END { if (name != "") print "failed " name " (the program ended during it)" }' "$1"
}

# wine_cases LOG: the same from the Wine tests' closing summary (its
# "[  PASSED  ] N tests." line and the lists of skipped and failed cases).
wine_cases() {
    awk '
        /^\[  PASSED  \] [0-9]+ tests?\.$/ { summary = 1; count = $4; delete lines; n = 0; next }
        summary && /^\[  (FAILED  |SKIPPED )\] [0-9]+ tests?, listed below:$/ { next }
        summary && /^\[  FAILED  \] / { lines[n++] = "failed " substr($0, 14); next }
        summary && /^\[  SKIPPED \] / { lines[n++] = "skipped " substr($0, 14); next }
        END { for (i = 0; i < count; i++) print "passed"; for (i = 0; i < n; i++) print lines[i] }' "$1"
}

# tally PROGRAM STATUS [LABEL]: adds up the cases read from standard input,
# their names after LABEL ("asan unit_tests: ..."), as the same test runs in
# more than one build. A program that failed without naming a failed case is
# one failure itself.
tally() {
    local program=$1 status=$2 label=${3:+$3: } outcome name found=0 bad=0
    while IFS=' ' read -r outcome name; do
        found=1
        name=$label$name
        case "$outcome" in
        passed) passed=$((passed + 1)) ;;
        failed) failed_names+=("$name"); bad=1 ;;
        skipped) skipped_names+=("$name") ;;
        esac
    done
    if [ "$status" != 0 ] && [ "$bad" = 0 ]; then
        local when=" before any test ended"
        [ "$found" = 1 ] && when=" after its tests"
        failed_names+=("$program (exit status $status$when)")
        return 1
    fi
}
