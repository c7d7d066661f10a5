#!/usr/bin/env bash
# Where our extraction spends its instructions, for one benchmark archive:
#   bench/profile.sh BUILD_DIR lh5|lh7|zip|mszip|lzx [MAX_BYTES]
# Runs qbx_extract under callgrind (about 50 times slower than native) on the
# archive `make bench` built and prints the top functions and source lines.
set -euo pipefail
BUILD=$(realpath "${1:?usage: bench/profile.sh BUILD_DIR lh5|lh7|zip|mszip|lzx}")
case ${2:?format} in
lh5) arc=corpus_lh5.lzh ;; lh7) arc=corpus_lh7.lzh ;; zip) arc=corpus.zip ;;
mszip) arc=corpus_mszip.cab ;; lzx) arc=corpus_lzx.cab ;; *) echo "unknown format $2" >&2; exit 2 ;;
esac
arc=$BUILD/bench/archives/$arc
[[ -f $arc ]] || { echo "$arc missing: run make bench first" >&2; exit 1; }
command -v valgrind >/dev/null || { echo "valgrind not installed" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
valgrind --tool=callgrind --callgrind-out-file="$work/cg.out" "$BUILD/native/bench/qbx_extract" "$arc" "$work/out" \
    2>&1 | grep 'refs:'
bytes=$(cat "$work"/out/* | wc -c)
callgrind_annotate "$work/cg.out" | sed -n '/file:function/,/^$/p' | sed -n '3,14p' | cut -c1-180
echo "--- hottest source lines (instructions, per output byte)"
callgrind_annotate --auto=yes --show-percs=no "$work/cg.out" 2>/dev/null |
    awk -v b="$bytes" '/^-- Auto-annotated source/ { src = 1 } src && $1 ~ /^[0-9,]+$/ && $2 != "=>" && $2 != "events" {
        n = $1; gsub(",", "", n); if (n + 0 > 0.01 * b) printf "%14s %6.2f %s\n", $1, n / b, substr($0, index($0, $2)) }' |
    sort -k2,2 -g -r | head -25 | cut -c1-160
