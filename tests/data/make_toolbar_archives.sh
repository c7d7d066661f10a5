#!/bin/sh
# Builds the archives of the toolbar and link scenarios with zip and iconv,
# into the folder given as $1:
#   links.zip       readme.txt (a URL, a mail address, a "mailto:" address,
#                   in Shift-JIS), second.txt, and two documents: manual.htm
#                   at the top, doc/guide.htm in a folder
#   largelinks.zip  big.txt, about 600 KB (over the rich-edit limit): a URL on
#                   line 2, a mail address on line 9001
set -eu
out=$1
export TZ=UTC LC_ALL=ja_JP.UTF-8 LANG=ja_JP.UTF-8
rm -rf "$out"
mkdir -p "$out/src/doc"
cd "$out/src"
sjis() { iconv -f UTF-8 -t CP932; }

{
    printf 'Quibex のテストです。\r\n\r\n'
    printf 'ホームページ：http://www.example.jp/quibex/index.html をご覧ください。\r\n'
    printf '作者：taro.yamada@example.co.jp（ご意見をどうぞ）\r\n'
    printf '連絡先 mailto:hanako@example.com まで。\r\n'
} | sjis > readme.txt
printf '二つ目のテキストです。\r\n' | sjis > second.txt
printf '<html><body>manual</body></html>\r\n' > manual.htm
printf '<html><body>guide</body></html>\r\n' > doc/guide.htm
zip -q -X ../links.zip readme.txt second.txt manual.htm doc/guide.htm

awk 'BEGIN {
    for (i = 1; i <= 10000; i++) {
        if (i == 2) line = "see http://large.example.jp/far/away for more"
        else if (i == 9001) line = "write to deep@example.jp please"
        else line = sprintf("line %05d of a long text that goes on and on for a while", i)
        printf "%s\r\n", line
    }
}' > big.txt
zip -q -X ../largelinks.zip big.txt

cd "$out"
rm -rf src
touch stamp
