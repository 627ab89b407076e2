#!/usr/bin/env bash
# Exits 0 when this machine's kernel runs 32-bit x86 programs, which is what
# Wine needs to run the 32-bit module here; elsewhere the Wine tests run in
# the emulated Windows guest (scripts/vm). Asks the kernel itself, with no
# 32-bit library installed: it executes a 96-byte i386 program that only
# exits with status 42. 32-bit programs that run only through qemu's
# user-mode emulation do not count: Wine is far too slow there.
set -u
if grep -qs 'qemu-i386' /proc/sys/fs/binfmt_misc/*; then exit 1; fi
probe=$(mktemp "${TMPDIR:-/tmp}/aerotrace-i386.XXXXXX") || exit 1
trap 'rm -f "$probe"' EXIT
# An ELF header, one loadable segment, then: mov eax,1; mov ebx,42; int 0x80.
printf '\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\xb8\x01\x00\x00\x00\xbb\x2a\x00\x00\x00\xcd\x80' >"$probe"
chmod +x "$probe"
"$probe" 2>/dev/null
[ $? = 42 ]
