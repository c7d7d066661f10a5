#!/usr/bin/env bash
# Makes the Readme.txt users get: the UTF-8 source with the version filled
# in, in Shift-JIS (code page 932) with CR LF line ends.
#   res/make_readme.sh SOURCE OUT VERSION
set -euo pipefail
src=${1:?source} out=${2:?output} version=${3:?version}
sed "s/@VERSION@/$version/g" "$src" | iconv -f UTF-8 -t CP932 | sed 's/$/\r/' > "$out.tmp"
mv "$out.tmp" "$out"
