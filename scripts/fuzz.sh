#!/bin/sh
# Builds the libFuzzer targets with clang into build/fuzz and runs each one
# for a bounded time on a scratch copy of its seed corpus (fuzz/corpus/<name>
# for <name>_fuzz, with the words of fuzz/<name>.dict where there is one), so
# that the checked-in seeds are never changed by a run, and
# prints each target's executions per second: per second of the run, and
# per second of the processor time it got (on a machine that other work
# shares, the second is what one core of its own would give).
# Usage: scripts/fuzz.sh [seconds per target, default 30]
# AEROTRACE_FUZZ_SEED=N runs every target from that seed instead of a new
# one each time.
set -eu

# Processor seconds (user and system) of the ended children in a file that
# the shell's own "times" wrote (run in this shell, not in a subshell).
children_seconds() {
    awk 'NR == 2 { split($1, u, /[ms]/); split($2, s, /[ms]/); print u[1] * 60 + u[2] + s[1] * 60 + s[2] }' "$1"
}

seconds=${1:-30}
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/fuzz"

cmake -S "$root" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang \
      -DAEROTRACE_FUZZERS=ON -DAEROTRACE_BENCHMARKS=OFF >/dev/null
status=0
for source in "$root"/fuzz/*_fuzz.cpp; do
    name=$(basename "$source" .cpp)
    cmake --build "$build" --target "$name" -j2 >/dev/null
    work=$(mktemp -d)
    seeds="$root/fuzz/corpus/${name%_fuzz}"
    mkdir "$work/corpus" "$work/artifacts"
    if [ -d "$seeds" ]; then cp "$seeds"/* "$work/corpus/" 2>/dev/null || true; fi
    dictionary="$root/fuzz/${name%_fuzz}.dict"
    set --
    if [ -f "$dictionary" ]; then set -- -dict="$dictionary"; fi
    # A fixed seed (the test command's brief run): the same inputs every run.
    if [ -n "${AEROTRACE_FUZZ_SEED:-}" ]; then set -- "$@" -seed="$AEROTRACE_FUZZ_SEED"; fi
    echo "== $name: ${seconds}s"
    times >"$work/before"
    if ! "$build/fuzz/$name" -max_total_time="$seconds" -artifact_prefix="$work/artifacts/" \
         -print_final_stats=1 "$@" "$work/corpus" >"$work/log" 2>&1; then
        tail -n 40 "$work/log"
        echo "== $name found a problem; inputs kept in $work/artifacts" >&2
        status=1
        continue
    fi
    times >"$work/after"
    tail -n 12 "$work/log"
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$work/log")
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log")
    per_cpu=$(awk -v runs="${runs:-0}" -v before="$(children_seconds "$work/before")" \
              -v after="$(children_seconds "$work/after")" \
              'BEGIN { cpu = after - before; if (cpu > 0) printf "%.0f", runs / cpu; else printf "?" }')
    echo "== $name: ${rate:-?} executions per second, $per_cpu per second of processor time"
    rm -rf "$work"
done
exit $status
