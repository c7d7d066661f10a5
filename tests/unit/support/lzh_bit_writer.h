// Building blocks for LZH test streams: an MSB-first bit writer and the
// literal/match tokens the test encoders turn into codes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace lzhtest {

using Bytes = std::vector<uint8_t>;

struct BitWriter {
    Bytes out;
    uint32_t acc = 0;
    int n = 0;
    void put(uint32_t v, int bits) {
        for (int i = bits - 1; i >= 0; --i) {
            acc = (acc << 1) | ((v >> i) & 1);
            if (++n == 8) out.push_back(static_cast<uint8_t>(acc)), acc = 0, n = 0;
        }
    }
    Bytes finish() {
        if (n) out.push_back(static_cast<uint8_t>(acc << (8 - n)));
        n = 0;
        return out;
    }
};

struct Token {
    int literal;  // -1 for a match
    size_t len, dist;
};

}  // namespace lzhtest
