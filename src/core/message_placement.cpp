#include "core/message_placement.h"

#include <cmath>

namespace quibex {

int RoundHalfEven(double v) { return static_cast<int>(std::nearbyint(v)); }

Point CenteredBoxPosition(const Rect& owner, int w, int h, int screenW, int screenH) {
    int x = RoundHalfEven((owner.right - owner.left) / 2.0 + owner.left - w / 2.0);
    int y = RoundHalfEven((owner.bottom - owner.top) / 2.0 + owner.top - h / 2.0);
    if (x < 0) x = 0;
    if (x + w > screenW) x = screenW - w;
    if (y < 0) y = 0;
    if (y + h > screenH) y = RoundHalfEven((screenH - h) * 0.9);
    return {x, y};
}

}  // namespace quibex
