#!/usr/bin/env bash
# Fails when a source file of Quibex includes a module above its own.
# From the top: app; viewer; options, install (side by side, not each
# other); search; ui; actions; archive; core. A module includes its own
# headers and those of modules below it, never above or beside it. The
# registration tool (setuptool) shares only the window bases and the handle
# owner with Quibex.
#   scripts/check-layers.sh [SRC_DIR]
set -uo pipefail
src=${1:-$(cd "$(dirname "$0")/.." && pwd)/src}
declare -A rank=([app]=7 [viewer]=6 [options]=5 [install]=5 [search]=4 [ui]=3 [actions]=2 [archive]=1 [core]=0)
bad=0
while IFS= read -r file; do
  mod=${file#"$src"/}
  mod=${mod%%/*}
  if [ "$mod" = setuptool ]; then
    while IFS= read -r inc; do
      case "$inc" in setuptool/* | core/window_base.h | core/handle.h) ;; *) echo "${file#"$src"/}: setuptool includes $inc"; bad=1 ;; esac
    done < <(grep -oE '^#include "[a-z_]+/[^"]+"' "$file" | sed -E 's/#include "//; s/"$//')
    continue
  fi
  [ -n "${rank[$mod]:-}" ] || continue
  while IFS= read -r target; do
    [ "$target" = "$mod" ] && continue
    [ -n "${rank[$target]:-}" ] || continue
    if [ "${rank[$target]}" -ge "${rank[$mod]}" ]; then
      echo "${file#"$src"/}: $mod includes $target/"
      bad=1
    fi
  done < <(grep -oE '^#include "[a-z]+/' "$file" | sed -E 's/#include "//; s@/$@@' | sort -u)
done < <(find "$src" -name '*.cpp' -o -name '*.h')
[ $bad -eq 0 ] && echo "every include points down"
exit $bad
