#!/usr/bin/env bash
# The viewer's search over the 50 MiB Shift-JIS text of bench/big_text.sh:
# bench/search_speed.exe under Wine loads it into the large-text view (the
# view every text over 512 KiB gets) and times EM_FINDTEXTEXW over the whole
# text for strings that are not in it, as the search window sends it. For
# scale, `grep -F` searches the same text (as UTF-8) in the same run. Prints
# medians; the target is at least 200 MB/s of text. Asserts nothing.
# Usage: bash bench/search_bench.sh [BUILD_DIR]   (default build/; needs the
# Windows tree of scripts/arch.sh configured)
set -euo pipefail

. "$(dirname "$0")/windows_tree.sh" search_bench "${1:-}" iconv awk grep cmake
WORK=$TOP/bench/search
ROUNDS=${QBX_SEARCH_ROUNDS:-7}
TEXT_BYTES=$((50 << 20))

cmake --build "$BUILD" -j2 --target search_speed >/dev/null || die "building search_speed failed"
mkdir -p "$WORK"

. "$root/bench/big_text.sh"
stamp=$(sha1sum "$root/bench/big_text.sh" | cut -c1-12)
if [[ ! -f $WORK/stamp || $(cat "$WORK/stamp") != "$stamp" ]]; then
    echo "search_bench: making the 50 MiB Shift-JIS text in $WORK ..."
    make_big_text "$WORK/big.txt"
    [[ $(stat -c %s "$WORK/big.txt") -eq $TEXT_BYTES ]] || die "the text is not $TEXT_BYTES bytes"
    iconv -f CP932 -t UTF-8 "$WORK/big.txt" >"$WORK/big-utf8.txt"
    echo "$stamp" >"$WORK/stamp"
fi

winpath() { echo "Z:$(realpath "$1" | tr / '\\')"; }
"$root/scripts/wine.sh" --arch "$ARCH" "$BUILD/bin/search_speed.exe" "$(winpath "$WORK/big.txt")" "$ROUNDS" |
    tr -d '\r' >"$WORK/results.txt" || die "search_speed failed: $(cat "$WORK/results.txt")"

# grep's median milliseconds for one search of the UTF-8 text.
grep_ms() {  # options pattern
    local times=() i start end
    for ((i = 0; i < ROUNDS; i++)); do
        start=$(date +%s%N)
        grep -c $1 -- "$2" "$WORK/big-utf8.txt" >/dev/null || true
        end=$(date +%s%N)
        times+=($(((end - start) / 1000)))
    done
    printf '%s\n' "${times[@]}" | sort -n | awk '{ v[NR] = $1 } END { printf "%.1f", v[int((NR + 1) / 2)] / 1000 }'
}
declare -A peer
peer[ascii]=$(grep_ms "-F -i" "Quibex-absent")
peer[ascii-matchcase]=$(grep_ms "-F" "Quibex-absent")
peer[japanese]=$(grep_ms "-F" "のない語句")

echo "search_bench: $(head -1 "$WORK/results.txt"); $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
printf '%-16s %9s %12s %13s %10s %12s\n' case "ms" "MB/s text" "MB/s UTF-16" "grep ms" "ms / grep"
tail -n +2 "$WORK/results.txt" | while read -r label ms text utf16; do
    printf '%-16s %9.1f %12.0f %13.0f %10.1f %12.2f\n' "$label" "$ms" "$text" "$utf16" "${peer[$label]}" \
        "$(awk -v a="$ms" -v b="${peer[$label]}" 'BEGIN { print a / b }')"
done
echo "MB/s text: the Shift-JIS file's bytes per second (target: 200 or more); UTF-16: the text as the view"
echo "holds it. Median of $ROUNDS searches of the whole text for a string it does not hold. grep -F: the"
echo "same text as UTF-8, whole process, same run."
