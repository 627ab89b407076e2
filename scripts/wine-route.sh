#!/usr/bin/env bash
# Tells where the Wine tests run: exits 0 when they can run under Wine on
# this machine (its kernel runs 32-bit programs and Wine with its 32-bit
# half, wine32, is installed); otherwise prints why not and exits 1, and they
# run in the emulated Windows guest (scripts/vm). AEROTRACE_WINE_GUEST=1 asks
# for the guest even where Wine could run here.
set -u
here=$(dirname "$0")
if [ "${AEROTRACE_WINE_GUEST:-0}" = 1 ]; then
    echo "AEROTRACE_WINE_GUEST=1 asks for it"
elif ! "$here/runs-32bit.sh"; then
    echo "this machine's kernel runs no 32-bit programs"
elif ! command -v wine >/dev/null || ! dpkg -s wine32:i386 >/dev/null 2>&1; then
    echo "Wine for 32-bit programs (wine32) is not installed here"
else
    exit 0
fi
exit 1
