#!/usr/bin/env bash
# Sourced by the scripts that run Windows programs: makes sure 32-bit
# programs can run (where the kernel has no 32-bit support, through qemu's
# user-mode emulation), starts one Xvfb display and one Wine prefix for the
# whole run (Wine must be able to run 32-bit programs: the module is a
# 32-bit DLL). Sets AEROTRACE_WINE=1 when Wine works here, else 0 with the
# reason in AEROTRACE_WINE_WHY.

export WINEDEBUG=-all
export WINEPREFIX="${WINEPREFIX:-$PWD/build/wineprefix}"
export DISPLAY="${AEROTRACE_DISPLAY:-:87}"
AEROTRACE_WINE=0
AEROTRACE_WINE_WHY=""

runs_32bit() { /lib/ld-linux.so.2 --version >/dev/null 2>&1; }
# True when 32-bit programs run only through qemu (registered by us or anyone).
emulated_32bit() { grep -qs 'qemu-i386' /proc/sys/fs/binfmt_misc/* 2>/dev/null; }

if ! emulated_32bit && ! runs_32bit && [ "${AEROTRACE_WINE_EMULATION:-0}" = 1 ]; then
    # The kernel runs 64-bit programs only: hand 32-bit ones to qemu's
    # user-mode emulation. It works, but Wine is then very slow (preparing a
    # prefix takes the better part of an hour), so it is asked for explicitly.
    if [ -x /usr/bin/qemu-i386-static ]; then
        [ -e /proc/sys/fs/binfmt_misc/register ] || mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc 2>/dev/null || true
        if [ -w /proc/sys/fs/binfmt_misc/register ] && [ ! -e /proc/sys/fs/binfmt_misc/aerotrace-i386 ]; then
            printf '%s' ':aerotrace-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' \
                > /proc/sys/fs/binfmt_misc/register 2>/dev/null || true
            printf '%s' ':aerotrace-i386-pie:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x03\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' \
                > /proc/sys/fs/binfmt_misc/register 2>/dev/null || true
        fi
        # Wine maps fixed low addresses: give the emulated process the whole 4 GB.
        export QEMU_RESERVED_VA=0xffff0000
    fi
fi

if emulated_32bit && [ "${AEROTRACE_WINE_EMULATION:-0}" != 1 ]; then
    AEROTRACE_WINE_WHY="32-bit programs run here only under qemu emulation (set AEROTRACE_WINE_EMULATION=1 to use it)"
elif ! runs_32bit; then
    AEROTRACE_WINE_WHY="this machine's kernel runs no 32-bit programs (set AEROTRACE_WINE_EMULATION=1 to try qemu emulation)"
elif ! command -v wine >/dev/null; then
    AEROTRACE_WINE_WHY="wine is not installed"
else
    if ! xdpyinfo -display "$DISPLAY" >/dev/null 2>&1; then
        Xvfb "$DISPLAY" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
        for _ in $(seq 50); do xdpyinfo -display "$DISPLAY" >/dev/null 2>&1 && break; sleep 0.1; done
    fi
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "Preparing the Wine prefix in $WINEPREFIX (once)..."
        timeout 1200 wineboot --init >/dev/null 2>&1 || true
        # No window manager runs on the virtual display: without this, Wine
        # waits two seconds for one each time a window is hidden.
        timeout 300 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
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
