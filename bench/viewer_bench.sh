#!/usr/bin/env bash
# The viewer's own figures under Wine: time to the first text on screen for a
# small text and for a 50 MiB text, next to the time a minimal Win32 window
# takes to appear in the same process, and peak memory. Prints; asserts nothing.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cmake --build "$root/build/win32" -j2 --target viewer_win_tests >/dev/null
cd "$root/build/win32/bin"
"$root/scripts/wine.sh" viewer_win_tests.exe \
  --gtest_filter='ViewerText.SmallTextFigures:ViewerText.FiftyMebibyteTextOpensAtOnceAndTheWindowAnswers' 2>&1 |
  grep '^\[ viewer \]' |
  awk '{ print; first = ""; min = 0 } /minimal window/ { for (i = 1; i <= NF; i++) { if ($i == "after" && first == "") first = $(i+1); if ($i == "window" && $(i-1) ~ /minimal/) min = $(i+1) }
       if (min > 0) printf("  ratio first text / minimal window: %.1f\n", first / min) }'
