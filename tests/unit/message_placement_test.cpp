#include <gtest/gtest.h>

#include "core/message_placement.h"

namespace {

using quibex::CenteredBoxPosition;
using quibex::Point;

TEST(MessagePlacement, CentresOverTheOwnerAndStaysOnScreen) {
    struct Case {
        const char* what;
        quibex::Rect owner;
        int w, h;
        Point expected;
    };
    const int W = 1280, H = 800;
    const Case cases[] = {
        {"centred", {100, 100, 500, 400}, 200, 100, {200, 200}},
        {"right edge: box flush with the screen's right edge", {1000, 100, 1400, 400}, 300, 100, {W - 300, 200}},
        {"bottom: lifted to 90 % of the free height", {100, 600, 500, 1000}, 200, 150, {200, 585}},
        {"negative owner: clamped to 0", {-600, -500, -100, -100}, 200, 100, {0, 0}},
        {"halves round to even", {0, 0, 101, 101}, 100, 100, {0, 0}},
        {"halves round to even upwards", {0, 0, 103, 103}, 100, 100, {2, 2}},
    };
    for (const Case& c : cases) {
        Point p = CenteredBoxPosition(c.owner, c.w, c.h, W, H);
        EXPECT_EQ(p.x, c.expected.x) << c.what;
        EXPECT_EQ(p.y, c.expected.y) << c.what;
    }
}

}  // namespace
