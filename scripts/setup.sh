#!/usr/bin/env bash
# Installs what a command of this repository needs on a Debian machine (run
# as root). Safe to run again: it installs only what is missing.
#
#   scripts/setup.sh demo   what scripts/demo.sh needs: the native and the
#                           Windows builds and the release package
#   scripts/setup.sh test   (the default) what scripts/test.sh needs besides:
#                           the tests' own programs, the fuzzers' compiler,
#                           and Wine or, where Wine cannot run here, what
#                           builds and boots the emulated Windows guest
#
# The Wine tests run the 32-bit module under Wine on this machine where its
# kernel runs 32-bit programs and wine32 installs; otherwise in the Windows
# guest (scripts/vm), with one line saying why. AEROTRACE_WINE_GUEST=1 asks
# for the guest even where Wine could run here.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/apt-update.sh"
what=${1:-test}
case "$what" in demo | test) ;; *) echo "usage: scripts/setup.sh [demo|test]" >&2; exit 2 ;; esac

packages=(cmake make g++ pkg-config googletest libgtest-dev libbenchmark-dev libpugixml-dev dpkg-dev
          gcc-mingw-w64-i686-win32 g++-mingw-w64-i686-win32 binutils-mingw-w64-i686 mingw-w64-i686-dev
          pandoc zip unzip)
if [ "$what" = test ]; then
    packages+=(clang libclang-rt-14-dev python3 xvfb xauth x11-apps x11-utils imagemagick gpsbabel file chromium)
fi
guest_packages=(mmdebstrap qemu-system-x86 e2fsprogs)

updated=0
# install PACKAGE...: installs those of the packages that are missing.
# Fails with apt's own reasons when it cannot.
install() {
    local missing=() package
    for package in "$@"; do
        dpkg -s "$package" >/dev/null 2>&1 || missing+=("$package")
    done
    [ ${#missing[@]} -gt 0 ] || return 0
    echo "Installing: ${missing[*]}"
    if [ "$updated" = 0 ]; then apt_update -qq; updated=1; fi
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" \
        >"$log" 2>&1 || { grep -E '^E:|^ ' "$log" | tail -n 12 >&2; return 1; }
}
log=$(mktemp)
trap 'rm -f "$log"' EXIT

install "${packages[@]}" || { echo "setup: the packages above could not be installed" >&2; exit 1; }

if [ "$what" = test ]; then
    why=""
    if [ "${AEROTRACE_WINE_GUEST:-0}" = 1 ]; then
        why="AEROTRACE_WINE_GUEST=1 asks for it"
    elif ! "$here/runs-32bit.sh"; then
        why="this machine's kernel runs no 32-bit programs"
    elif ! { dpkg -s wine >/dev/null 2>&1 && dpkg -s wine32:i386 >/dev/null 2>&1; }; then
        # wine32's i386 libraries must be the very versions of the amd64 ones
        # installed, which an out-of-step i386 index may not offer.
        added_i386=0
        if ! dpkg --print-foreign-architectures | grep -qx i386; then
            dpkg --add-architecture i386
            added_i386=1
            updated=0
        fi
        if ! install wine wine32:i386 2>"$log.why"; then
            why="wine32 cannot be installed here today ($(grep -E '^E:' "$log.why" | tail -n 1 | sed 's/^E: //'))"
            [ "$added_i386" = 1 ] && dpkg --remove-architecture i386 2>/dev/null || true
        fi
        rm -f "$log.why"
    fi
    if [ -n "$why" ]; then
        echo "== the Wine tests will run in the emulated Windows guest: $why"
        install "${guest_packages[@]}" || { echo "setup: the guest's tools could not be installed" >&2; exit 1; }
    fi
fi

# The Windows build compiles the tool's XML parser from Debian's source package.
"$here/pugixml-source.sh"
