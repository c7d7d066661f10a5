// Bit input and canonical Huffman tables shared by the LZH decoders.
// LZH streams are read most-significant bit first. Reading past the packed
// data yields zero bits and trips a sticky flag, so decoders may peek ahead
// freely and check overrun() once per symbol instead of before every read.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "byte_source.h"

namespace arc {

class LzhBitReader {
public:
    explicit LzhBitReader(SequentialReader& in) : in_(in) { refill(); }

    // n <= 32.
    uint32_t peek(int n) {
        if (count_ < n) load();
        return n ? static_cast<uint32_t>(buf_ >> (64 - n)) : 0;
    }
    void skip(int n) {
        if (count_ < n) load();
        buf_ <<= n;
        count_ -= n;
    }
    uint32_t get(int n) {
        uint32_t v = peek(n);
        buf_ <<= n;
        count_ -= n;
        return v;
    }
    // The same without the refill test, for n (summed since the last
    // refill() or ensure()) within the bits these guarantee; n <= 32.
    uint32_t peekBuffered(int n) const { return static_cast<uint32_t>((buf_ >> 1) >> (63 - n)); }
    void skipBuffered(int n) {
        buf_ <<= n;
        count_ -= n;
    }
    uint32_t getBuffered(int n) {
        uint32_t v = peekBuffered(n);
        skipBuffered(n);
        return v;
    }
    // Tops the buffer up to at least 57 bits, enough for any one LZH symbol
    // with its extra bits, so a decoder can skip the per-read refill test.
    void refill() {
        if (count_ <= 56) load();
    }
    // Refills when fewer than n (<= 57) bits are buffered.
    void ensure(int n) {
        if (count_ < n) load();
    }
    // True once a bit beyond the end of the packed data was consumed.
    bool overrun() const { return padded_ > count_; }
    // How many bits beyond the end were consumed (they read as zeros).
    int64_t overrunBits() const { return padded_ > count_ ? padded_ - count_ : 0; }

private:
    // count_ <= 56.
    void load() {
        if (end_ - next_ >= 8) {
            // Common case: one big-endian load, as many whole bytes taken as
            // fit. Bits of a partly taken byte may land below count_; they
            // are the stream's real next bits, which the next refill ORs in
            // again at the same place.
            uint64_t v;
            std::memcpy(&v, next_, 8);
            if constexpr (std::endian::native == std::endian::little) v = __builtin_bswap64(v);
            buf_ |= v >> count_;
            int bytes = (64 - count_) >> 3;  // count_ <= 56: at least one
            next_ += bytes;
            count_ += bytes * 8;
            return;
        }
        while (count_ <= 56) {
            uint8_t b = 0;
            if (next_ == end_) fillChunk();
            if (next_ != end_) b = *next_++;
            else padded_ += 8;
            buf_ |= static_cast<uint64_t>(b) << (56 - count_);
            count_ += 8;
        }
    }
    void fillChunk() {
        next_ = chunk_;
        end_ = chunk_ + in_.read(chunk_, sizeof chunk_);
    }

    SequentialReader& in_;
    // Packed bytes taken from in_ a chunk at a time; next_..end_ not yet in buf_.
    uint8_t chunk_[4096];
    const uint8_t* next_ = chunk_;
    const uint8_t* end_ = chunk_;
    uint64_t buf_ = 0;   // next bits, left-aligned
    int count_ = 0;      // valid bits in buf_
    int64_t padded_ = 0; // zero bits appended after the end of input
};

// Decoding table for a canonical code (codes assigned in order of length,
// then symbol), the form every LZH static Huffman block uses. A direct
// lookup on the first `bits` bits resolves short codes; longer ones fall back
// to a per-length search.
class LzhHuffman {
public:
    // The largest alphabet: 510 literal/length symbols of -lh4- .. -lh7-.
    static constexpr int kMaxSymbols = 510;
    // Code lengths never exceed 16 in any LZH method (the length fields cap them).
    static constexpr int kMaxLength = 16;
    // Widest lookup: 12 bits, as used for the literal/length alphabet.
    static constexpr int kMaxTableBits = 12;

    // lengths[i] in 0..16 (0 = unused). False when the lengths over-subscribe
    // the code space; an incomplete code is accepted and its holes decode to -1.
    bool build(const uint8_t* lengths, int count, int tableBits);
    // A one-symbol alphabet: every decode returns `symbol` and consumes no bits.
    void buildSingle(uint16_t symbol, int tableBits);

    int decode(LzhBitReader& br) const {
        uint16_t e = table_[br.peek(bits_)];
        if (e & kValid) {
            br.skip((e >> 10) & 0x1F);
            return e & 0x3FF;
        }
        return decodeLong(br);
    }
    // For a caller that knows the next code (<= 16 bits) is buffered.
    int decodeBuffered(LzhBitReader& br) const {
        uint16_t e = table_[br.peekBuffered(bits_)];
        if (e & kValid) {
            br.skipBuffered((e >> 10) & 0x1F);
            return e & 0x3FF;
        }
        return decodeLong(br);
    }

private:
    static constexpr uint16_t kValid = 0x8000;  // entry = valid | length << 10 | symbol
    int decodeLong(LzhBitReader& br) const;

    int bits_ = 1;
    uint16_t table_[1 << kMaxTableBits] = {};
    uint16_t count_[kMaxLength + 1] = {};
    uint32_t first_[kMaxLength + 1] = {};  // first canonical code of each length
    uint16_t index_[kMaxLength + 1] = {};  // where that length starts in sorted_
    uint16_t sorted_[kMaxSymbols] = {};
};

}  // namespace arc
