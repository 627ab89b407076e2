#!/usr/bin/env bash
# Sourced by the scripts that run Windows programs on this machine: where
# its kernel runs 32-bit programs (scripts/runs-32bit.sh), starts one Xvfb
# display and one Wine prefix with a persistent wineserver for the whole run
# (Wine must run 32-bit programs: the module is a 32-bit DLL). The display is
# the run's own, on the first free number, and ends with the process that
# sourced this file (an exec keeps it), as does the wineserver: the tests
# click, drag and activate windows, and the windows of another run on the
# same display would take the focus from them. AEROTRACE_DISPLAY names a
# display to use instead (started if nothing answers there). Sets
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
AEROTRACE_WINE=0
AEROTRACE_WINE_WHY=""

if ! "$(dirname "${BASH_SOURCE[0]}")/runs-32bit.sh"; then
    AEROTRACE_WINE_WHY="this machine's kernel runs no 32-bit programs (the Windows guest can: scripts/vm/run.sh)"
elif ! command -v wine >/dev/null; then
    AEROTRACE_WINE_WHY="wine is not installed (scripts/setup.sh installs it)"
else
    if [ -n "${AEROTRACE_DISPLAY:-}" ]; then
        export DISPLAY="$AEROTRACE_DISPLAY"
        if ! xdpyinfo -display "$DISPLAY" >/dev/null 2>&1; then
            setsid Xvfb "$DISPLAY" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
            for _ in $(seq 50); do xdpyinfo -display "$DISPLAY" >/dev/null 2>&1 && break; sleep 0.1; done
        fi
    else
        # Xvfb takes the first number free on this machine (even one another
        # root file system's display holds) and writes it to the pipe. A
        # watcher in a session of its own ends the display and the wineserver
        # once this run's process is gone, however it ended.
        number_file=$(mktemp)
        setsid bash -c 'Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$1" >/dev/null 2>&1 &
                        display=$!
                        while kill -0 "$2" 2>/dev/null && kill -0 "$display" 2>/dev/null; do sleep 1; done
                        kill "$display" 2>/dev/null; wineserver -k 2>/dev/null' \
            wine-display "$number_file" "$$" </dev/null >/dev/null 2>&1 &
        for _ in $(seq 100); do [ -s "$number_file" ] && break; sleep 0.1; done
        export DISPLAY=":$(tr -dc 0-9 <"$number_file")"
        rm -f "$number_file"
        # A wineserver left from an earlier run keeps its desktop on that
        # run's display.
        wineserver -k 2>/dev/null || true
    fi
    if ! xdpyinfo -display "$DISPLAY" >/dev/null 2>&1; then
        AEROTRACE_WINE_WHY="the virtual display $DISPLAY (Xvfb) did not start"
    else
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
fi
export AEROTRACE_WINE AEROTRACE_WINE_WHY
