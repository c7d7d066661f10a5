#!/bin/sh
# Builds the archives the search scenarios open, with zip and iconv, into
# the folder given as $1:
#   search.zip  readme.txt (Shift-JIS: "Quibex" in three letter cases, on
#               three lines) and unicode.txt (UTF-8: Korean, which code page
#               932 cannot write)
#   large.zip   large.txt (Shift-JIS, about 900 KiB, so the large-text view
#               shows it): numbered lines, "Quibex" in three letter cases
#               near the start, past 64 K characters and near the end
set -eu
out=$1
export LC_ALL=C
rm -rf "$out"
mkdir -p "$out/src"
cd "$out/src"
sjis() { iconv -f UTF-8 -t CP932; }

printf 'Quibex はテキストを表示します。\r\nQUIBEX の検索では大文字と小文字を区別できます。\r\nquibex で書庫を開きます。最後の行です。\r\n' |
    sjis > readme.txt
printf '\357\273\277Unicode のテキスト: 한국어 와 日本語。\r\n' > unicode.txt
zip -q -X ../search.zip readme.txt unicode.txt

awk 'BEGIN {
    for (n = 0; n < 20000; n++) {
        mark = ""
        if (n == 3) mark = " Quibex"
        if (n == 4000) mark = " QUIBEX"
        if (n == 19990) mark = " quibex"
        printf "%06d 行目のテキストです。abcdefghij%s\r\n", n, mark
    }
}' | sjis > large.txt
zip -q -X ../large.zip large.txt

cd "$out"
rm -rf src
touch stamp
