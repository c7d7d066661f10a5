// Where a message box goes: centred over the window the user last activated,
// then pulled onto the screen. Pure arithmetic, tested natively.
#pragma once

namespace quibex {

struct Rect {
    int left, top, right, bottom;
};
struct Point {
    int x, y;
};

// `owner` is the owner window's rectangle, w and h the box size, screenW and
// screenH the screen size in pixels. A box that would leave the bottom edge
// is lifted to 90 % of the free height rather than made flush with it.
Point CenteredBoxPosition(const Rect& owner, int w, int h, int screenW, int screenH);
// The same rule alone for a window of w×h at `at`: not past the left, right
// or top edge; past the bottom, lifted to 90 % of the free height.
Point KeptOnScreen(Point at, int w, int h, int screenW, int screenH);

// Rounds halves to even, as the placement has always done.
int RoundHalfEven(double v);

}  // namespace quibex
