// -pm2-: PMarc 2. After one unused bit the stream sends a prefix code of up
// to 31 command symbols and, when copies need it, a code for the distance
// field width; both are canonical (shorter codes first, then lower symbols).
// Commands 0..7 are literals: a range of ranks in the recency list
// (lzh_pm_recency.h) with plain bits for the rank inside it. Commands 8..28
// are copies of 2..16 bytes (8..22) or of 17..256 bytes from a range and
// plain bits (23..28); the 2-byte copy has a 6-bit distance, the 256-byte one
// (28) repeats the last byte, the rest send the distance width through the
// second code. The codes are renewed at fixed output counts: after 1, 2 and 4
// KiB the distance code is sent again with room for longer distances (6, 7,
// 8 widths), and from 4 KiB on, every 4 KiB, one bit says whether a new
// command code (with its distance code) follows.
//
// The window starts as 8 KiB of spaces: copies may reach before the first
// byte and read them.
#include <algorithm>
#include <memory>

#include "lzh_decoders.h"
#include "lzh_pm_recency.h"

namespace arc {

namespace {

// A canonical prefix code over at most 31 symbols, decoded a bit at a time.
// Lengths up to 30 (the longest a proper code of 31 symbols can need).
class PmCode {
public:
    static constexpr int kMaxSymbols = 31;
    static constexpr int kMaxLength = 30;

    void setSingle(int symbol) { single_ = symbol; }
    // False when a length is too long or the lengths over-subscribe the code
    // space; an incomplete code is accepted and its holes decode to -1.
    bool build(const uint8_t* lengths, int count) {
        *this = PmCode();
        single_ = -1;
        for (int i = 0; i < count; ++i) {
            if (lengths[i] > kMaxLength) return false;
            ++count_[lengths[i]];
        }
        count_[0] = 0;
        int64_t room = 1;
        for (int len = 1; len <= kMaxLength; ++len) {
            room = room * 2 - count_[len];
            if (room < 0) return false;
            if (count_[len]) maxLength_ = len;
        }
        int next[kMaxLength + 2] = {};
        for (int len = 1; len <= kMaxLength; ++len) next[len + 1] = next[len] + count_[len];
        for (int i = 0; i < count; ++i)
            if (lengths[i]) sorted_[next[lengths[i]]++] = static_cast<uint8_t>(i);
        return true;
    }
    int decode(LzhBitReader& br) const {
        if (single_ != -1) return single_;
        uint32_t code = 0, first = 0, index = 0;
        for (int len = 1; len <= maxLength_; ++len) {
            code |= br.get(1);
            if (code - first < count_[len]) return sorted_[index + code - first];
            index += count_[len];
            first = (first + count_[len]) << 1;
            code <<= 1;
        }
        return -1;
    }

private:
    int single_ = -1;  // -1 with maxLength_ 0: no code yet, every decode fails
    int maxLength_ = 0;
    uint32_t count_[kMaxLength + 1] = {};
    uint8_t sorted_[kMaxSymbols] = {};
};

// Literal ranks (commands 0..7) and long copy lengths (commands 23..28).
struct Range {
    uint16_t base;
    uint8_t bits;
};
constexpr Range kRankRanges[8] = {{0, 3}, {8, 3}, {16, 4}, {32, 5}, {64, 5}, {96, 5}, {128, 6}, {192, 6}};
constexpr Range kLongCopies[6] = {{17, 3}, {25, 3}, {33, 5}, {65, 6}, {129, 7}, {256, 0}};

constexpr int kLiterals = 8;
constexpr int kShortCopies = 15;  // 2..16 bytes

class Pm2Decoder {
public:
    Pm2Decoder(LzhBitReader& br, LzhWindow& out) : br_(br), out_(out) {}

    Status run() {
        const uint64_t total = out_.remaining();
        br_.get(1);  // unused
        if (!readCommandCode() || !readDistanceCode(5)) return failure();
        uint64_t renewAt = 1024;
        int stage = 0;  // renewals done
        while (out_.remaining() > 0) {
            int cmd = commands_.decode(br_);
            if (cmd < 0) return failure();
            if (cmd < kLiterals) {
                const Range& r = kRankRanges[cmd];
                emit(recent_.at(r.base + static_cast<int>(br_.get(r.bits))));
            } else {
                Status st = copy(cmd - kLiterals);
                if (st != Status::Ok) return st;
            }
            if (br_.overrun() && !(out_.remaining() == 0 && br_.overrunBits() <= 7)) return Status::UnexpectedEof;
            // A command yields at most 256 bytes, less than the 1 KiB between renewals.
            if (total - out_.remaining() >= renewAt && out_.remaining() > 0) {
                if (!renew(stage)) return failure();
                renewAt += stage < 2 ? 1024 * (stage + 1) : 4096;
                ++stage;
            }
        }
        return Status::Ok;
    }

private:
    Status failure() const { return br_.overrun() ? Status::UnexpectedEof : Status::BrokenData; }

    void emit(uint8_t b) {
        out_.put(b);
        recent_.touch(b);
    }

    Status copy(int c) {
        int len;
        if (c < kShortCopies) {
            len = c + 2;
        } else if (c - kShortCopies < 6) {
            const Range& r = kLongCopies[c - kShortCopies];
            len = r.base + static_cast<int>(br_.get(r.bits));
        } else {
            return Status::BrokenData;  // symbols 29, 30: no such copy
        }
        uint32_t back = 0;  // distance less one
        if (c == 0) {
            back = br_.get(6);
        } else if (c < 20) {
            int width = distances_.decode(br_);  // 0 = 6 bits; w = 1..7: 2^(w+5) + (w+5) bits
            if (width < 0) return failure();
            if (width == 0)
                back = br_.get(6);
            else
                back = (1u << (width + 5)) + br_.get(width + 5);  // <= 4096 + 4095
        }
        for (int i = 0; i < len && out_.remaining() > 0; ++i) emit(out_.back(back + 1));
        return Status::Ok;
    }

    // Symbol count (5 bits), shortest length (3 bits; 0 = one symbol, the
    // last, with no bits), then the width of each length field (3 bits) and
    // one field per symbol: 0 = unused, v = shortest + v - 1.
    bool readCommandCode() {
        int count = static_cast<int>(br_.get(5));
        int shortest = static_cast<int>(br_.get(3));
        // Commands 9.. need the distance code; a lone 256-byte copy does not.
        needDistances_ = count >= 10 && !(count == 29 && shortest == 0);
        if (shortest == 0) {
            if (count == 0) return false;
            commands_.setSingle(count - 1);
            return true;
        }
        int fieldBits = static_cast<int>(br_.get(3));
        uint8_t lengths[PmCode::kMaxSymbols];
        for (int i = 0; i < count; ++i) {
            uint32_t v = br_.get(fieldBits);
            lengths[i] = static_cast<uint8_t>(v == 0 ? 0 : std::min<uint32_t>(shortest + v - 1, 255));
        }
        return commands_.build(lengths, count);
    }

    // `widths` 3-bit lengths, one per distance width; a single used width
    // takes no bits. Not sent when the command code has no such copies.
    bool readDistanceCode(int widths) {
        if (!needDistances_) return true;
        uint8_t lengths[8];
        int used = 0, last = 0;
        for (int w = 0; w < widths; ++w) {
            lengths[w] = static_cast<uint8_t>(br_.get(3));
            if (lengths[w]) ++used, last = w;
        }
        if (used == 1) {
            distances_.setSingle(last);
            return true;
        }
        return distances_.build(lengths, widths);
    }

    bool renew(int stage) {
        switch (stage) {
        case 0: return readDistanceCode(6);
        case 1: return readDistanceCode(7);
        case 2:
            if (br_.get(1) && !readCommandCode()) return false;
            return readDistanceCode(8);
        default:
            if (br_.get(1)) return readCommandCode() && readDistanceCode(8);
            return true;
        }
    }

    LzhBitReader& br_;
    LzhWindow& out_;
    PmRecencyList recent_;
    PmCode commands_, distances_;
    bool needDistances_ = false;
};

}  // namespace

Status lzhDecodePm2(LzhBitReader& br, LzhWindow& out) {
    auto d = std::make_unique<Pm2Decoder>(br, out);
    return d->run();
}

}  // namespace arc
