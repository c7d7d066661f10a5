#!/usr/bin/env bash
# scripts/check-layers.sh passes on the tree as it is and fails on each way of
# slipping an include past it, each tried on a fresh copy of the sources.
#   tests/scripts/check_layers_test.sh [REPO]
set -uo pipefail
repo=${1:-$(cd "$(dirname "$0")/../.." && pwd)}
check=$repo/scripts/check-layers.sh
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0

fresh_copy() {
  rm -rf "$tmp/tree" && mkdir -p "$tmp/tree"
  cp -rL "$repo/src" "$repo/archivers" "$tmp/tree/"  # never the sources themselves
}
# evasion NAME FILE LINES: LINES appended to FILE (made if new) must fail the check.
evasion() {
  local name=$1 file=$2 lines=$3 out
  fresh_copy
  mkdir -p "$(dirname "$tmp/tree/$file")"
  printf '\n%b\n' "$lines" >>"$tmp/tree/$file"
  if out=$(bash "$check" "$tmp/tree/src" "$tmp/tree/archivers"); then
    echo "FAIL [$name] passed: $out"; failures=$((failures + 1))
  fi
}

fresh_copy
if ! out=$(bash "$check" "$tmp/tree/src" "$tmp/tree/archivers"); then
  echo "FAIL [as is] $out"; failures=$((failures + 1))
fi

evasion relative-path src/core/paths.cpp '#include "../viewer/viewer_window.h"'
evasion indented-in-ifdef src/core/paths.cpp '#ifdef QUIBEX_SOMETHING\n  #  include "viewer/viewer_window.h"\n#endif'
evasion missing-file src/viewer/viewer_window.cpp '#include "core/no_such_header.h"'
evasion folder-without-rank src/extras/helper.cpp '#include "core/paths.h"'
evasion unranked-folder-reaching-up src/extras/helper.cpp '#include "app/startup.h"'
evasion ranked-including-unranked src/app/startup.cpp '#include "extras/helper.h"'
evasion text-view-knowing-the-form src/viewer/text_view/text_view.cpp '#include "viewer/viewer_form.h"'
evasion setuptool-reaching-in src/setuptool/main.cpp '#include "core/paths.h"'
evasion program-includes-engine src/archive/archiver_library.cpp '#include "status.h"'
evasion engine-includes-library archivers/engine/byte_source.cpp '#include "library_core.h"'
evasion engine-by-path archivers/engine/byte_source.cpp '#include "../dll/exports.h"'
evasion library-includes-unknown archivers/dll/ansi.cpp '#include "no_such_header.h"'
evasion record-includes-engine archivers/api/archive_entry_info.h '#include "status.h"'

if bash "$check" "$tmp/no-such-src" "$tmp/tree/archivers" >/dev/null; then
  echo "FAIL [missing source folder] passed"; failures=$((failures + 1))
fi

[ "$failures" -eq 0 ] && echo "check-layers.sh: every evasion caught"
exit $((failures > 0))
