#!/bin/sh
# Builds the archives the viewer scenarios open, with the peer archivers
# (zip, jlha, gcab) and iconv, into the folder given as $1:
#   order.zip      alpha.txt bravo.txt ReadMe.TXT Change.Log.TXT charlie.txt  (the readme in the middle)
#   six.zip        one.txt .. six.txt, each saying its own name
#   single.zip     only.txt
#   onlyhtm.zip    manual.htm (a document, no text)
#   kinds.{lzh,zip,cab,7z}  readme.txt 説明.txt
#   kinds7z.bin    kinds.7z under a name that names no kind
#   japanese.lzh   three Japanese texts with Japanese names
#   encodings.zip  one Japanese text in seven encodings:
#                  sjis.txt utf8bom.txt utf8.txt utf16le.txt utf16be.txt eucjp.txt jis.txt
set -eu
out=$1
export TZ=UTC LC_ALL=ja_JP.UTF-8 LANG=ja_JP.UTF-8
rm -rf "$out"
mkdir -p "$out/src"
cd "$out/src"
sjis() { iconv -f UTF-8 -t CP932; }

for n in alpha bravo charlie; do printf '%s のテキストです。\r\n' "$n" | sjis > $n.txt; done
printf 'はじめにお読みください。\r\n' | sjis > ReadMe.TXT
printf '変更履歴です。\r\n' | sjis > Change.Log.TXT
zip -q -X ../order.zip alpha.txt bravo.txt ReadMe.TXT Change.Log.TXT charlie.txt

for n in one two three four five six; do printf 'これは %s.txt です。\r\n二行目です。\r\n' "$n" | sjis > $n.txt; done
zip -q -X ../six.zip one.txt two.txt three.txt four.txt five.txt six.txt

printf 'ただ一つのテキストです。\r\n' | sjis > only.txt
zip -q -X ../single.zip only.txt

printf '<html><body>manual</body></html>\r\n' > manual.htm
zip -q -X ../onlyhtm.zip manual.htm

printf 'Quibex のテストです。\r\n' | sjis > readme.txt
printf '説明のテキストです。\r\n' | sjis > 説明.txt
jlha a ../kinds.lzh readme.txt 説明.txt >/dev/null 2>&1
zip -q -X ../kinds.zip readme.txt 説明.txt
gcab -c -z ../kinds.cab readme.txt 説明.txt
7zz a -t7z -bd ../kinds.7z readme.txt 説明.txt >/dev/null
cp ../kinds.7z ../kinds7z.bin

mkdir jp
printf '春はあけぼの。やうやう白くなりゆく山ぎは、少しあかりて、紫だちたる雲の細くたなびきたる。\r\n' | sjis > jp/春.txt
printf '夏は夜。月のころはさらなり、やみもなほ、ほたるの多く飛びちがひたる。\r\n' | sjis > jp/夏.txt
printf '秋は夕暮れ。夕日のさして山の端いと近うなりたるに、からすの寝どころへ行くとて。\r\n' | sjis > jp/秋.txt
(cd jp && jlha a ../../japanese.lzh 春.txt 夏.txt 秋.txt >/dev/null 2>&1)

# The same Japanese in every encoding the viewer reads; characters whose
# mapping differs between code page 932 and EUC-JP (wave dash and the like)
# are avoided so every form decodes to one Unicode text.
text='日本語のテキストです。\r\n漢字とひらがなとカタカナ：ファイル、書庫、表示。\r\n全角の英数字ＡＢＣ１２３と半角の ABC 123。\r\n'
mkdir enc
printf "$text" | sjis > enc/sjis.txt
{ printf '\357\273\277'; printf "$text"; } > enc/utf8bom.txt
printf "$text" > enc/utf8.txt
{ printf '\377\376'; printf "$text" | iconv -f UTF-8 -t UTF-16LE; } > enc/utf16le.txt
{ printf '\376\377'; printf "$text" | iconv -f UTF-8 -t UTF-16BE; } > enc/utf16be.txt
printf "$text" | iconv -f UTF-8 -t EUC-JP > enc/eucjp.txt
printf "$text" | iconv -f UTF-8 -t ISO-2022-JP > enc/jis.txt
(cd enc && zip -q -X ../../encodings.zip sjis.txt utf8bom.txt utf8.txt utf16le.txt utf16be.txt eucjp.txt jis.txt)

cd "$out"
rm -rf src
touch stamp
