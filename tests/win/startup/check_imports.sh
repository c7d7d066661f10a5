#!/usr/bin/env bash
# Quibex.exe loads the open-file dialog, the shell, OLE, printing and the
# version library only when they are first used (core/lazy_library.h): none
# of them may be in its import table, or every start-up pays for loading them
# before the first text is on screen.
#   check_imports.sh OBJDUMP QUIBEX_EXE
set -uo pipefail
objdump=${1:?} exe=${2:?}
loaded_on_use='^(comdlg32|shell32|shlwapi|shcore|ole32|oleaut32|winspool|version)(\.dll|\.drv)?$'

[ -f "$exe" ] || { echo "FAIL: $exe is missing (build Quibex)"; exit 1; }
imports=$("$objdump" -p "$exe" | awk '/DLL Name:/ { print tolower($3) }') || { echo "FAIL: $objdump failed"; exit 1; }
# A table read wrongly would pass the check below without meaning anything.
grep -qx 'kernel32.dll' <<<"$imports" || { echo "FAIL: no import table read from $exe"; exit 1; }
found=$(grep -E "$loaded_on_use" <<<"$imports")
if [ -n "$found" ]; then
    echo "FAIL: $(basename "$exe") imports libraries it should load on first use:"
    sed 's/^/  /' <<<"$found"
    exit 1
fi
echo "ok: $(tr '\n' ' ' <<<"$imports")"
