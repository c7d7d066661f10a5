#!/usr/bin/env bash
# Fails when a source file includes something its layer may not see.
# Quibex (src/), from the top: app; viewer; options, install (side by side,
# not each other); search; ui; actions; archive; core. A module includes its
# own headers and those of modules below it, never above or beside it. The
# registration tool (setuptool) shares only the window bases and the handle
# owner with Quibex. Of the archivers, the program sees only the listing
# record (archivers/api); the libraries (archivers/dll) see the engine and the
# record; the engine sees itself. Inside the viewer, the text views
# (viewer/text_view/) know nothing of the viewer window: they include their
# own folder and the viewer's texts only, not the viewer's form.
# Every include is written from a module root ("core/paths.h") or, for the
# archivers, resources and generated headers, as a bare name: a path with
# "..", a folder with no rank and a folder or file that does not exist fail,
# wherever the #include stands (indented, inside #ifdef).
#   scripts/check-layers.sh [SRC_DIR [ARCHIVERS_DIR]]
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
src=${1:-$root/src}
archivers=${2:-$(dirname "$src")/archivers}
declare -A rank=([app]=7 [viewer]=6 [options]=5 [install]=5 [search]=4 [ui]=3 [actions]=2 [archive]=1 [core]=0)
bad=0
fail() { echo "$*"; bad=1; }

for dir in "$src" "$archivers/engine" "$archivers/dll" "$archivers/api"; do
  [ -d "$dir" ] || { echo "no source folder $dir"; exit 1; }
done

# Prints the quoted includes of FILE, one a line: however indented or spaced.
includes() { sed -nE 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"]+)".*/\1/p' "$1"; }

# A bare name in the program: a resource header or a generated one may be
# anything but an archiver's own file; the listing record is the exception.
program_bare_include() {  # WHERE NAME
  [ "$2" = archive_entry_info.h ] && return
  if [ -e "$archivers/engine/$2" ] || [ -e "$archivers/dll/$2" ]; then
    fail "$1: the program includes the archivers' $2 (only archive_entry_info.h)"
  fi
}

while IFS= read -r file; do
  where=${file#"$src"/}
  case "$where" in */*) mod=${where%%/*} ;; *) fail "$where: a source file outside every module"; continue ;; esac
  if [ "$mod" != setuptool ] && [ -z "${rank[$mod]:-}" ]; then
    fail "$where: folder $mod/ has no place in the layers (scripts/check-layers.sh)"
    continue
  fi
  while IFS= read -r inc; do
    case "$inc" in
      /* | *..*) fail "$where: includes \"$inc\" by a relative or absolute path"; continue ;;
      */*) ;;
      *) program_bare_include "$where" "$inc"; continue ;;
    esac
    target=${inc%%/*}
    if [ ! -e "$src/$inc" ]; then fail "$where: includes \"$inc\", which does not exist"; continue; fi
    if [ "$mod" = setuptool ]; then
      case "$inc" in setuptool/* | core/window_base.h | core/handle.h) ;; *) fail "$where: setuptool includes $inc" ;; esac
      continue
    fi
    if [ "$target" = "$mod" ]; then
      case "$where" in
        viewer/text_view/*)
          case "$inc" in viewer/text_view/* | viewer/viewer_texts.h) ;; *) fail "$where: a text view includes $inc" ;; esac ;;
      esac
      continue
    fi
    if [ -z "${rank[$target]:-}" ]; then
      fail "$where: $mod includes $target/, which has no place in the layers"
    elif [ "${rank[$target]}" -ge "${rank[$mod]}" ]; then
      fail "$where: $mod includes $target/"
    fi
  done < <(includes "$file")
done < <(find "$src" -name '*.cpp' -o -name '*.h')

# The archivers: each part may name files of the parts listed for it.
check_archiver_part() {  # PART ALLOWED_FOLDERS...
  local part=$1 file inc where d found; shift
  while IFS= read -r file; do
    where=archivers/${file#"$archivers"/}
    while IFS= read -r inc; do
      case "$inc" in */*) fail "$where: includes \"$inc\"; the archivers include bare names"; continue ;; esac
      found=
      for d in "$@"; do [ -e "$archivers/$d/$inc" ] && found=$d && break; done
      if [ -z "$found" ]; then
        local elsewhere=
        for d in engine dll api; do [ -e "$archivers/$d/$inc" ] && elsewhere=$d; done
        if [ -n "$elsewhere" ]; then
          fail "$where: $part includes $elsewhere/$inc"
        else
          fail "$where: includes \"$inc\", which is in none of $*"
        fi
      fi
    done < <(includes "$file")
  done < <(find "$archivers/$part" -name '*.cpp' -o -name '*.h')
}
check_archiver_part engine engine
check_archiver_part dll dll engine api
check_archiver_part api api

[ $bad -eq 0 ] && echo "every include points down"
exit $bad
