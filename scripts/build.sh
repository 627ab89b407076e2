#!/usr/bin/env bash
# Builds the targets named on the command line (native, asan, win32; all by
# default) into build/<target>. The win32 build leaves dist/Aerotrace.dll.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs="${AEROTRACE_JOBS:-2}"
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(native asan win32)

for target in "${targets[@]}"; do
    case "$target" in
    native) cmake -S . -B build/native -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null ;;
    asan)   cmake -S . -B build/asan -DCMAKE_BUILD_TYPE=Debug -DAEROTRACE_SANITIZE=ON >/dev/null ;;
    win32)  cmake -S . -B build/win32 -DCMAKE_BUILD_TYPE=RelWithDebInfo \
                  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null ;;
    *) echo "unknown target: $target" >&2; exit 2 ;;
    esac
    echo "== building $target"
    cmake --build "build/$target" -j "$jobs"
done
