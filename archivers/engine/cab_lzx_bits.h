// Bit reader for LZX: 16-bit little-endian words, each read most significant
// bit first. Reads past the input yield zero bits and set a sticky overrun flag
// (peeking ahead of the last real bit is legal; consuming it is not).
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace arc::lzx {

class BitReader {
public:
    void reset(const uint8_t* data, size_t len, size_t start = 0) {
        data_ = data;
        len_ = len;
        pos_ = start;
        buf_ = 0;
        count_ = 0;
        padBits_ = 0;
        overrun_ = start > len;
    }

    // After a refill at least this many bits are buffered.
    static constexpr unsigned kRefillBits = 49;

    // n <= 32.
    uint32_t peek(unsigned n) {
        if (count_ < n) refill();
        return peekBuffered(n);
    }
    // n <= bits buffered (after ensure(m): at least m in total).
    uint32_t peekBuffered(unsigned n) const { return static_cast<uint32_t>((buf_ >> 1) >> (63 - n)); }
    // n <= kRefillBits.
    void ensure(unsigned n) {
        if (count_ < n) refill();
    }
    // n <= bits buffered (every caller peeks first).
    void skip(unsigned n) {
        buf_ <<= n;
        count_ -= n;
    }
    uint32_t read(unsigned n) {
        uint32_t v = peek(n);
        skip(n);
        return v;
    }
    // Sticky without a per-skip test: once a padding bit is consumed, count_
    // stays below padBits_, since each later padding word raises both by 16.
    bool overrun() const { return overrun_ || count_ < padBits_; }

    // Leaves the bit stream for a byte stream: drops the bits up to the next
    // 16-bit boundary, or a whole word when already on one. Returns the byte
    // offset where the byte stream begins (may lie past the input: overrun).
    size_t alignForBytes() {
        size_t consumedBits = pos_ * 8 - count_;
        consumedBits = (consumedBits + 16) & ~size_t{15};
        size_t at = consumedBits / 8;
        if (at > len_ + (len_ & 1)) overrun_ = true;
        return at;
    }

private:
    // Called with fewer than kRefillBits bits buffered (every caller tests
    // count_ against n <= kRefillBits first), so the shifts below stay < 64.
    void refill() {
        if (pos_ + 8 <= len_) {
            // Common case: one load of four words, as many of them taken as
            // fit. Bits of the next, partly taken word may land below count_;
            // they are the stream's real next bits, which the next refill ORs
            // in again at the same place, so they do no harm.
            uint64_t v;
            std::memcpy(&v, data_ + pos_, 8);
            if constexpr (std::endian::native == std::endian::big) v = __builtin_bswap64(v);
            // Little-endian words w0..w3 become w0 w1 w2 w3 from the top down.
            v = (v << 32) | (v >> 32);
            v = ((v & 0x0000FFFF0000FFFFull) << 16) | ((v >> 16) & 0x0000FFFF0000FFFFull);
            buf_ |= v >> count_;
            unsigned words = (64 - count_) >> 4;
            count_ += words * 16;
            pos_ += words * 2;
            return;
        }
        // Up to three words keep at least 49 bits buffered.
        while (count_ <= 48) {
            uint64_t word;
            if (pos_ + 1 < len_) {
                word = data_[pos_] | (static_cast<unsigned>(data_[pos_ + 1]) << 8);
            } else if (pos_ < len_) {
                word = data_[pos_];  // odd trailing byte: high half is zero
            } else {
                word = 0;
                padBits_ += 16;
            }
            pos_ += 2;
            buf_ |= word << (48 - count_);
            count_ += 16;
        }
    }

    const uint8_t* data_ = nullptr;
    size_t len_ = 0;
    size_t pos_ = 0;       // next input byte to load (counts padding words too)
    uint64_t buf_ = 0;     // unread bits, left-aligned
    unsigned count_ = 0;   // bits in buf_
    unsigned padBits_ = 0; // zero bits appended past the input, at the tail of buf_
    bool overrun_ = false;
};

}  // namespace arc::lzx
