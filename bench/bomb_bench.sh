#!/usr/bin/env bash
# The viewer against a compression bomb: a ZIP of a few MB whose readme.txt
# inflates to 1 GiB of Japanese Shift-JIS text. One run (it takes seconds and
# a gigabyte of disk): time until the first text is on screen, peak memory
# against the text's size, and whether closing emptied the work folder. A
# 32-bit edition cannot hold the whole text at two bytes a character; it
# shows what fits and says so at the end. Prints; fails only when the run
# fails or leaves files behind.
# Usage: bash bench/bomb_bench.sh [BUILD_DIR]   (default build/)
set -euo pipefail

. "$(dirname "$0")/windows_tree.sh" bomb_bench "${1:-}" zip iconv awk cmake
WORK=$TOP/bench/bomb
TEXT_BYTES=$((1 << 30))

cmake --build "$BUILD" -j2 --target Quibex UNLHA32 UNZIP32 CAB32 viewer_launch >/dev/null ||
    die "building the programs failed"
mkdir -p "$WORK"

# One mebibyte of repeated Japanese lines, written 1024 times and zipped at
# the highest level: about 3.5 MB of archive.
if [[ ! -f $WORK/bomb.zip ]]; then
    echo "bomb_bench: making the 1 GiB text and its archive in $WORK ..."
    rm -rf "$WORK/text"
    mkdir -p "$WORK/text"
    awk 'BEGIN { for (i = 0; i < 15000; i++) printf "日本語のテキストです。圧縮の試験に使う行です。ＡＢＣ０１２３４５６７８９\r\n" }' |
        iconv -f UTF-8 -t CP932 >"$WORK/text/lines"
    head -c $((1 << 20)) "$WORK/text/lines" >"$WORK/text/block"
    for ((i = 0; i < 1024; i++)); do cat "$WORK/text/block"; done >"$WORK/text/readme.txt"
    [[ $(stat -c %s "$WORK/text/readme.txt") -eq $TEXT_BYTES ]] || die "the text is not 1 GiB"
    (cd "$WORK/text" && zip -q -9 "$WORK/bomb.zip.part" readme.txt)
    mv "$WORK/bomb.zip.part" "$WORK/bomb.zip"
    rm -rf "$WORK/text"
fi

# shellcheck source=launch_runs.sh
. "$root/bench/launch_runs.sh"
rm -rf "$WORK/run"
plan=$WORK/plan.txt
: >"$plan"
plan_quibex bomb "$WORK/run" "$WORK/bomb.zip" "$plan"
echo "bomb_bench: $(stat -c %s "$WORK/bomb.zip") bytes of ZIP, 1 GiB of text, one run; load $(cut -d' ' -f1-3 /proc/loadavg)"
run_plan "$plan" "$WORK/results.txt"
left=$(find "$WORK/run" -mindepth 2 -type f | wc -l)
awk -v text="$TEXT_BYTES" -v left="$left" '$1 == "bomb" {
    printf "bomb     first text after %.0f ms; peak working set %.0f MiB = %.2f x the text; files left in the work folder: %d\n",
        $2, $3 / 1048576, $3 / text, left }' "$WORK/results.txt"
((left == 0)) || die "closing left $left files in the work folder"
