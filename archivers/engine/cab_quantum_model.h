// Quantum's fixed tables and its adaptive frequency model, shared by the
// decoder and by the tests' encoder (both sides must adapt identically).
#pragma once

#include <cstdint>
#include <utility>

namespace arc::quantum {

// Match offsets: 42 slots cover 1 .. 2^21 (the largest window); each slot
// adds `kPositionExtra` raw bits to its base.
constexpr uint32_t kPositionBase[42] = {
    0,      1,      2,      3,      4,      6,       8,       12,      16,      24,      32,
    48,     64,     96,     128,    192,    256,     384,     512,     768,     1024,    1536,
    2048,   3072,   4096,   6144,   8192,   12288,   16384,   24576,   32768,   49152,   65536,
    98304,  131072, 196608, 262144, 393216, 524288,  786432,  1048576, 1572864};
constexpr uint8_t kPositionExtra[42] = {0, 0, 0, 0, 1, 1, 2, 2, 3,  3,  4,  4,  5,  5,  6,  6,  7,  7,  8,  8,  9,
                                        9, 10, 10, 11, 11, 12, 12, 13, 13, 14, 14, 15, 15, 16, 16, 17, 17, 18, 18, 19, 19};
// Lengths of selector-6 matches: 27 slots, to which 5 is added (5 .. 259).
constexpr uint16_t kLengthBase[27] = {0,  1,  2,  3,  4,  5,  6,   8,   10,  12,  14,  18,  22, 26,
                                      30, 38, 46, 54, 62, 78, 94, 110, 126, 158, 190, 222, 254};
constexpr uint8_t kLengthExtra[27] = {0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};

// An adaptive model: symbols ordered by falling frequency, with cumulative
// counts cum[i] = sum of the frequencies of entries i.. (cum[entries] = 0).
struct Model {
    static constexpr unsigned kMaxEntries = 64;  // the literal models are the largest (64 byte values each)
    unsigned entries = 0;
    int rescalesLeft = 0;  // halvings before the next full re-sort
    uint16_t sym[kMaxEntries + 1];
    uint16_t cum[kMaxEntries + 1];

    void init(unsigned first, unsigned n) {
        entries = n;
        rescalesLeft = 4;
        for (unsigned i = 0; i <= n; ++i) {
            sym[i] = static_cast<uint16_t>(first + i);
            cum[i] = static_cast<uint16_t>(n - i);
        }
    }

    // Called when the total passes 3800. Mostly halves the counts (keeping
    // every entry's share at least 1); every 50th time it instead sorts the
    // entries by frequency so the common symbols are found first. The exact
    // sort (selection with swaps) matters: ties must land where the encoder
    // put them.
    void rescale() {
        if (--rescalesLeft > 0) {
            for (unsigned i = entries; i-- > 0;) {
                cum[i] >>= 1;
                if (cum[i] <= cum[i + 1]) cum[i] = static_cast<uint16_t>(cum[i + 1] + 1);
            }
            return;
        }
        rescalesLeft = 50;
        for (unsigned i = 0; i < entries; ++i)  // to halved frequencies, rounded up
            cum[i] = static_cast<uint16_t>((cum[i] - cum[i + 1] + 1) >> 1);
        for (unsigned i = 0; i + 1 < entries; ++i)
            for (unsigned j = i + 1; j < entries; ++j)
                if (cum[i] < cum[j]) {
                    std::swap(cum[i], cum[j]);
                    std::swap(sym[i], sym[j]);
                }
        for (unsigned i = entries; i-- > 0;) cum[i] = static_cast<uint16_t>(cum[i] + cum[i + 1]);
    }
};

constexpr unsigned kRescaleAbove = 3800;  // model total that triggers Model::rescale()
constexpr unsigned kStep = 8;             // added to a symbol's count each time it is coded

// Symbol index `s` was just coded: raise its count (and so every cum[] above it).
inline void bump(Model& m, unsigned s) {
    for (unsigned k = 0; k <= s; ++k) m.cum[k] = static_cast<uint16_t>(m.cum[k] + kStep);
    if (m.cum[0] > kRescaleAbove) m.rescale();
}

}  // namespace arc::quantum
