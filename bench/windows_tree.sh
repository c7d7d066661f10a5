# What the benchmarks that run under Wine share, sourced first:
#   . "$(dirname "$0")/windows_tree.sh" NAME "${1:-}" TOOL...
# NAME prefixes die's messages; the second argument is the build folder
# (default build/). Sets root, TOP, ARCH (the tree of scripts/arch.sh), BUILD
# and BIN, and stops when a TOOL is missing or that tree is not configured.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
TOP=$(realpath "${2:-$root/build}")
ARCH=$(bash "$root/scripts/arch.sh") || exit 1
BUILD=$TOP/$ARCH
BIN=$BUILD/bin
export LC_ALL=C
BENCH_NAME=$1
shift 2

die() { echo "$BENCH_NAME: $*" >&2; exit 1; }

for tool in "$@"; do
    command -v "$tool" >/dev/null || die "$tool not installed (make deps)"
done
[[ -f $BUILD/CMakeCache.txt ]] || die "no Windows build in $BUILD: run 'make $ARCH' first"
