// Fixed LZX (CAB) constants: alphabet sizes and the offset slot tables.
#pragma once

#include <cstdint>

namespace arc::lzx {

constexpr unsigned kMinWindowBits = 15;
constexpr unsigned kMaxWindowBits = 21;
constexpr unsigned kFrameSize = 32768;       // output bytes per frame (= one CFDATA block)
constexpr unsigned kNumChars = 256;          // literal symbols of the main tree
constexpr unsigned kMinMatch = 2;
constexpr unsigned kMaxMatch = 257;          // 2 + 7 + 248
constexpr unsigned kNumPrimaryLengths = 7;   // length header 7 means "length tree follows"
constexpr unsigned kLengthSymbols = 249;     // length tree
constexpr unsigned kAlignedSymbols = 8;      // aligned-offset tree, 3-bit lengths
constexpr unsigned kPretreeSymbols = 20;     // 0..16 deltas, 17/18 zero runs, 19 same run
constexpr unsigned kMaxSlots = 50;           // offset slots at 2^21
constexpr unsigned kMaxMainSymbols = kNumChars + kMaxSlots * 8;  // 656
constexpr unsigned kMaxCodeLength = 16;      // main/length trees; pretree 15, aligned 7

enum BlockType : unsigned { kVerbatim = 1, kAligned = 2, kUncompressed = 3 };

// Offset slots per window size 2^15 .. 2^21. Each slot covers a power-of-two
// range of formatted offsets; the larger windows add 2^17-wide slots only.
constexpr unsigned slotCount(unsigned windowBits) {
    constexpr unsigned kSlots[] = {30, 32, 34, 36, 38, 42, 50};
    return kSlots[windowBits - kMinWindowBits];
}

// Footer bits of slot s: 0,0,0,0,1,1,2,2,... capped at 17.
constexpr unsigned footerBits(unsigned slot) {
    if (slot < 4) return 0;
    unsigned b = slot / 2 - 1;
    return b > 17 ? 17 : b;
}

struct SlotTable {
    uint32_t base[kMaxSlots];
    uint8_t bits[kMaxSlots];
    constexpr SlotTable() : base(), bits() {
        uint32_t b = 0;
        for (unsigned s = 0; s < kMaxSlots; ++s) {
            base[s] = b;
            bits[s] = static_cast<uint8_t>(footerBits(s));
            b += 1u << bits[s];
        }
    }
};
inline constexpr SlotTable kSlots{};
static_assert(kSlots.base[29] == 24576 && kSlots.base[49] == 1966080, "slot bases: the last slot ends at 2^21");

}  // namespace arc::lzx
