#!/usr/bin/env bash
# Checks a release as a user gets it: the zip of the tree that runs here holds
# exactly the six files, and unpacked it goes through the first start (the
# welcome window and its shortcuts, the options window, an archive given to
# the Send To shortcut opening in the viewer), with a screenshot of each
# step in BUILD/screenshots/dist-<tree>-*.png.
#   scripts/dist-check.sh BUILD_DIR DIST_DIR     (after make dist)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(realpath "${1:?build folder}")
dist=$(realpath "${2:?dist folder}")
tree=$(bash "$here/arch.sh")
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/$tree/CMakeCache.txt")
zipfile=$dist/Quibex-$version-$tree.zip
[ -f "$zipfile" ] || { echo "dist-check: $zipfile is missing (make dist first)" >&2; exit 1; }

expected=$(printf '%s\n' 7-ZIP32.DLL CAB32.DLL Quibex.exe Quibexsetup.exe Readme.txt UNLHA32.DLL UNRAR32.DLL UNZIP32.DLL)
listed=$(zipinfo -1 "$zipfile" | sort)
if [ "$listed" != "$expected" ]; then
  echo "dist-check: $zipfile holds:" >&2
  echo "$listed" >&2
  exit 1
fi

unpacked=$build/dist-check/$tree
rm -rf "$unpacked"
mkdir -p "$unpacked"
unzip -q "$zipfile" -d "$unpacked"
QUIBEX_E2E_PROGRAMS=$unpacked ctest --test-dir "$build/$tree" --output-on-failure \
  -R 'E2eWelcome\.FirstStartMakesBothLinks'
# Kept under names of their own: the next test run writes the same scenario's.
for shot in welcome-first-start welcome-links-made welcome-then-options \
  E2eWelcome.FirstStartMakesBothLinksThenTheOptionsWindowAndTheSendToLinkOpensAnArchive-viewer; do
  [ -f "$build/screenshots/$shot.png" ] && cp "$build/screenshots/$shot.png" "$build/screenshots/dist-$tree-${shot#E2eWelcome.FirstStartMakesBothLinksThenTheOptionsWindowAndTheSendToLinkOpensAnArchive-}.png"
done
echo "dist-check: $zipfile unpacked and started as a first-time user would (screenshots: $build/screenshots/dist-$tree-*.png)"
