// Bit reader for LZX: 16-bit little-endian words, each read most significant
// bit first. Reads past the input yield zero bits and set a sticky overrun flag
// (peeking ahead of the last real bit is legal; consuming it is not).
#pragma once

#include <cstddef>
#include <cstdint>

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

    // n <= 32.
    uint32_t peek(unsigned n) {
        if (count_ < n) refill();
        return n == 0 ? 0 : static_cast<uint32_t>(buf_ >> (64 - n));
    }
    void skip(unsigned n) {
        buf_ <<= n;
        count_ -= n;
        if (count_ < padBits_) overrun_ = true;
    }
    uint32_t read(unsigned n) {
        uint32_t v = peek(n);
        skip(n);
        return v;
    }
    bool overrun() const { return overrun_; }

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
    void refill() {
        if (count_ <= 16 && pos_ + 6 <= len_) {
            // Common case: three whole words at once.
            const uint8_t* p = data_ + pos_;
            uint64_t w = (uint64_t{p[1]} << 56) | (uint64_t{p[0]} << 48) | (uint64_t{p[3]} << 40) |
                         (uint64_t{p[2]} << 32) | (uint64_t{p[5]} << 24) | (uint64_t{p[4]} << 16);
            buf_ |= w >> count_;
            count_ += 48;
            pos_ += 6;
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
