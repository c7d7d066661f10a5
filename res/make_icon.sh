#!/usr/bin/env bash
# Draws the program icon (an archive box with a text sheet coming out of it)
# at 16, 24, 32, 48 and 256 pixels and packs them into one .ico.
#   res/make_icon.sh OUT.ico
set -euo pipefail
out=${1:?output .ico}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Coordinates are on a 256-unit grid; s() scales them to the size drawn.
draw() {  # SIZE
  local n=$1
  s() { awk -v v="$1" -v n="$n" 'BEGIN { printf "%.2f", v * n / 256 }'; }
  local stroke; stroke=$(awk -v n="$n" 'BEGIN { w = n / 64; if (w < 1) w = 1; printf "%.2f", w }')
  local args=(-size "${n}x${n}" xc:none -stroke none)
  # The sheet: white with a grey edge, blue text lines.
  args+=(-fill '#FFFFFF' -stroke '#7A8594' -strokewidth "$stroke"
    -draw "roundrectangle $(s 60),$(s 14) $(s 196),$(s 170) $(s 10),$(s 10)" -stroke none)
  # Four lines where there is room, two bolder ones at the smallest sizes.
  local y lines=(44 74 104 134) height=14
  if [ "$n" -le 24 ]; then lines=(48 96); height=16; fi
  for y in "${lines[@]}"; do
    # A rectangle covers both its corner pixels: end one pixel short.
    local bottom; bottom=$(awk -v v=$((y + height)) -v n="$n" 'BEGIN { printf "%.2f", v * n / 256 - 1 }')
    args+=(-fill '#2F6FB5' -draw "rectangle $(s 82),$(s $y) $(s 174),$bottom")
  done
  # The box: a darker lid band, then the front that hides the sheet's foot.
  args+=(-fill '#9A5B1E' -draw "roundrectangle $(s 20),$(s 118) $(s 236),$(s 158) $(s 10),$(s 10)")
  args+=(-fill '#D08A3C' -draw "roundrectangle $(s 30),$(s 146) $(s 226),$(s 242) $(s 14),$(s 14)")
  args+=(-fill '#F3D9A8' -draw "roundrectangle $(s 96),$(s 170) $(s 160),$(s 206) $(s 6),$(s 6)")
  convert "${args[@]}" -depth 8 "$work/icon-$n.png"
}

for n in 16 24 32 48 256; do draw "$n"; done
convert "$work"/icon-16.png "$work"/icon-24.png "$work"/icon-32.png "$work"/icon-48.png "$work"/icon-256.png "$out"
