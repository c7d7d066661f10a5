#!/usr/bin/env bash
# Packs each Windows tree's program folder as a user downloads it:
#   dist/Quibex-<version>-win32.zip and dist/Quibex-<version>-win64.zip
# each holding exactly Quibex.exe, Quibexsetup.exe, the three archiver
# libraries and Readme.txt. The version is the one CMake's project sets.
#   scripts/dist.sh BUILD_DIR DIST_DIR
set -euo pipefail
build=$(realpath "${1:?build folder}")
dist=${2:?dist folder}
files=(Quibex.exe Quibexsetup.exe UNLHA32.DLL UNZIP32.DLL CAB32.DLL 7-ZIP32.DLL UNRAR32.DLL Readme.txt)
mkdir -p "$dist"
dist=$(realpath "$dist")
for tree in win32 win64; do
  cache=$build/$tree/CMakeCache.txt
  [ -f "$cache" ] || { echo "dist: the $tree tree is not configured in $build" >&2; exit 1; }
  version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$cache")
  [ -n "$version" ] || { echo "dist: no project version in $cache" >&2; exit 1; }
  for f in "${files[@]}"; do
    [ -f "$build/$tree/bin/$f" ] || { echo "dist: $tree/bin/$f is missing" >&2; exit 1; }
  done
  zipfile=$dist/Quibex-$version-$tree.zip
  rm -f "$zipfile"
  # -j: no folders inside; -X: no Unix extra fields, as Windows tools expect.
  (cd "$build/$tree/bin" && zip -q -j -X "$zipfile" "${files[@]}")
  echo "dist: $zipfile"
done
