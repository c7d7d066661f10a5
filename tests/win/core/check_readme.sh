#!/usr/bin/env bash
# The shipped Readme.txt is Shift-JIS text with CR LF line ends, carries the
# build's version and no unfilled placeholder.
#   check_readme.sh README VERSION
set -uo pipefail
readme=${1:?} version=${2:?}
fail() { echo "FAIL: $*"; exit 1; }
[ -s "$readme" ] || fail "$readme is missing or empty"
text=$(iconv -f CP932 -t UTF-8 "$readme" 2>/dev/null) || fail "not valid Shift-JIS"
lines=$(wc -l < "$readme")
crlf=$(grep -c $'\r$' "$readme")
[ "$lines" -eq "$crlf" ] || fail "$((lines - crlf)) of $lines lines do not end in CR LF"
[ "$(tail -c 2 "$readme" | od -An -c | tr -d ' ')" = '\r\n' ] || fail "the last line has no CR LF"
grep -q "@" <<<"$text" && grep -q "@VERSION@" <<<"$text" && fail "an unfilled @VERSION@"
grep -q "バージョン $version" <<<"$text" || fail "no \"バージョン $version\""
grep -q "書庫内テキストビューア" <<<"$text" || fail "not the Japanese readme"
echo "Readme.txt: Shift-JIS, $lines lines, all CR LF, version $version"
