#!/usr/bin/env bash
# Runs the three test tiers (and the bounded fuzz runs) through ctest and ends
# with one summary line: "N passed, N failed".
set -uo pipefail
build=${1:?build folder}
jobs=$(nproc)
passed=0 failed=0
for tree in native fuzz win32; do
  [ -f "$build/$tree/CTestTestfile.cmake" ] || continue
  log="$build/ctest-$tree.log"
  # Wine tests share one prefix and one display; run them one at a time.
  j=$jobs; [ "$tree" = win32 ] && j=1
  echo "== $tree tests"
  ctest --test-dir "$build/$tree" --output-on-failure -j "$j" 2>&1 | tee "$log" | grep -E '^(The following|[[:space:]]+[0-9]+ - |.*\*\*\*Failed|.*tests passed)' || true
  total=$(grep -oE 'tests failed out of [0-9]+' "$log" | grep -oE '[0-9]+$' || echo 0)
  bad=$(grep -oE '[0-9]+ tests failed out of' "$log" | grep -oE '^[0-9]+' || echo 0)
  if [ -z "$total" ] || ! grep -q 'tests failed out of' "$log"; then
    # ctest itself failed (no summary): count that as one failure of the tier.
    if ! grep -q 'No tests were found' "$log"; then bad=$((bad + 1)); total=$((total + 1)); fi
  fi
  passed=$((passed + total - bad))
  failed=$((failed + bad))
done
# Leave no Wine server or virtual display behind.
[ -f "$build/win32/CTestTestfile.cmake" ] && bash "$(dirname "$0")/wine.sh" --stop >/dev/null 2>&1
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
