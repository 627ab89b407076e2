#!/usr/bin/env bash
# Checks that what ships is what every Windows FS2004 runs on can load, from
# Windows XP SP3 to 11: dist/Aerotrace.dll, a 32-bit PE that exports exactly
# Linkage and ImportTable, and dist/aerotrace.exe. For both: only system
# DLLs, only functions that XP SP3 has (scripts/windows-xp-imports.txt), XP
# (5.1) or older in the OS version fields, no debug sections (they are in
# NAME.debug beside it, named by its debug link), a size that says nothing
# unexpected was linked in; and no thread-local variables in the module's
# own code, which a DLL loaded with LoadLibrary cannot have on XP.
#
#   scripts/check-dll.sh [DLL EXE [OBJECT_DIR]]
#
# (by default the shipped files and the module's objects in build/win32).
set -euo pipefail
cd "$(dirname "$0")/.."
allowed=$PWD/scripts/windows-xp-imports.txt
dll=${1:-dist/Aerotrace.dll}
exe=${2:-dist/aerotrace.exe}
module_objects=${3:-build/win32/CMakeFiles/Aerotrace.dir}
fail=0
problem() { echo "$1: $2"; fail=1; }

# check FILE MAX_KB: the checks both files share.
check() {
    local file=$1 max_kb=$2 dump imports unlisted version size
    [ -f "$file" ] || { problem "$file" "missing (scripts/build.sh win32 makes it)"; return; }
    dump=$(i686-w64-mingw32-objdump -p -h "$file")
    grep -q "file format pei-i386" <<<"$dump" || problem "$file" "not a PE32 i386 file"
    imports=$(awk '/DLL Name:/ {dll = tolower($3)} /^\t[0-9a-f]+\t? +[0-9]+ +[A-Za-z_]/ {print dll, $NF}' <<<"$dump" | sort -u)
    [ -n "$imports" ] || problem "$file" "no imports found: the import table could not be read"
    unlisted=$(comm -23 <(echo "$imports") <(grep -v '^#' "$allowed" | awk 'NF {print $1, $2}' | sort -u))
    [ -z "$unlisted" ] || problem "$file" "imports functions that are not known to exist on Windows XP SP3 ($allowed): $(echo $unlisted)"
    for field in OSystemVersion SubsystemVersion; do
        version=$(awk -v f="$field" '$1 == "Major" f {major = $2} $1 == "Minor" f {minor = $2} END {print major * 100 + minor}' <<<"$dump")
        [ "$version" -le 501 ] || problem "$file" "its $field is $((version / 100)).$((version % 100)): Windows XP is 5.1"
    done
    if grep -qE '^ *[0-9]+ \.debug_' <<<"$dump"; then problem "$file" "has debug sections: it is not stripped"; fi
    grep -qE "^ *[0-9]+ \.gnu_debuglink" <<<"$dump" || problem "$file" "has no debug link"
    [ -f "$file.debug" ] || problem "$file" "its debug information $file.debug is missing"
    size=$(($(stat -c %s "$file") / 1024))
    [ "$size" -le "$max_kb" ] || problem "$file" "is $size KB, more than the $max_kb KB expected: what was linked in?"
    echo "$file: PE32 i386, $size KB, $(wc -l <<<"$imports") imports from $(awk '{print $1}' <<<"$imports" | sort -u | tr '\n' ' ')"
}

check "$dll" 800
check "$exe" 3072

exports=$(i686-w64-mingw32-objdump -p "$dll" |
    sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | grep -oE '^\s*\[ *[0-9]+\] [A-Za-z_]+' | awk '{print $NF}' | sort | tr '\n' ' ')
[ "$exports" = "ImportTable Linkage " ] || problem "$dll" "unexpected exports: $exports"

# Thread-local variables of the module's own (the C++ runtime's single one,
# for exceptions, is made on demand and works on XP).
if [ -d "$module_objects" ]; then
    tls=$(find "$module_objects" -name '*.obj' -exec i686-w64-mingw32-nm -A {} + 2>/dev/null | grep -E '__emutls_v\.| \.tls' || true)
    [ -z "$tls" ] || problem "$dll" "the module's own code has thread-local variables: $(echo "$tls" | head -3)"
else
    problem "$dll" "its object files ($module_objects) are missing: run scripts/build.sh win32"
fi
exit $fail
