// -pm1-: PMarc 1. The stream is a sequence of commands, each led by one bit:
// 1 = a run of literal bytes (1..216), followed at once by a copy unless the
// run had the greatest length; 0 = a copy. Literals are sent as ranks in the
// recency list (lzh_pm_recency.h): a small prefix code, picked once per
// stream by a 5-bit header from 32 fixed shapes, says which range the rank
// lies in, and plain bits pick the rank inside it. A copy names one of six
// distance ranges and, except for the two 2-byte kinds, a length of 3..244.
// The distance fields are only as wide as the output so far requires, and the
// kinds that reach far back cannot be named until that much was produced.
//
// Where real archives differ from what one would expect: one of the 32
// shapes (header value 17) is not a proper prefix code: it repeats the
// codes of ranges 3 and 4 and leaves ranges 0 and 1 unreachable. The
// original extractor reads it that way and so do we. Streams may also end
// short of their last command (the original reads zeros past the data): that
// is accepted within one byte, the member's CRC-16 vouching for the result.
#include "lzh_decoders.h"
#include "lzh_pm_recency.h"

namespace arc {

namespace {

constexpr int kLongestRun = 216;

// Rank ranges of a literal: the range's first rank and how many bits follow.
struct Range {
    uint16_t base;
    uint8_t bits;
};
constexpr Range kRankRanges[6] = {{0, 4}, {16, 4}, {32, 5}, {64, 6}, {128, 6}, {192, 6}};

// The 32 prefix codes for the rank range (0..5 = a..f), as "code letter"
// pairs, root bit first. Empty: range 0 with no bits at all.
constexpr const char* kRangeCodes[32] = {
    "0000a 0001b 001c 01d 10e 11f",
    "000a 001b 010c 011f 10d 11e",
    "000a 001b 01c 10d 110e 111f",
    "00a 010b 011c 10d 110e 111f",
    "00a 010b 011d 10c 110e 111f",
    "00a 010b 0110e 0111f 10c 11d",
    "00a 01b 100c 101d 110e 111f",
    "00a 01b 100c 1010e 1011f 11d",
    "00a 01b 10c 110d 1110e 1111f",
    "0a 1000b 1001f 101c 110d 111e",
    "0a 1000b 10010e 10011f 101c 11d",
    "0a 1000b 1001c 101d 110e 111f",
    "0a 100b 1010c 1011f 110d 111e",
    "0a 100b 101c 110d 1110e 1111f",
    "0a 100b 1010d 10110e 10111f 11c",
    "0a 10b 1100c 1101d 1110e 1111f",
    "0a 10b 110c 1110d 11110e 11111f",
    "000d 001e 01c 10d 11e",
    "00a 010b 011e 10c 11d",
    "00a 01b 10c 110d 111e",
    "0a 1000b 1001e 101c 11d",
    "0a 100b 101c 110d 111e",
    "0a 100b 1010d 1011e 11c",
    "0a 10b 110c 1110d 1111e",
    "000a 001b 01c 1d",
    "00a 010b 011d 1c",
    "00a 01b 10c 11d",
    "0a 100b 101d 11c",
    "0a 10b 110c 111d",
    "0a 10b 11c",
    "0a 1b",
    "",
};

// The chosen range code as a lookup on the next 5 bits (its longest code).
// Every shape covers all 32 entries, so a lookup never fails.
class RangeCode {
public:
    explicit RangeCode(int shape) {
        const char* s = kRangeCodes[shape];
        none_ = *s == 0;
        while (*s) {
            uint32_t code = 0;
            int len = 0;
            for (; *s == '0' || *s == '1'; ++s, ++len) code = code << 1 | static_cast<uint32_t>(*s - '0');
            uint8_t range = static_cast<uint8_t>(*s++ - 'a');
            for (uint32_t low = 0; low < (1u << (5 - len)); ++low) {
                uint32_t e = code << (5 - len) | low;
                range_[e] = range;
                len_[e] = static_cast<uint8_t>(len);
            }
            if (*s == ' ') ++s;
        }
    }
    int decode(LzhBitReader& br) const {
        if (none_) return 0;
        uint32_t e = br.peek(5);
        br.skip(len_[e]);
        return range_[e];
    }

private:
    bool none_ = false;
    uint8_t range_[32] = {}, len_[32] = {};
};

// 1..216: a short code for short runs.
int runLength(LzhBitReader& br) {
    uint32_t v = br.get(2);
    if (v < 3) return static_cast<int>(v) + 1;
    v = br.get(3);
    if (v < 7) return static_cast<int>(v) + 4;
    v = br.get(4);
    if (v < 14) return static_cast<int>(v) + 11;
    if (v == 14) return static_cast<int>(br.get(6)) + 25;
    return static_cast<int>(br.get(7)) + 89;
}

// 3..244, for the copy kinds 2..5.
int copyLength(LzhBitReader& br) {
    uint32_t v = br.get(2);
    if (v < 3) return static_cast<int>(v) + 3;
    v = br.get(3);
    if (v < 5) return static_cast<int>(v) + 6;
    if (v == 5) return static_cast<int>(br.get(2)) + 11;
    if (v == 6) return static_cast<int>(br.get(3)) + 15;
    v = br.get(6);
    if (v < 62) return static_cast<int>(v) + 23;
    if (v == 62) return static_cast<int>(br.get(5)) + 85;
    return static_cast<int>(br.get(7)) + 117;
}

// The copy kind 0..5. Kinds 1 and 3 exist from 64 bytes of output on, 4
// from 576, 5 from 2624; before that the bit that would choose them is not
// sent.
int copyKind(LzhBitReader& br, uint64_t produced) {
    if (br.get(1) == 0) {
        if (produced >= 576 && br.get(1)) return 4;
        return produced >= 64 ? static_cast<int>(br.get(1)) : 0;
    }
    if (produced >= 64 && br.get(1) == 0) return 3;
    if (produced >= 2624 && br.get(1) == 0) return 5;
    return 2;
}

// Distance back, less one, for a copy kind. Kinds 3..5 send a field from 8
// bits up to their widest, just wide enough to reach the start of output.
uint32_t copyDistance(LzhBitReader& br, int kind, uint64_t produced) {
    static const struct {
        uint16_t base;
        uint8_t minBits, maxBits;
    } kinds[6] = {{0, 6, 6}, {64, 8, 8}, {0, 6, 6}, {64, 8, 9}, {576, 8, 11}, {2624, 8, 13}};
    const auto& k = kinds[kind];
    int bits = k.minBits;
    while (bits < k.maxBits && k.base + (uint64_t{1} << bits) <= produced) ++bits;
    return k.base + br.get(bits);  // at most 2624 + 8191 = 10815: within 16 KiB
}

}  // namespace

Status lzhDecodePm1(LzhBitReader& br, LzhWindow& out) {
    PmRecencyList recent;
    const RangeCode ranges(static_cast<int>(br.get(5)));
    const uint64_t total = out.remaining();
    auto emit = [&](uint8_t b) {
        out.put(b);
        recent.touch(b);
    };
    // Bits past the data read as zeros; only the last byte may be missing.
    auto cutOff = [&] { return br.overrun() && !(out.remaining() == 0 && br.overrunBits() <= 7); };
    while (out.remaining() > 0) {
        if (br.get(1)) {
            int run = runLength(br);
            for (int i = 0; i < run && out.remaining() > 0; ++i) {
                const Range& r = kRankRanges[ranges.decode(br)];
                emit(recent.at(r.base + static_cast<int>(br.get(r.bits))));
            }
            if (cutOff()) return Status::UnexpectedEof;
            if (run == kLongestRun || out.remaining() == 0) continue;
        }
        const uint64_t produced = total - out.remaining();
        int kind = copyKind(br, produced);
        int len = kind < 2 ? 2 : copyLength(br);
        uint32_t dist = copyDistance(br, kind, produced);
        if (dist >= produced) return br.overrun() ? Status::UnexpectedEof : Status::BrokenData;
        for (int i = 0; i < len && out.remaining() > 0; ++i) emit(out.back(dist + 1));
        if (cutOff()) return Status::UnexpectedEof;
    }
    return Status::Ok;
}

}  // namespace arc
