#!/bin/sh
# Builds the libFuzzer targets with clang into build/fuzz and runs each one
# for a bounded time on a scratch copy of its seed corpus (fuzz/corpus/<name>
# for <name>_fuzz), so the checked-in seeds are never changed by a run, and
# prints each target's executions per second.
# Usage: scripts/fuzz.sh [seconds per target, default 30]
set -eu

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
    echo "== $name: ${seconds}s"
    if ! "$build/fuzz/$name" -max_total_time="$seconds" -artifact_prefix="$work/artifacts/" \
         -print_final_stats=1 "$work/corpus" >"$work/log" 2>&1; then
        tail -n 40 "$work/log"
        echo "== $name found a problem; inputs kept in $work/artifacts" >&2
        status=1
        continue
    fi
    tail -n 12 "$work/log"
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$work/log")
    echo "== $name: ${rate:-?} executions per second"
    rm -rf "$work"
done
exit $status
