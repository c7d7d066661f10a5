#!/bin/sh
# Builds the archives the reading scenarios open, with the peer archivers
# (jlha, zip, gcab), into the folder given as $1:
#   texts.{lzh,zip,cab}  readme.txt 説明.txt notes.doc manual.htm docs/guide.chm image.bin
#   four.{lzh,zip}       a.txt b.txt c.txt d.txt
#   onlyhtm.{lzh,zip,cab} manual.htm
#   binary.{lzh,zip,cab}  image.bin (neither a text nor a document)
#   sfx_texts_{lzh,zip,cab}.exe, sfx_binary_{lzh,zip,cab}.exe  the archives behind a program stub
#     whose bytes include "MSCF" and "-lh5-", as real stubs may
#   sfx_both.exe  texts.lzh and then four.zip behind the stub
#   broken.lzh  texts.lzh overwritten after its first header
#   secret.zip  readme.txt encrypted (WinZip AES-256, password "secret"), image.bin not
set -eu
out=$1
export TZ=UTC LC_ALL=ja_JP.UTF-8 LANG=ja_JP.UTF-8
rm -rf "$out"
mkdir -p "$out/src/docs"
sjis() { iconv -f UTF-8 -t CP932; }

printf 'Quibex のテストです。\r\nこれは readme です。\r\n' | sjis > "$out/src/readme.txt"
printf '説明のテキストです。\r\n' | sjis > "$out/src/説明.txt"
printf 'notes document\r\n' > "$out/src/notes.doc"
printf '<html><body>manual</body></html>\r\n' > "$out/src/manual.htm"
printf 'compiled help stand-in\r\n' > "$out/src/docs/guide.chm"
head -c 3000 /dev/urandom > "$out/src/image.bin"
for n in a b c d; do printf 'text %s\r\n' "$n" > "$out/src/$n.txt"; done

texts="readme.txt 説明.txt notes.doc manual.htm docs/guide.chm image.bin"
cd "$out/src"
jlha a ../texts.lzh $texts >/dev/null 2>&1
zip -q -X ../texts.zip $texts
gcab -c -z ../texts.cab $texts
for kind in four onlyhtm binary; do
  case $kind in
    four) files="a.txt b.txt c.txt d.txt" ;;
    onlyhtm) files="manual.htm" ;;
    binary) files="image.bin" ;;
  esac
  jlha a ../$kind.lzh $files >/dev/null 2>&1
  zip -q -X ../$kind.zip $files
  gcab -c -z ../$kind.cab $files
done
# AES: its two check bytes turn away the scenarios' wrong password but for
# one archive in 65536 (the traditional header's one byte: one in 256).
7zz a -tzip -bd -psecret -mem=AES256 ../secret.zip readme.txt >/dev/null
7zz a -tzip -bd ../secret.zip image.bin >/dev/null
cd "$out"

# A stub with decoy signatures, then the archive.
{ printf 'MZ'; head -c 1000 /dev/zero; printf 'MSCF-lh5-PK'; head -c 3000 /dev/zero; } > stub.bin
for f in lzh zip cab; do
  cat stub.bin texts.$f > sfx_texts_$f.exe
  cat stub.bin binary.$f > sfx_binary_$f.exe
done
# A program both the LZH and the ZIP library accept: an LZH archive, then a ZIP.
cat stub.bin texts.lzh four.zip > sfx_both.exe

# Keep the first header, spoil everything after it: the first member fails its
# CRC and no later header can be read.
cp texts.lzh broken.lzh
size=$(stat -c %s broken.lzh)
dd if=/dev/urandom of=broken.lzh bs=1 seek=50 count=$((size - 51)) conv=notrunc 2>/dev/null
rm -rf src stub.bin
touch stamp
