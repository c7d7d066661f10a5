// Bit reader for LZX: 16-bit little-endian words, each read most significant
// bit first. Reads past the input yield zero bits; consuming one of them is an
// overrun (peeking ahead of the last real bit is legal).
//
// The words are first copied into a buffer of our own with each word's two
// bytes swapped, so the stream becomes plain big-endian bytes followed by
// zero padding. A refill is then one unaligned 8-byte load, with no test for
// the input's end, and tops the buffer up to at least kRefillBits bits.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace arc::lzx {

class BitReader {
public:
    // After a refill at least this many bits are buffered: enough for a main
    // code, a length code and the longest footer (16 + 16 + 17 bits), or an
    // aligned block's 16 + 16 + 14 + 7.
    static constexpr unsigned kRefillBits = 56;

    // Unread bits and where the next load starts. Hot loops keep a copy in
    // locals and hand it back (state(), setState()).
    struct State {
        uint64_t buf;        // unread bits, left-aligned
        unsigned count;      // valid bits in buf (<= 63)
        const uint8_t* next; // next byte to load
    };

    // A new input: nothing is read until seek().
    void setInput(const uint8_t* data, size_t len) {
        data_ = data;
        len_ = len;
        parity_ = kNoParity;
    }

    // Starts reading words at byte `start` of the input. The copy is made for
    // the start's parity and reused by later seeks of the same parity: within
    // one input the parity changes at most once (a frame may start at byte 1,
    // every later restart follows a stored block and is even), so an input is
    // converted at most twice whatever the stored blocks in it.
    void seek(size_t start) {
        overrun_ = start > len_;
        if (overrun_) start = len_;
        if ((start & 1) != parity_) convert(start & 1);
        st_ = {0, 0, words_.data() + (start - parity_)};
        if (overrun_) st_.next = limit_ + 1;  // nothing is loaded any more
    }

    // Loads one 8-byte big-endian word: at least kRefillBits bits buffered
    // afterwards. The caller makes sure s.next <= limit() (the load stays in
    // the padding, which is 16 zero bytes).
    static void refill(State& s) {
        uint64_t v;
        std::memcpy(&v, s.next, 8);
        if constexpr (std::endian::native == std::endian::little) v = __builtin_bswap64(v);
        s.buf |= v >> s.count;
        s.next += (63 - s.count) >> 3;  // whole bytes that fitted
        s.count |= 56;                  // = count + 8 * those bytes, for count <= 63
    }
    // Past this, every byte still to load is padding: the stream has been
    // overrun (a refill leaves at most 63 bits unconsumed).
    const uint8_t* limit() const { return limit_; }
    State state() const { return st_; }
    void setState(const State& s) { st_ = s; }

    // n <= 32.
    uint32_t peek(unsigned n) {
        ensure(n);
        return peekBuffered(n);
    }
    // n <= bits buffered (after ensure(m): at least m in total).
    uint32_t peekBuffered(unsigned n) const { return static_cast<uint32_t>((st_.buf >> 1) >> (63 - n)); }
    // n <= kRefillBits.
    void ensure(unsigned n) {
        if (st_.count >= n) return;
        if (st_.next <= limit_) {
            refill(st_);
        } else {
            // Only zeros remain; the stream is overrun already (see limit()).
            overrun_ = true;
            st_.count = 63;
        }
    }
    // n <= bits buffered (every caller peeks first).
    void skip(unsigned n) {
        st_.buf <<= n;
        st_.count -= n;
    }
    uint32_t read(unsigned n) {
        uint32_t v = peek(n);
        skip(n);
        return v;
    }
    // Sticky: bits consumed only grow.
    bool overrun() const { return overrun_ || consumedBits() > realBytes_ * 8; }

    // Leaves the bit stream for a byte stream: drops the bits up to the next
    // 16-bit boundary (counted from the input's first byte), or a whole word
    // when already on one. Returns the input offset where the byte stream
    // begins (may lie past the input: overrun).
    size_t alignForBytes() {
        size_t consumed = parity_ * 8 + consumedBits();
        consumed = (consumed + 16) & ~size_t{15};
        size_t at = consumed / 8;
        if (at > len_ + (len_ & 1)) overrun_ = true;
        return at;
    }

private:
    static constexpr size_t kPadding = 16;     // zero bytes after the copy: an 8-byte load at limit() stays inside
    static constexpr size_t kNoParity = 2;

    // Copies the words from byte `from` (0 or 1) on, swapping each word's
    // bytes; an odd last byte is the low half of a word whose high half is 0.
    void convert(size_t from) {
        parity_ = from;
        const size_t n = len_ - from;
        realBytes_ = (n + 1) & ~size_t{1};
        if (words_.size() < realBytes_ + kPadding) words_.resize(realBytes_ + kPadding);
        const uint8_t* src = data_ + from;
        uint8_t* dst = words_.data();
        size_t i = 0;
        for (; i + 8 <= n; i += 8) {
            uint64_t v;
            std::memcpy(&v, src + i, 8);
            v = ((v & 0x00FF00FF00FF00FFull) << 8) | ((v >> 8) & 0x00FF00FF00FF00FFull);
            std::memcpy(dst + i, &v, 8);
        }
        for (; i + 2 <= n; i += 2) {
            dst[i] = src[i + 1];
            dst[i + 1] = src[i];
        }
        if (i < n) {
            dst[i] = 0;
            dst[i + 1] = src[i];
        }
        std::memset(dst + realBytes_, 0, kPadding);
        limit_ = dst + realBytes_ + 8;
    }

    size_t consumedBits() const { return static_cast<size_t>(st_.next - words_.data()) * 8 - st_.count; }

    const uint8_t* data_ = nullptr;
    size_t len_ = 0;
    size_t parity_ = kNoParity;       // input byte the copy starts at (0 or 1)
    std::vector<uint8_t> words_;      // the copy, then kPadding zero bytes
    size_t realBytes_ = 0;            // bytes of the copy holding input words
    const uint8_t* limit_ = nullptr;  // realBytes_ + 8 into words_
    State st_ = {0, 0, nullptr};
    bool overrun_ = false;
};

}  // namespace arc::lzx
