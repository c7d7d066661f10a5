#!/usr/bin/env bash
# Links on a 10 MiB Shift-JIS text holding about 30,000 URLs and mail
# addresses (and '@' and ':' that are none), with "HiperLink" 1000, which
# covers the whole text:
#   1. the scanner natively (bench/link_bench.cpp): ms per MB for a quarter,
#      half and all of the text (linear work: the same ms per MB), beside
#      GNU grep finding the same kinds of links in the same bytes, timed in
#      the same run; and the pointer lookup per link count.
#   2. the viewer under Wine from process start to its first text on screen
#      (bench/viewer_launch.cpp) on an LZH of that text (shown by the
#      large-text view) and on one of its first 400 KB (a rich-edit box,
#      where links are coloured through the control), links off and on,
#      alternating, one warm-up round, then the median of QBX_LINK_REPS
#      (default 5) rounds. The ratio on/off is the cost links add to the
#      first screen (goal: under 1.10).
# Prints; asserts nothing.
# Usage: bash bench/link_bench.sh [BUILD_DIR]   (default build/)
set -euo pipefail

. "$(dirname "$0")/windows_tree.sh" link_bench "${1:-}" jlha iconv awk grep cmake
WORK=$TOP/bench/links
REPS=${QBX_LINK_REPS:-5}
TEXT_BYTES=$((10 << 20))

cmake --build "$TOP/native" -j2 --target link_bench >/dev/null || die "building link_bench failed"
cmake --build "$TOP/$ARCH" -j2 --target Quibex UNLHA32 UNZIP32 CAB32 viewer_launch >/dev/null ||
    die "building the programs failed"
mkdir -p "$WORK"

# ---- The text: Japanese sentences, a link every few lines, '@' and ':' in
# prices and times that are no links. Written as UTF-8, exactly TEXT_BYTES
# long once in Shift-JIS (every non-ASCII character takes 3 bytes in UTF-8
# and 2 in Shift-JIS, which is how the generator counts).
make_text() {  # out.utf8 bytes
    awk -v target="$2" 'BEGIN {
        srand(20270101)
        nw = split("今日は 書庫の中に 説明書が 入っています。 ホームページを ご覧ください。 不具合の 報告は " \
            "下記まで お願いします。 最新版は こちらから 入手できます。 変更履歴 使用許諾 注意事項 " \
            "ソフトウェアの 動作環境は 以下の通りです。 質問 回答 連絡先", word, " ")
        cr = sprintf("\r\n")
        total = 0; n = 0
        while (1) {
            line = ""; sj = 0
            for (k = 2 + int(rand() * 5); k > 0; k--) { w = word[1 + int(rand() * nw)]; line = line w; sj += length(w) / 3 * 2 }
            r = rand()
            if (r < 0.07) { n++; w = " http://www.example" n ".jp/soft/page" n ".html?id=" n "&lang=ja " }
            else if (r < 0.11) { n++; w = " support" n "@example.co.jp " }
            else if (r < 0.13) { n++; w = " mailto:info" n "@example.com " }
            else if (r < 0.15) { n++; w = " ftp://ftp.example.jp/pub/tool" n ".lzh " }
            else if (r < 0.20) { w = " 価格@100円 時刻 12:30 " }
            else w = ""
            line = line w
            sj += gsub(/[ -~]/, "&", w) + (length(w) - gsub(/[ -~]/, "&", w)) / 3 * 2
            if (total + sj + 2 > target) break
            printf "%s%s", line, cr
            total += sj + 2
        }
        while (total < target) { printf "-"; total++ }
    }' >"$1"
}

stamp=$(sha1sum "$0" | cut -c1-12)
if [[ ! -f $WORK/stamp || $(cat "$WORK/stamp") != "$stamp" ]]; then
    echo "link_bench: making the 10 MiB text and its archive in $WORK ..."
    rm -rf "$WORK/text" "$WORK/links.lzh" "$WORK/small" "$WORK/small.lzh"
    mkdir -p "$WORK/text"
    make_text "$WORK/links.utf8" "$TEXT_BYTES"
    iconv -f UTF-8 -t CP932 "$WORK/links.utf8" >"$WORK/text/links.txt"
    size=$(stat -c %s "$WORK/text/links.txt")
    [[ $size -eq $TEXT_BYTES ]] || die "the text is $size bytes, not $TEXT_BYTES"
    (cd "$WORK/text" && jlha ao5q "$WORK/links.lzh" links.txt >/dev/null)
    make_text "$WORK/small.utf8" $((400 * 1000))
    mkdir -p "$WORK/small"
    iconv -f UTF-8 -t CP932 "$WORK/small.utf8" >"$WORK/small/links.txt"
    (cd "$WORK/small" && jlha ao5q "$WORK/small.lzh" links.txt >/dev/null)
    echo "$stamp" >"$WORK/stamp"
fi

# ---- 1. The scanner, and grep on the same bytes. ----
echo "link_bench: the scanner natively; $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
"$TOP/native/bench/link_bench" "$WORK/links.utf8" "$TEXT_BYTES" | tee "$WORK/native.txt"
pattern='[A-Za-z0-9._-]+://[A-Za-z0-9._~#?=;&:|,$!*@+%/-]+|[A-Za-z0-9._-]+@[A-Za-z0-9._-]+'
grep_ms=()
for ((r = 0; r < 5; r++)); do
    start=$(date +%s%N)
    found=$(grep -oE "$pattern" "$WORK/text/links.txt" | wc -l)
    grep_ms+=($(( ($(date +%s%N) - start) / 1000000 )))
done
grep_median=$(printf '%s\n' "${grep_ms[@]}" | sort -n | sed -n 3p)
ours=$(awk '/^marking/ && $2 > 10 { print $4 }' "$WORK/native.txt")
awk -v ours="$ours" -v grep="$grep_median" -v found="$found" 'BEGIN {
    printf "grep -oE, URL and mail patterns in the same bytes: %d ms (%d matches); ours / grep = %.2f\n",
        grep, found, ours / grep }'

# ---- 2. The viewer's first text with links off and on. ----
# shellcheck source=launch_runs.sh
. "$root/bench/launch_runs.sh"
rm -rf "$WORK/runs"
mkdir -p "$WORK/runs"
plan=$WORK/plan.txt
: >"$plan"
for ((r = 0; r <= REPS; r++)); do
    for c in large-off large-on rich-off rich-on; do
        label=$c
        ((r == 0)) && label=warmup-$c
        archive=$WORK/links.lzh
        [[ $c == rich-* ]] && archive=$WORK/small.lzh
        plan_quibex "$label" "$WORK/runs/$c-$r" "$archive" "$plan" "HiperLink=$([[ $c == *-on ]] && echo 1000 || echo 0)"
    done
done
echo "link_bench: the viewer, $REPS rounds after one warm-up"
run_plan "$plan" "$WORK/results.txt"
awk '
    $1 ~ /^warmup-/ || $2 == "FAIL" { next }
    { n[$1]++; ms[$1, n[$1]] = $2 }
    '"$MEDIAN_AWK"'
    END {
        split("large:10 MiB, large-text view;rich:400 KB, rich-edit box", kinds, ";")
        for (k = 1; k <= 2; k++) {
            split(kinds[k], part, ":")
            off = median(part[1] "-off"); on = median(part[1] "-on")
            printf "first text (%s), links off: %.1f ms   on: %.1f ms   on / off = %.3f (goal: under 1.10)\n",
                part[2], off, on, on / off
        }
        printf "ms: from process creation until the text shows on the screen; median of %d runs each.\n", n["large-on"]
    }' "$WORK/results.txt"
