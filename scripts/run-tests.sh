#!/usr/bin/env bash
# Runs the three test tiers (and the bounded fuzz runs) through ctest and ends
# with one line naming the Windows tree that ran, then one summary line:
# "N passed, N failed".
set -uo pipefail
build=${1:?build folder}
here=$(dirname "$0")
jobs=$(nproc)
# shellcheck source=arch.sh
. "$here/arch.sh"
if ! quibex_arch; then
  echo "$QUIBEX_ARCH_WHY"
  echo "0 passed, 1 failed"
  exit 1
fi
win=$QUIBEX_ARCH_CHOSEN
passed=0 failed=0
for tree in native fuzz "$win"; do
  [ -f "$build/$tree/CTestTestfile.cmake" ] || continue
  log="$build/ctest-$tree.log"
  # Wine tests share one prefix and one display; run them one at a time, in
  # one Wine session held open for all of them.
  j=$jobs
  repeat=()
  if [ "$tree" = "$win" ]; then
    j=1
    bash "$here/wine.sh" --arch "$win" --hold "$build/$win/bin/qxsession.exe"
    # A few scenarios that drive the pointer and read the screen fail now and
    # then late in a long session and pass alone: such a test gets one more
    # run, and the tests that needed it are named below.
    repeat=(--repeat until-pass:2)
  fi
  echo "== $tree tests"
  ctest --test-dir "$build/$tree" --output-on-failure -j "$j" "${repeat[@]}" 2>&1 | tee "$log" | grep -E '^(The following|[[:space:]]+[0-9]+ - |.*\*\*\*Failed|.*tests passed)' || true
  if [ ${#repeat[@]} -gt 0 ]; then
    again=$(grep -oE 'Test +#[0-9]+: [^ ]+ [.]+\*\*\*Failed' "$log" | grep -oE '[^ ]+ [.]+' | cut -d' ' -f1 | sort -u |
      while read -r t; do grep -qE "Test +#[0-9]+: $t [.]+ +Passed" "$log" && echo "$t"; done)
    [ -n "$again" ] && echo "passed on the second run: $(echo $again)"
  fi
  total=$(grep -oE 'tests failed out of [0-9]+' "$log" | grep -oE '[0-9]+$' || echo 0)
  bad=$(grep -oE '[0-9]+ tests failed out of' "$log" | grep -oE '^[0-9]+' || echo 0)
  if [ -z "$total" ] || ! grep -q 'tests failed out of' "$log"; then
    # ctest itself failed (no summary): count that as one failure of the tier.
    if ! grep -q 'No tests were found' "$log"; then bad=$((bad + 1)); total=$((total + 1)); fi
  fi
  passed=$((passed + total - bad))
  failed=$((failed + bad))
done
if [ ! -f "$build/$win/CTestTestfile.cmake" ]; then
  echo "the $win tree is not built in $build"
  failed=$((failed + 1))
fi
# Leave no Wine server or virtual display behind.
[ -f "$build/$win/CTestTestfile.cmake" ] && bash "$here/wine.sh" --arch "$win" --stop >/dev/null 2>&1
echo "Windows tree: $win ($QUIBEX_ARCH_WHY)"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
