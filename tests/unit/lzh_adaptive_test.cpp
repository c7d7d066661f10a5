// The -lh2- position tree around its first split, worked out by hand from
// the method's description: while the tree is one leaf, uses of position 0
// are not counted, so after the split (65 bytes of output) leaf 0 has a
// count of 1 and leaf 1, counted once on arrival, ties with it. One more use
// of position 1 then overtakes leaf 0 and their codes swap. A reader that
// counted the lone leaf's uses keeps leaf 0 ahead instead and misreads every
// stream with a match in its first 64 bytes from there on.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "lzh_adaptive.h"

namespace {

std::string code(arc::LzhAdaptiveTrees& t, uint64_t produced, int position) {
    uint8_t bits[arc::LzhAdaptiveTrees::kCodeRoom];
    int n = t.positionCode(produced, position, bits);
    if (n < 0) return "none";
    std::string s;
    for (int i = 0; i < n; ++i) s += static_cast<char>('0' + bits[i]);
    return s;
}

TEST(LzhAdaptive, PositionTreeFirstSplit) {
    const struct {
        int loneUses;      // uses of position 0 in the first 64 bytes
        int laterUsesOf1;  // uses of position 1 after the split
        const char *code0, *code1;
    } cases[] = {
        {0, 0, "1", "0"}, {1, 0, "1", "0"}, {0, 1, "0", "1"}, {1, 1, "0", "1"}, {3, 1, "0", "1"}, {3, 2, "0", "1"},
    };
    for (auto& c : cases) {
        auto t = std::make_unique<arc::LzhAdaptiveTrees>();
        t->startChars(286);
        t->startPositions(13);
        EXPECT_EQ(code(*t, 0, 1), "none");
        for (int i = 0; i < c.loneUses; ++i) {
            EXPECT_EQ(code(*t, 64, 0), "");  // one leaf: no bits
            t->countPosition(0);
        }
        for (int i = 0; i < c.laterUsesOf1; ++i) {
            code(*t, 65, 1);
            t->countPosition(1);
        }
        EXPECT_EQ(code(*t, 65, 0), c.code0) << c.loneUses << " " << c.laterUsesOf1;
        EXPECT_EQ(code(*t, 65, 1), c.code1) << c.loneUses << " " << c.laterUsesOf1;
    }
}

}  // namespace
