# Pieces the viewer benchmarks share, sourced by them: the INI of a run, Wine
# paths, one Quibex run in a plan of bench/viewer_launch.exe, running the
# plan, and the median of a case's times in awk. Needs BIN, ARCH and root set.

# A complete Quibex.ini (no first-run window) in code page 932 with CR LF
# lines; extra "Key=value" lines go to section "Viewer".
launch_ini() {
    printf '%s\n' '[Option]' 'AllText=1' 'NoText=0' 'OpenMax=5' 'Progress=0' 'InitDialog=1' 'ArcSelect=0' \
        'ArcAplPath=' 'TxtEdtPath=' 'PrtToolPath=' 'PrtToolParam=' 'ParamAfterFile=' 'PrtConfirm=' 'TxtType=' \
        'DocType=HLP DOC HTM HTML CHM' 'ShellExecOpen=0' '[Viewer]' 'InsideViewer=1' 'FontName=ＭＳ ゴシック' 'FontSize=9' \
        "$@" | sed 's/$/\r/' | iconv -f UTF-8 -t CP932
}

winpath() { echo "Z:$(realpath "$1" | tr / '\\')"; }

# A fresh program folder DIR for one run of Quibex on ARCHIVE, and its plan
# line: plan_quibex LABEL DIR ARCHIVE PLAN [INI LINES...]
plan_quibex() {
    local label=$1 dir=$2 archive=$3 plan=$4
    shift 4
    mkdir -p "$dir"
    cp "$BIN"/{Quibex.exe,UNLHA32.DLL,UNZIP32.DLL,CAB32.DLL} "$dir/"
    launch_ini "$@" >"$dir/Quibex.ini"
    printf '%s\t%s\t%s\t"%s"\t%s\t%s\n' "$label" "$(winpath "$dir")" "$(winpath "$dir")\\Quibex.exe" \
        "$(winpath "$archive")" QuibexViewer "RichEdit50W|QuibexLargeText" >>"$plan"
}

# Runs PLAN through the launcher into RESULTS; dies when a counted run failed.
run_plan() {  # plan results
    "$root/scripts/wine.sh" --arch "$ARCH" "$BIN/viewer_launch.exe" "$(winpath "$1")" | tr -d '\r' >"$2" ||
        die "the launcher failed: $(cat "$2")"
    if grep -v '^warmup-' "$2" | grep -q ' FAIL'; then
        die "some runs failed: $(grep FAIL "$2" | sort | uniq -c | tr '\n' ';')"
    fi
}

# awk: the median of the times ms[c, 1..n[c]] of case c.
MEDIAN_AWK='
    function median(c,   i, j, t, v, k) {
        k = n[c]
        for (i = 1; i <= k; i++) v[i] = ms[c, i]
        for (i = 2; i <= k; i++) for (j = i; j > 1 && v[j - 1] > v[j]; j--) { t = v[j]; v[j] = v[j - 1]; v[j - 1] = t }
        return k % 2 ? v[(k + 1) / 2] : (v[k / 2] + v[k / 2 + 1]) / 2
    }'
