#!/usr/bin/env bash
# The viewer's figures as a user sees them, measured from process start under
# Wine: time until the first text is on screen (read from the screen's pixels
# by the launcher) and peak memory, for
#   small    Quibex on samples/sample.lzh
#   50MiB    Quibex on an LZH holding one 50 MiB Shift-JIS text
#   minimal  a minimal Win32 window with one static text (the first yardstick)
#   richedit a minimal window with one rich-edit box showing one line: what any
#            rich-edit viewer pays (the second yardstick)
# Every run starts in a fresh copy of the program folder (with a complete
# Quibex.ini, so no first-run window); one warm-up round, then the median of
# QBX_VIEWER_REPS (default 5) rounds, the cases alternating within a round.
# One launcher process (bench/viewer_launch.cpp) starts every run, so Wine is
# already up and its own start-up is not counted. Prints; asserts nothing.
# Usage: bash bench/viewer_bench.sh [BUILD_DIR]   (default build/; needs the Windows
# tree of scripts/arch.sh configured; QUIBEX_WINE_STATE picks the Wine state)
set -euo pipefail

. "$(dirname "$0")/windows_tree.sh" viewer_bench "${1:-}" jlha iconv awk cmake
WORK=$TOP/bench/viewer
REPS=${QBX_VIEWER_REPS:-5}
TEXT_BYTES=$((50 << 20))

cmake --build "$BUILD" -j2 --target Quibex UNLHA32 UNZIP32 CAB32 viewer_launch minimal_window minimal_richedit >/dev/null ||
    die "building the programs failed"
mkdir -p "$WORK"

# ---- The 50 MiB text (bench/big_text.sh) and its archive.
. "$root/bench/big_text.sh"

stamp=$(cat "$0" "$root/bench/big_text.sh" | sha1sum | cut -c1-12)
if [[ ! -f $WORK/stamp || $(cat "$WORK/stamp") != "$stamp" ]]; then
    echo "viewer_bench: making the 50 MiB Shift-JIS text and its archive in $WORK ..."
    rm -rf "$WORK/text" "$WORK/big.lzh"
    mkdir -p "$WORK/text"
    make_big_text "$WORK/text/big.txt"
    size=$(stat -c %s "$WORK/text/big.txt")
    [[ $size -eq $TEXT_BYTES ]] || die "the text is $size bytes, not $TEXT_BYTES"
    (cd "$WORK/text" && jlha ao5q "$WORK/big.lzh" big.txt >/dev/null)
    echo "$stamp" >"$WORK/stamp"
fi

# ---- Fresh program folders and the launcher's plan. ----
# shellcheck source=launch_runs.sh
. "$root/bench/launch_runs.sh"

rm -rf "$WORK/runs"
mkdir -p "$WORK/runs"
plan=$WORK/plan.txt
: >"$plan"
cases=(small 50MiB minimal richedit)
for ((r = 0; r <= REPS; r++)); do
    for c in "${cases[@]}"; do
        dir=$WORK/runs/$c-$r
        mkdir -p "$dir"
        label=$c
        ((r == 0)) && label=warmup-$c
        if [[ $c == minimal ]]; then
            cp "$BIN/minimal_window.exe" "$dir/"
            printf '%s\t%s\t%s\t\t%s\t%s\n' "$label" "$(winpath "$dir")" "$(winpath "$dir")\\minimal_window.exe" \
                QuibexBenchMinimal Static >>"$plan"
        elif [[ $c == richedit ]]; then
            cp "$BIN/minimal_richedit.exe" "$dir/"
            printf '%s\t%s\t%s\t\t%s\t%s\n' "$label" "$(winpath "$dir")" "$(winpath "$dir")\\minimal_richedit.exe" \
                QuibexBenchRichEdit RichEdit50W >>"$plan"
        else
            arc=$root/samples/sample.lzh
            [[ $c == 50MiB ]] && arc=$WORK/big.lzh
            plan_quibex "$label" "$dir" "$arc" "$plan"
        fi
    done
done

echo "viewer_bench: $REPS rounds after one warm-up; $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
run_plan "$plan" "$WORK/results.txt"

# ---- One line a case. ----
awk -v text="$TEXT_BYTES" '
    $1 ~ /^warmup-/ || $2 == "FAIL" { next }
    { n[$1]++; ms[$1, n[$1]] = $2
      if ($3 > ws[$1]) ws[$1] = $3
      if ($4 > pf[$1]) pf[$1] = $4 }
    '"$MEDIAN_AWK"'
    END {
        base = median("minimal")
        rich = median("richedit")
        printf "%-8s %10s %9s %10s %11s %11s  %s\n", "case", "median ms", "/minimal", "/richedit", "peak WS MiB", "peak PF MiB",
            "peak / text size"
        split("small 50MiB minimal richedit", order, " ")
        for (o = 1; o <= 4; o++) {
            c = order[o]
            m = median(c)
            extra = c == "50MiB" ? sprintf("WS %.2f, PF %.2f", ws[c] / text, pf[c] / text) : "-"
            printf "%-8s %10.1f %9.2f %10.2f %11.1f %11.1f  %s\n", c, m, m / base, m / rich, ws[c] / 1048576, pf[c] / 1048576,
                extra
        }
        printf "ms: from process creation until the first text box shows text on the screen (its pixels);\n"
        printf "median of %d runs per case; peaks are the largest over the runs, read once the peak working\n", n["minimal"]
        printf "set had stopped growing for 0.5 s after the first text showed; the text is %d MiB of Shift-JIS.\n", text / 1048576
    }' "$WORK/results.txt"
