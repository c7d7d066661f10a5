#!/usr/bin/env bash
# The archiver libraries must export the same names in both Windows trees,
# exactly the names of their .def files: callers find routines by name.
#   compare_exports.sh DEF_DIR WIN32_BIN WIN64_BIN
set -uo pipefail
defs=${1:?} bin32=${2:?} bin64=${3:?}
status=0

exports() {  # OBJDUMP DLL: the export names, sorted
  "$1" -p "$2" | awk '/^\[Ordinal\/Name Pointer\] Table/ { t = 1; next } t && NF == 0 { t = 0 } t { print $NF }' | sort
}

# Target name, file name: 7-ZIP32.DLL comes from the target SEVENZIP32.
for pair in UNLHA32:UNLHA32 UNZIP32:UNZIP32 CAB32:CAB32 SEVENZIP32:7-ZIP32 UNRAR32:UNRAR32; do
  target=${pair%%:*} lib=${pair#*:}
  def=$defs/$(echo "$target" | tr 'A-Z' 'a-z').def
  want=$(awk '/^EXPORTS/ { e = 1; next } e && NF { print $1 }' "$def" | sort)
  for tree in win32 win64; do
    if [ $tree = win32 ]; then dll=$bin32/$lib.DLL od=i686-w64-mingw32-objdump; else dll=$bin64/$lib.DLL od=x86_64-w64-mingw32-objdump; fi
    if [ ! -f "$dll" ]; then
      echo "FAIL: $dll is missing (build the $tree tree's libraries)"
      status=1
      continue
    fi
    got=$(exports "$od" "$dll")
    if [ "$got" != "$want" ]; then
      echo "FAIL: $tree $lib.DLL exports differ from $(basename "$def"):"
      diff <(echo "$want") <(echo "$got") | sed 's/^/  /'
      status=1
    fi
  done
done
[ $status -eq 0 ] && echo "the five libraries export the same names in win32 and win64"
exit $status
