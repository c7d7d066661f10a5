#!/bin/sh
# Builds the small 7z archives the 7z reader tests use, with 7zz, into the
# folder given as $1:
#   sample.7z    readme.txt NOTES.DOC doc/a.txt doc/sub/guide.chm (LZMA2, solid)
#   ppmd.7z      the same members, PPMd
#   japanese.7z  日本語/読んでね.txt and 説明書.txt: names stored as UTF-16
# readme.txt is 200 numbered lines; every other file is one line.
set -eu
out=$1
export TZ=UTC LC_ALL=C.UTF-8
rm -rf "$out"
mkdir -p "$out/src/doc/sub" "$out/jp/日本語"

i=0
: > "$out/src/readme.txt"
while [ $i -lt 200 ]; do
  printf 'Line %d of the 7z readme.\r\n' $i >> "$out/src/readme.txt"
  i=$((i + 1))
done
printf 'Notes document\r\n' > "$out/src/NOTES.DOC"
printf 'A in doc\r\n' > "$out/src/doc/a.txt"
printf 'compiled help stand-in\r\n' > "$out/src/doc/sub/guide.chm"
printf '日本語のテキストです。\r\n' > "$out/jp/日本語/読んでね.txt"
printf '説明書\r\n' > "$out/jp/説明書.txt"
find "$out/src" "$out/jp" -exec touch -d '2001-02-03 04:05:06' {} +

members="readme.txt NOTES.DOC doc/a.txt doc/sub/guide.chm"
(cd "$out/src" && 7zz a -t7z -bd -m0=LZMA2 -ms=on ../sample.7z $members >/dev/null)
(cd "$out/src" && 7zz a -t7z -bd -m0=PPMd ../ppmd.7z $members >/dev/null)
(cd "$out/jp" && 7zz a -t7z -bd ../japanese.7z 日本語/読んでね.txt 説明書.txt >/dev/null)
touch "$out/stamp"
