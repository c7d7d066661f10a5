// The byte recency list both PMarc methods code literals with: the 256 byte
// values ordered from the most recently output one, so a literal is sent as
// its rank here (small ranks take fewer bits). Every output byte, literal or
// copied, moves to the front. The starting order favours text: printable
// ASCII first, then control codes, then the upper half in the groups
// A0-DF, 80-9F, E0-FF (Shift-JIS lead and kana bytes last but one).
#pragma once

#include <cstdint>
#include <cstring>

namespace arc {

class PmRecencyList {
public:
    PmRecencyList() {
        static const struct {
            uint8_t first, last;
        } groups[] = {{0x20, 0x7F}, {0x00, 0x1F}, {0xA0, 0xDF}, {0x80, 0x9F}, {0xE0, 0xFF}};
        int n = 0;
        for (auto g : groups)
            for (int b = g.first; b <= g.last; ++b) order_[n++] = static_cast<uint8_t>(b);
    }
    // rank 0..255 (every rank names a byte).
    uint8_t at(int rank) const { return order_[rank & 0xFF]; }
    void touch(uint8_t b) {
        if (order_[0] == b) return;
        int i = 1;
        while (order_[i] != b) ++i;  // every value is in the list: i <= 255
        std::memmove(order_ + 1, order_, static_cast<size_t>(i));
        order_[0] = b;
    }

private:
    uint8_t order_[256];
};

}  // namespace arc
