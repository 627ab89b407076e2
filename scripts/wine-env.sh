#!/usr/bin/env bash
# Sourced by the scripts that run Windows programs on this machine: where
# its kernel runs 32-bit programs (scripts/runs-32bit.sh), starts one Xvfb
# display and one Wine prefix with a persistent wineserver for the whole run
# (Wine must run 32-bit programs: the module is a 32-bit DLL). Sets
# AEROTRACE_WINE=1 when Wine works here, else 0 with the reason in
# AEROTRACE_WINE_WHY. Where the kernel runs no 32-bit programs, the Windows
# guest runs them instead (scripts/wine-tests.sh, scripts/vm/run.sh).

# A crashing program must fail at once, not wait in Wine's debugger.
export WINEDEBUG=-all
export WINEDLLOVERRIDES="winedbg.exe=d;mscoree=d;mshtml=d"
export WINEARCH=win32
# Without a locale Wine gives programs a C runtime whose multibyte
# conversions crash; glibc has C.UTF-8 built in.
[ -n "${LANG:-}" ] || export LANG=C.UTF-8
export WINEPREFIX="${WINEPREFIX:-$PWD/build/wineprefix}"
export DISPLAY="${AEROTRACE_DISPLAY:-:87}"
AEROTRACE_WINE=0
AEROTRACE_WINE_WHY=""

if ! "$(dirname "${BASH_SOURCE[0]}")/runs-32bit.sh"; then
    AEROTRACE_WINE_WHY="this machine's kernel runs no 32-bit programs (the Windows guest can: scripts/vm/run.sh)"
elif ! command -v wine >/dev/null; then
    AEROTRACE_WINE_WHY="wine is not installed (scripts/setup.sh installs it)"
else
    if ! xdpyinfo -display "$DISPLAY" >/dev/null 2>&1; then
        Xvfb "$DISPLAY" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
        for _ in $(seq 50); do xdpyinfo -display "$DISPLAY" >/dev/null 2>&1 && break; sleep 0.1; done
    fi
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "Preparing the Wine prefix in $WINEPREFIX (once)..."
        timeout 600 wineboot --init >/dev/null 2>&1 || true
        timeout 300 wineserver -w || true
    fi
    wineserver -p >/dev/null 2>&1 || true
    if timeout 300 wine cmd /c exit 0 >/dev/null 2>&1; then
        AEROTRACE_WINE=1
    else
        AEROTRACE_WINE_WHY="wine does not start programs on this machine"
    fi
fi
export AEROTRACE_WINE AEROTRACE_WINE_WHY
