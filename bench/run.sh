#!/usr/bin/env bash
# Extraction speed of our engine against the peer tools, in the same run.
# Usage: bench/run.sh BUILD_DIR   (make bench passes $(BUILD); needs build/native built)
# Builds the corpus and archives once under BUILD_DIR/bench, checks that our
# output equals every peer's, then times whole-process extraction into a fresh
# folder, ours and the peers alternating, and prints medians and peak memory.
# QBX_BENCH_REPS (default 9) sets the repetitions. Extraction goes to a RAM
# folder (/dev/shm, or QBX_BENCH_TMP) so the disk's write-back, which other
# users of the machine share, does not drown the decoders' differences.
set -euo pipefail

BUILD=$(realpath "${1:-build}")
HERE=$(cd "$(dirname "$0")" && pwd)
BENCH=$BUILD/bench
CORPUS=$BENCH/corpus
ARCS=$BENCH/archives
QBX=$BUILD/native/bench/qbx_extract
MAKE_LZX=$BUILD/native/bench/make_lzx_cab
MAKE_CORPUS=$BUILD/native/bench/make_corpus
REPS=${QBX_BENCH_REPS:-9}
export LC_ALL=C

die() { echo "bench: $*" >&2; exit 1; }

for exe in "$QBX" "$MAKE_LZX" "$MAKE_CORPUS"; do
    [[ -x $exe ]] || die "$exe missing: run 'make native' first"
done
for tool in jlha zip gcab lhasa bsdtar 7zz unzip cabextract; do
    command -v "$tool" >/dev/null || die "$tool not installed (make deps)"
done
[[ -x /usr/bin/time ]] || die "/usr/bin/time missing (package 'time')"

# ---- Corpus and archives, rebuilt only when a generator changed. ----
stamp=$(sha1sum "$HERE"/{run.sh,make_corpus.cpp,corpus_words.h,make_lzx_cab.cpp} "$HERE"/../tests/support/{lzx_encoder,cab_writer}.cpp |
    sha1sum | cut -c1-12)
if [[ ! -f $BENCH/stamp || $(cat "$BENCH/stamp") != "$stamp" ]]; then
    echo "bench: building the corpus and archives in $BENCH ..."
    rm -rf "$CORPUS" "$ARCS"
    mkdir -p "$CORPUS" "$ARCS"
    "$MAKE_CORPUS" "$CORPUS"
    mapfile -t files < <(cd "$CORPUS" && ls | sort)
    (
        cd "$CORPUS"
        jlha ao5q "$ARCS/corpus_lh5.lzh" "${files[@]}" >/dev/null
        jlha ao7q "$ARCS/corpus_lh7.lzh" "${files[@]}" >/dev/null
        zip -9 -q -X "$ARCS/corpus.zip" "${files[@]}"
        gcab -c -z "$ARCS/corpus_mszip.cab" "${files[@]}"
        "$MAKE_LZX" "$ARCS/corpus_lzx.cab" "${files[@]}"
        # The ZIP methods beyond deflate, as 7-Zip writes them.
        for m in Deflate64 BZip2 LZMA xz; do
            7zz a -tzip -bd "-mm=$m" "$ARCS/corpus_$m.zip" "${files[@]}" >/dev/null
        done
        # 7z: LZMA2 in one solid block, and PPMd.
        7zz a -t7z -bd -m0=LZMA2 -ms=on "$ARCS/corpus_lzma2.7z" "${files[@]}" >/dev/null
        7zz a -t7z -bd -m0=PPMd "$ARCS/corpus_ppmd.7z" "${files[@]}" >/dev/null
    )
    echo "$stamp" >"$BENCH/stamp"
fi
corpus_bytes=$(cat "$CORPUS"/* | wc -c)
tmp_root=${QBX_BENCH_TMP:-}
if [[ -z $tmp_root ]]; then
    tmp_root=$BENCH
    if [[ -d /dev/shm && -w /dev/shm ]] && (($(df -Pk /dev/shm | awk 'NR == 2 { print $4 }') > 4 * corpus_bytes / 1024)); then
        tmp_root=/dev/shm
    fi
fi
WORK=$(mktemp -d "$tmp_root/qbx_bench.XXXXXX")
trap 'rm -rf "$WORK"' EXIT
corpus_files=$(ls "$CORPUS" | wc -l)

# ---- One extraction by one tool; every tool writes into an empty folder. ----
# The command runs directly under /usr/bin/time (no shell between), so the
# peak memory is the tool's own.
tool_cmd() {  # tool archive outdir -> CMD
    local tool=$1 arc=$2 out=$3
    case $tool in
    ours)       CMD=("$QBX" "$arc" "$out") ;;
    lhasa)      CMD=(lhasa "xqw=$out" "$arc") ;;
    bsdtar)     CMD=(bsdtar -xf "$arc" -C "$out") ;;
    7zz)        CMD=(7zz x -y "-o$out" "$arc") ;;
    unzip)      CMD=(unzip -qo "$arc" -d "$out") ;;
    cabextract) CMD=(cabextract -q -d "$out" "$arc") ;;
    *)          die "unknown tool $tool" ;;
    esac
}

# Runs one timed extraction into $WORK/$tool; sets ELAPSED (wall s), CPU
# (user + system s) and RSS (peak KiB).
timed() {  # tool archive
    local out=$WORK/$1 t0 t1
    rm -rf "$out"
    mkdir -p "$out"
    tool_cmd "$1" "$2" "$out"
    t0=$EPOCHREALTIME
    if ! /usr/bin/time -f '%M %U %S' -o "$WORK/rss" "${CMD[@]}" >/dev/null 2>"$WORK/err"; then
        return 1
    fi
    t1=$EPOCHREALTIME
    ELAPSED=$(awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.4f", b - a }')
    read -r RSS CPU < <(tail -1 "$WORK/rss" | awk '{ printf "%d %.2f\n", $1, $2 + $3 }')
}

median() { sort -g | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else printf "%.4f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
maxof() { sort -g | tail -1; }

# format label, archive, peers that claim to read it[, "peers" when the
# archive is not the corpus: then only our output and the peers' are compared]
# No tool here writes RAR: its row times a real RAR 5 archive of the team's.
RAR5_SAMPLE=${QBX_BENCH_RAR5:-$HERE/../../shared/testdata/rar/rar5_arm.rar}
formats=(
    "lh5|corpus_lh5.lzh|lhasa bsdtar 7zz"
    "lh7|corpus_lh7.lzh|lhasa bsdtar 7zz"
    "zip-deflate|corpus.zip|unzip bsdtar 7zz"
    "cab-mszip|corpus_mszip.cab|cabextract bsdtar 7zz"
    "cab-lzx|corpus_lzx.cab|cabextract bsdtar 7zz"
    "zip-deflt64|corpus_Deflate64.zip|bsdtar 7zz"
    "zip-bzip2|corpus_BZip2.zip|bsdtar 7zz"
    "zip-lzma|corpus_LZMA.zip|bsdtar 7zz"
    "zip-xz|corpus_xz.zip|bsdtar 7zz"
    "7z-lzma2|corpus_lzma2.7z|7zz bsdtar"
    "7z-ppmd|corpus_ppmd.7z|7zz bsdtar"
)
[[ -f $RAR5_SAMPLE ]] && formats+=("rar5|$RAR5_SAMPLE|bsdtar|peers")

rows=()
details=()
echo "bench: $corpus_files files, $corpus_bytes bytes; $REPS runs per tool; $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
for format in "${formats[@]}"; do
    IFS='|' read -r label arcname peers reference <<<"$format"
    arc=$ARCS/$arcname
    [[ $arcname == /* ]] && arc=$arcname
    # Correctness first: ours must equal the corpus and every working peer's output.
    timed ours "$arc" || die "$label: qbx_extract failed: $(cat "$WORK/err")"
    if [[ $reference != peers ]]; then
        diff -r "$CORPUS" "$WORK/ours" >"$WORK/diff" || die "$label: our output differs from the corpus: $(head -5 "$WORK/diff")"
    fi
    usable=()
    for p in $peers; do
        if ! timed "$p" "$arc"; then
            echo "bench: $label: $p cannot extract it, left out ($(head -c 200 "$WORK/err"))" >&2
            continue
        fi
        if [[ $reference != peers ]] && ! diff -r -q "$CORPUS" "$WORK/$p" >/dev/null; then
            echo "bench: $label: $p output differs from the corpus, left out" >&2
            continue
        fi
        diff -r "$WORK/ours" "$WORK/$p" >"$WORK/diff" || die "$label: our output differs from $p's: $(head -5 "$WORK/diff")"
        usable+=("$p")
    done
    [[ ${#usable[@]} -gt 0 ]] || die "$label: no peer tool could extract the archive"

    # Timing: ours and the peers alternate within each repetition.
    # The starting tool rotates so that none always runs right after another's clean-up.
    declare -A tms=() rss=() cpu=()
    order=(ours "${usable[@]}")
    for ((r = 0; r < REPS; r++)); do
        for ((k = 0; k < ${#order[@]}; k++)); do
            t=${order[(r + k) % ${#order[@]}]}
            timed "$t" "$arc" || die "$label: $t failed during timing: $(cat "$WORK/err")"
            tms[$t]+="$ELAPSED "
            rss[$t]+="$RSS "
            cpu[$t]+="$CPU "
        done
    done
    rm -rf "${WORK:?}"/*

    ours_med=$(tr ' ' '\n' <<<"${tms[ours]}" | grep . | median)
    ours_rss=$(tr ' ' '\n' <<<"${rss[ours]}" | grep . | maxof)
    ours_cpu=$(tr ' ' '\n' <<<"${cpu[ours]}" | grep . | median)
    best="" best_med="" best_rss=""
    detail="$label:"
    for p in "${usable[@]}"; do
        m=$(tr ' ' '\n' <<<"${tms[$p]}" | grep . | median)
        detail+=" $p=$m($(tr ' ' '\n' <<<"${cpu[$p]}" | grep . | median))"
        if [[ -z $best ]] || awk -v a="$m" -v b="$best_med" 'BEGIN { exit !(a < b) }'; then
            best=$p best_med=$m
            best_rss=$(tr ' ' '\n' <<<"${rss[$p]}" | grep . | maxof)
            best_cpu=$(tr ' ' '\n' <<<"${cpu[$p]}" | grep . | median)
        fi
    done
    ratio=$(awk -v a="$ours_med" -v b="$best_med" 'BEGIN { printf "%.2f", a / b }')
    cpu_ratio=$(awk -v a="$ours_cpu" -v b="$best_cpu" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }')
    rows+=("$(printf '%-12s %9s  %-11s %9s  %6s  %9.1f  %9.1f  %7s %7s %6s' "$label" "$ours_med" "$best" "$best_med" \
        "$ratio" "$(awk -v k="$ours_rss" 'BEGIN { print k / 1024 }')" "$(awk -v k="$best_rss" 'BEGIN { print k / 1024 }')" \
        "$ours_cpu" "$best_cpu" "$cpu_ratio")")
    details+=("$detail ours=$ours_med($ours_cpu)")
    unset tms rss cpu
done

echo
printf '%-12s %9s  %-11s %9s  %6s  %9s  %9s  %7s %7s %6s\n' format "ours(s)" "fastest" "peer(s)" ratio \
    "ours MiB" "peer MiB" "cpu us" "cpu pr" "cpu r"
printf '%s\n' "${rows[@]}"
echo
echo "medians of every tool, wall s (cpu s):"
printf '  %s\n' "${details[@]}"
echo "ratio = our median wall time / the fastest peer's (target < 1.0); MiB = peak RSS over the runs;"
echo "cpu us / cpu pr / cpu r = median user+system seconds of ours, of that peer, and their ratio"
echo "(output folders in $tmp_root; wall times on a shared machine vary, the cpu columns less so)"
