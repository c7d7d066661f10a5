#!/usr/bin/env bash
# Runs Quibex on an archive from a program folder build/run-app-<tree>, the
# way a user's installation looks: Quibex.exe with the three archiver
# libraries beside it. With a display the program runs interactively; without
# one it runs on a virtual display and a screenshot is saved to build/run.png.
# The programs come from the Windows tree scripts/arch.sh picks.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
archive=$(realpath "${1:?archive path}")
arch=$(bash "$root/scripts/arch.sh")
app=$root/build/run-app-$arch
mkdir -p "$app"
for f in Quibex.exe Quibexsetup.exe UNLHA32.DLL UNZIP32.DLL CAB32.DLL 7-ZIP32.DLL UNRAR32.DLL Readme.txt; do
  if [ -f "$root/build/$arch/bin/$f" ]; then cp "$root/build/$arch/bin/$f" "$app/"; fi
done
winpath=$(printf 'Z:%s' "$archive" | tr '/' '\\')

if [ -n "${DISPLAY:-}" ]; then
  exec "$root/scripts/wine.sh" "$app/Quibex.exe" "$winpath"
fi

"$root/scripts/wine.sh" --prefix
# Nobody can answer the welcome window of a first start on a virtual display:
# start from a settings file that holds only defaults.
[ -f "$app/Quibex.ini" ] || printf '[Option]\r\nInitDialog=1\r\n' > "$app/Quibex.ini"
"$root/scripts/wine.sh" "$app/Quibex.exe" "$winpath" &
pid=$!
# Give the program time to show its windows, then photograph the desktop.
for _ in $(seq 40); do
  sleep 0.25
  kill -0 "$pid" 2>/dev/null || break
done
"$root/scripts/wine.sh" --screenshot "$root/build/run.png"
echo "Quibex ran without a display: screenshot saved to build/run.png"
kill "$pid" 2>/dev/null || true
