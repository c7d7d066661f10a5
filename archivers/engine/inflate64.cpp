// Deflate / Deflate64 decoding: a bit reader (least significant bit first)
// with a sticky overrun flag, canonical Huffman tables with a direct lookup
// for short codes, and a 64 KiB ring flushed to the output as it fills.
//
// Where real streams differ from the published description: writers of
// Deflate64 (7-Zip, Windows) never use distances beyond the bytes produced,
// and a distance code with a single symbol is sent as one code of length 1
// (an incomplete code), which zlib accepts too; any other incomplete or
// over-subscribed code is refused.
#include "inflate64.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace arc {

namespace {

constexpr unsigned kMaxBits = 15;         // longest deflate code
constexpr unsigned kLitLenSymbols = 288;  // 286 used; 286 and 287 take part in the fixed code only
constexpr unsigned kDistSymbols = 32;     // 30 in deflate, 32 in Deflate64
constexpr unsigned kTableBits = 10;       // direct lookup width; longer codes take the canonical walk
constexpr size_t kWindow = 65536;         // Deflate64's window; enough for deflate's 32 KiB as well

constexpr uint16_t kLengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                      31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr uint8_t kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                      2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr uint32_t kDistBase[32] = {1,    2,    3,    4,    5,    7,     9,     13,    17,    25,   33,
                                    49,   65,   97,   129,  193,  257,   385,   513,   769,   1025, 1537,
                                    2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577, 32769, 49153};
constexpr uint8_t kDistExtra[32] = {0, 0, 0, 0, 1, 1, 2,  2,  3,  3,  4,  4,  5,  5,  6,  6,
                                    7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13, 14, 14};
// Order in which the code-length code's lengths are sent.
constexpr uint8_t kCodeLengthOrder[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};

class BitReader {
public:
    explicit BitReader(SequentialReader& in) : in_(in) {}
    // n <= 32.
    uint32_t peek(unsigned n) {
        if (count_ < n) refill();
        return static_cast<uint32_t>(buf_ & ((uint64_t{1} << n) - 1));
    }
    void skip(unsigned n) {
        buf_ >>= n;
        count_ -= n;
    }
    uint32_t get(unsigned n) {
        uint32_t v = peek(n);
        skip(n);
        return v;
    }
    void alignToByte() { skip(count_ % 8); }
    // True once a bit past the packed data was consumed (they read as zero).
    bool overrun() const { return count_ < padBits_; }

private:
    void refill() {
        while (count_ <= 56) {
            uint8_t b = 0;
            if (!in_.next(b)) padBits_ += 8;
            buf_ |= uint64_t{b} << count_;
            count_ += 8;
        }
    }
    SequentialReader& in_;
    uint64_t buf_ = 0;
    unsigned count_ = 0;
    unsigned padBits_ = 0;
};

// A canonical code: codes assigned in order of length, then symbol.
class Huffman {
public:
    // False for an over-subscribed code, or an incomplete one other than a
    // single code of length 1.
    bool build(const uint8_t* lengths, unsigned n) {
        std::fill(std::begin(count_), std::end(count_), uint16_t{0});
        for (unsigned s = 0; s < n; ++s) ++count_[lengths[s]];
        count_[0] = 0;
        int left = 1;
        for (unsigned len = 1; len <= kMaxBits; ++len) {
            left = left * 2 - count_[len];
            if (left < 0) return false;
        }
        unsigned used = 0;
        for (unsigned len = 1; len <= kMaxBits; ++len) used += count_[len];
        if (left > 0 && !(used == 1 && count_[1] == 1)) return false;
        uint16_t offs[kMaxBits + 2] = {};
        for (unsigned len = 1; len <= kMaxBits; ++len) offs[len + 1] = static_cast<uint16_t>(offs[len] + count_[len]);
        for (unsigned s = 0; s < n; ++s)
            if (lengths[s]) sorted_[offs[lengths[s]]++] = static_cast<uint16_t>(s);
        // The lookup: each short code, bit-reversed (the reader delivers the
        // code's first bit lowest), fills every slot its longer suffixes share.
        std::fill(std::begin(table_), std::end(table_), uint16_t{0});
        unsigned code = 0, index = 0;
        for (unsigned len = 1; len <= kTableBits; ++len) {
            for (unsigned k = 0; k < count_[len]; ++k, ++code, ++index) {
                unsigned rev = 0;
                for (unsigned b = 0; b < len; ++b) rev |= ((code >> b) & 1) << (len - 1 - b);
                uint16_t entry = static_cast<uint16_t>((len << 11) | sorted_[index]);
                for (unsigned slot = rev; slot < (1u << kTableBits); slot += 1u << len) table_[slot] = entry;
            }
            code <<= 1;
        }
        return true;
    }

    // Next symbol, or -1 for a bit pattern no code has.
    int decode(BitReader& br) const {
        uint16_t e = table_[br.peek(kTableBits)];
        if (e) {
            br.skip(e >> 11);
            return e & 0x7FF;
        }
        // Canonical walk, one bit at a time, for codes longer than the table.
        uint32_t bits = br.peek(kMaxBits);
        int code = 0, first = 0, index = 0;
        for (unsigned len = 1; len <= kMaxBits; ++len) {
            code |= static_cast<int>((bits >> (len - 1)) & 1);
            int count = count_[len];
            if (code - first < count) {
                br.skip(len);
                return sorted_[index + code - first];
            }
            index += count;
            first = (first + count) << 1;
            code <<= 1;
        }
        return -1;
    }

private:
    uint16_t count_[kMaxBits + 1] = {};
    uint16_t sorted_[kLitLenSymbols] = {};
    uint16_t table_[1u << kTableBits] = {};  // length << 11 | symbol; 0: longer code or none
};

class Inflater {
public:
    Inflater(SequentialReader& in, OutputSink& out, DeflateVariant v)
        : br_(in), out_(out), deflate64_(v == DeflateVariant::Deflate64), window_(new uint8_t[kWindow]) {}

    Status run() {
        for (;;) {
            const bool last = br_.get(1) != 0;
            const unsigned type = br_.get(2);
            Status s = type == 0   ? stored()
                       : type == 1 ? fixedCodes()
                       : type == 2 ? dynamicCodes()
                                   : Status::BrokenData;
            if (s == Status::Ok && br_.overrun()) s = Status::UnexpectedEof;
            if (s != Status::Ok) return s;
            if (last) break;
        }
        return flush() ? Status::Ok : Status::CannotWrite;
    }

private:
    bool put(uint8_t b) {
        window_[pos_++] = b;
        ++produced_;
        if (pos_ == kWindow) return flush();
        return true;
    }
    bool flush() {
        bool ok = pos_ == start_ || out_.write(window_.get() + start_, pos_ - start_);
        if (pos_ == kWindow) pos_ = 0;
        start_ = pos_;
        return ok;
    }

    Status stored() {
        br_.alignToByte();
        const uint32_t len = br_.get(16), nlen = br_.get(16);
        if (br_.overrun()) return Status::UnexpectedEof;
        if ((len ^ 0xFFFF) != nlen) return Status::BrokenData;
        for (uint32_t i = 0; i < len; ++i) {
            uint8_t b = static_cast<uint8_t>(br_.get(8));
            if (br_.overrun()) return Status::UnexpectedEof;
            if (!put(b)) return Status::CannotWrite;
        }
        return Status::Ok;
    }

    Status fixedCodes() {
        uint8_t lens[kLitLenSymbols + kDistSymbols];
        std::fill(lens, lens + 144, 8);
        std::fill(lens + 144, lens + 256, 9);
        std::fill(lens + 256, lens + 280, 7);
        std::fill(lens + 280, lens + 288, 8);
        std::fill(lens + 288, lens + 320, 5);
        if (!litLen_.build(lens, kLitLenSymbols) || !dist_.build(lens + kLitLenSymbols, kDistSymbols))
            return Status::BrokenData;
        return codes();
    }

    Status dynamicCodes() {
        const unsigned nLit = br_.get(5) + 257, nDist = br_.get(5) + 1, nCode = br_.get(4) + 4;
        if (nLit > 286 || nDist > (deflate64_ ? 32u : 30u)) return Status::BrokenData;
        uint8_t lens[kLitLenSymbols + kDistSymbols] = {};
        for (unsigned i = 0; i < nCode; ++i) lens[kCodeLengthOrder[i]] = static_cast<uint8_t>(br_.get(3));
        if (br_.overrun()) return Status::UnexpectedEof;
        Huffman lengthCode;
        if (!lengthCode.build(lens, 19)) return Status::BrokenData;
        std::fill(lens, lens + 19, 0);
        for (unsigned i = 0; i < nLit + nDist;) {
            int sym = lengthCode.decode(br_);
            if (sym < 0) return Status::BrokenData;
            if (br_.overrun()) return Status::UnexpectedEof;
            if (sym < 16) {
                lens[i++] = static_cast<uint8_t>(sym);
                continue;
            }
            uint8_t value = 0;
            unsigned run;
            if (sym == 16) {
                if (i == 0) return Status::BrokenData;  // nothing to repeat
                value = lens[i - 1];
                run = 3 + br_.get(2);
            } else if (sym == 17) {
                run = 3 + br_.get(3);
            } else {
                run = 11 + br_.get(7);
            }
            if (run > nLit + nDist - i) return Status::BrokenData;
            std::fill(lens + i, lens + i + run, value);
            i += run;
        }
        if (lens[256] == 0) return Status::BrokenData;  // no end-of-block code: the block could never end
        // Literal/length and distance lengths are sent as one run; split them.
        uint8_t dist[kDistSymbols] = {};
        std::copy(lens + nLit, lens + nLit + nDist, dist);
        std::fill(lens + nLit, lens + kLitLenSymbols, 0);
        if (!litLen_.build(lens, kLitLenSymbols)) return Status::BrokenData;
        // A block of literals only may send no distance code at all.
        if (std::all_of(dist, dist + nDist, [](uint8_t l) { return l == 0; })) {
            distEmpty_ = true;
        } else {
            distEmpty_ = false;
            if (!dist_.build(dist, kDistSymbols)) return Status::BrokenData;
        }
        return codes();
    }

    Status codes() {
        for (;;) {
            int sym = litLen_.decode(br_);
            if (sym < 0) return Status::BrokenData;
            if (br_.overrun()) return Status::UnexpectedEof;
            if (sym < 256) {
                if (!put(static_cast<uint8_t>(sym))) return Status::CannotWrite;
                continue;
            }
            if (sym == 256) {
                distEmpty_ = false;
                return Status::Ok;
            }
            sym -= 257;
            if (sym >= 29) return Status::BrokenData;  // 286 and 287 exist only to complete the fixed code
            uint32_t length;
            if (deflate64_ && sym == 28)
                length = 3 + br_.get(16);
            else
                length = kLengthBase[sym] + br_.get(kLengthExtra[sym]);
            if (distEmpty_) return Status::BrokenData;
            int dsym = dist_.decode(br_);
            if (dsym < 0 || dsym >= (deflate64_ ? 32 : 30)) return Status::BrokenData;
            const uint32_t distance = kDistBase[dsym] + br_.get(kDistExtra[dsym]);
            if (br_.overrun()) return Status::UnexpectedEof;
            if (distance > produced_ || distance > (deflate64_ ? kWindow : kWindow / 2)) return Status::BrokenData;
            size_t from = (pos_ - distance) & (kWindow - 1);
            for (uint32_t k = 0; k < length; ++k) {
                if (!put(window_[from])) return Status::CannotWrite;
                from = (from + 1) & (kWindow - 1);
            }
        }
    }

    BitReader br_;
    OutputSink& out_;
    const bool deflate64_;
    std::unique_ptr<uint8_t[]> window_;
    size_t pos_ = 0, start_ = 0;  // next write; first byte not yet flushed
    uint64_t produced_ = 0;
    Huffman litLen_, dist_;
    bool distEmpty_ = false;
};

}  // namespace

Status inflateStream(SequentialReader& in, OutputSink& out, DeflateVariant variant) {
    auto inflater = std::make_unique<Inflater>(in, out, variant);
    return inflater->run();
}

}  // namespace arc
