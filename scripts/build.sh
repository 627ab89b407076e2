#!/usr/bin/env bash
# Builds the targets named on the command line (native, asan, win32; all by
# default) into build/<target>. The win32 build leaves dist/Aerotrace.dll.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs="${AEROTRACE_JOBS:-2}"
targets=("$@")
# Reuse earlier compilations when ccache is on the machine.
launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
[ ${#targets[@]} -gt 0 ] || targets=(native asan win32)

for target in "${targets[@]}"; do
    case "$target" in
    native) cmake -S . -B build/native "${launcher[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null ;;
    asan)   cmake -S . -B build/asan "${launcher[@]}" -DCMAKE_BUILD_TYPE=Debug -DAEROTRACE_SANITIZE=ON >/dev/null ;;
    win32)  scripts/pugixml-source.sh
            # (The toolchain counts at the first configure only; later ones
            # are told not to warn that it went unused.)
            cmake -S . -B build/win32 "${launcher[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo --no-warn-unused-cli \
                  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null ;;
    *) echo "unknown target: $target" >&2; exit 2 ;;
    esac
    echo "== building $target"
    cmake --build "build/$target" -j "$jobs"
done
