#include "core/message_placement.h"

#include <cmath>

namespace quibex {

int RoundHalfEven(double v) { return static_cast<int>(std::nearbyint(v)); }

Point CenteredBoxPosition(const Rect& owner, int w, int h, int screenW, int screenH) {
    int x = RoundHalfEven((owner.right - owner.left) / 2.0 + owner.left - w / 2.0);
    int y = RoundHalfEven((owner.bottom - owner.top) / 2.0 + owner.top - h / 2.0);
    return KeptOnScreen({x, y}, w, h, screenW, screenH);
}

Point KeptOnScreen(Point at, int w, int h, int screenW, int screenH) {
    if (at.x < 0) at.x = 0;
    if (at.x + w > screenW) at.x = screenW - w;
    if (at.y < 0) at.y = 0;
    if (at.y + h > screenH) at.y = RoundHalfEven((screenH - h) * 0.9);
    return at;
}

}  // namespace quibex
