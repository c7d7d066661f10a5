#!/bin/sh
# Builds the small LZH, ZIP and CAB archives the library tests read, with the
# peer archivers (jlha, zip, gcab), into the folder given as $1.
#   sample.*  readme.txt NOTES.DOC info.me image.bin doc/a.txt doc/sub/guide.chm
#   nested.*  MyApp/readme.txt MyApp/doc/x.txt (no root member)
#   sfx_*.exe each sample behind a small program stub
#   method_*.zip  the sample members with each ZIP method 7zz writes, and
#             zip's bzip2 (method_zipbzip2.zip)
#   enc_*.zip the sample members encrypted with the password "pass word":
#             enc_zip.zip (zip -e, traditional), enc_zip_pipe.zip (zip to a
#             pipe: data descriptors), enc_zipcrypto_lzma.zip (7zz), and
#             enc_aes128_deflate, enc_aes192_bzip2, enc_aes256_lzma,
#             enc_aes256_copy (7zz, WinZip AES)
#   clash.zip, clash.cab  a/ and b/ hold names that differ only in case
#             (Cyrillic, Greek, Latin-1, full-width), each with its own text
# Every file is stamped 2001-02-03 04:05:06 UTC so listed DOS times are known.
set -eu
out=$1
export TZ=UTC LC_ALL=C
rm -rf "$out"
mkdir -p "$out/src/doc/sub" "$out/nested/MyApp/doc"

i=0
: > "$out/src/readme.txt"
while [ $i -lt 200 ]; do
  printf 'Line %d of the readme: archives keep text files small.\r\n' $i >> "$out/src/readme.txt"
  i=$((i + 1))
done
printf 'Notes document\r\n' > "$out/src/NOTES.DOC"
printf 'Read me too\r\n' > "$out/src/info.me"
printf 'A in doc\r\n' > "$out/src/doc/a.txt"
printf 'compiled help stand-in\r\n' > "$out/src/doc/sub/guide.chm"
# Bytes 0..255 four times: nothing a text filter would pick.
i=0
while [ $i -lt 4 ]; do
  j=0
  while [ $j -lt 256 ]; do printf "\\$(printf %03o $j)"; j=$((j + 1)); done
  i=$((i + 1))
done > "$out/src/image.bin"
printf 'nested readme\r\n' > "$out/nested/MyApp/readme.txt"
printf 'nested x\r\n' > "$out/nested/MyApp/doc/x.txt"
find "$out/src" "$out/nested" -exec touch -d '2001-02-03 04:05:06' {} +

members="readme.txt NOTES.DOC info.me image.bin doc/a.txt doc/sub/guide.chm"
(cd "$out/src" && jlha a ../sample.lzh $members >/dev/null)
(cd "$out/src" && zip -q -X ../sample.zip $members)
(cd "$out/src" && gcab -c -z ../sample.cab $members)
(cd "$out/nested" && jlha a ../nested.lzh MyApp/readme.txt MyApp/doc/x.txt >/dev/null)
(cd "$out/nested" && zip -q -X ../nested.zip MyApp/readme.txt MyApp/doc/x.txt)
(cd "$out/nested" && gcab -c -z ../nested.cab MyApp/readme.txt MyApp/doc/x.txt)

for m in Deflate64 BZip2 LZMA xz PPMd; do
  (cd "$out/src" && 7zz a -tzip -bd -mm=$m ../method_$m.zip $members >/dev/null)
done
(cd "$out/src" && zip -q -X -Z bzip2 ../method_zipbzip2.zip $members)

pw='pass word'
(cd "$out/src" && zip -q -X -e -P "$pw" ../enc_zip.zip $members)
(cd "$out/src" && zip -q -X -P "$pw" - $members | cat > ../enc_zip_pipe.zip)
(cd "$out/src" && 7zz a -tzip -bd "-p$pw" -mm=LZMA ../enc_zipcrypto_lzma.zip $members >/dev/null)
for pair in AES128:Deflate AES192:BZip2 AES256:LZMA AES256:Copy; do
  em=${pair%%:*} mm=${pair#*:}
  name=$(printf '%s_%s' "$em" "$mm" | tr 'A-Z' 'a-z')
  (cd "$out/src" && 7zz a -tzip -bd "-p$pw" -mem=$em -mm=$mm ../enc_$name.zip $members >/dev/null)
done

# Names one Windows folder cannot hold side by side; UTF-8 in both formats.
mkdir -p "$out/clash/a" "$out/clash/b"
for pair in "ПРИВЕТ привет" "ΣΟΦΙΑ σοφια" "ÉTÉ été" "ＡＢＣ ａｂｃ"; do
  set -- $pair
  printf 'upper %s\r\n' "$1" > "$out/clash/a/$1.txt"
  printf 'lower %s\r\n' "$2" > "$out/clash/b/$2.txt"
done
(cd "$out/clash" && LC_ALL=C.UTF-8 zip -q -X ../clash.zip a/* b/*)
(cd "$out/clash" && LC_ALL=C.UTF-8 gcab -c -z ../clash.cab a/* b/*)

# A program stub: "MZ", then filler up to 4 KiB.
stub="$out/stub.bin"
{ printf 'MZ'; head -c 4094 /dev/zero; } > "$stub"
for f in lzh zip cab; do cat "$stub" "$out/sample.$f" > "$out/sfx_$f.exe"; done
printf 'just text, no archive\r\n' > "$out/plain.txt"
touch "$out/stamp"
