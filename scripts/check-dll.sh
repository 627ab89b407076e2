#!/usr/bin/env bash
# Checks that dist/Aerotrace.dll is what FS2004 can load: a 32-bit PE that
# exports exactly Linkage and ImportTable and imports only system DLLs.
set -euo pipefail
cd "$(dirname "$0")/.."
dll=dist/Aerotrace.dll
dump=$(i686-w64-mingw32-objdump -p "$dll")
fail=0
grep -q "file format pei-i386" <<<"$dump" || { echo "not a PE32 i386 file"; fail=1; }
exports=$(echo "$dump" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | grep -oE '^\s*\[ *[0-9]+\] [A-Za-z_]+' | awk '{print $NF}' | sort | tr '\n' ' ')
[ "$exports" = "ImportTable Linkage " ] || { echo "unexpected exports: $exports"; fail=1; }
system_dlls="kernel32.dll user32.dll gdi32.dll comdlg32.dll comctl32.dll msvcrt.dll advapi32.dll"
for imported in $(echo "$dump" | awk '/DLL Name:/ {print tolower($3)}'); do
    case " $system_dlls " in *" $imported "*) ;; *) echo "imports a non-system DLL: $imported"; fail=1 ;; esac
done
if [ $fail -eq 0 ]; then
    echo "$dll: PE32 i386; exports: $exports; imports: $(echo "$dump" | awk '/DLL Name:/ {printf "%s ", $3}')"
fi
exit $fail
