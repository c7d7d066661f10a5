// Canonical Huffman decoding for LZX trees: one direct lookup table indexed by
// the next tableBits bits; the rare longer codes finish by a canonical walk.
#pragma once

#include <cstdint>
#include <vector>

#include "cab_lzx_bits.h"
#include "cab_lzx_tables.h"

namespace arc::lzx {

class HuffmanDecoder {
public:
    enum class Build { Ok, Empty, Bad };

    // tableBits <= kMaxCodeLength. Table memory: 2^tableBits entries.
    explicit HuffmanDecoder(unsigned tableBits) : tableBits_(tableBits), table_(size_t{1} << tableBits) {}

    // lengths[0..n) in 0..maxLength. Bad for an over-subscribed or incomplete
    // code or a length above maxLength; Empty (decode always fails) when every
    // length is zero, which LZX allows for a tree the block never uses.
    Build build(const uint8_t* lengths, unsigned n, unsigned maxLength);

    // Next symbol, or -1 when the tree is empty.
    int decode(BitReader& br) {
        uint32_t e = table_[br.peek(tableBits_)];
        unsigned len = e >> 16;
        if (len != 0) {
            br.skip(len);
            return static_cast<int>(e & 0xFFFF);
        }
        return decodeLong(br);
    }

    // For hot loops that keep the table pointer in a register. Entry: symbol |
    // length << 16; length 0 means finish with decodeLong().
    const uint32_t* table() const { return table_.data(); }
    int decodeLong(BitReader& br) {
        uint32_t e = entryLong(br.peek(kMaxCodeLength));
        if (e == 0) return -1;
        br.skip(e >> 16);
        return static_cast<int>(e & 0xFFFF);
    }
    // The same on the next kMaxCodeLength bits of the stream, as a table
    // entry; 0 when the tree is empty.
    uint32_t entryLong(uint32_t bits) const;

private:

    unsigned tableBits_;
    bool empty_ = true;
    std::vector<uint32_t> table_;  // symbol | length << 16; length 0: longer code (or empty tree)
    // Canonical walk for codes longer than tableBits_:
    uint16_t count_[kMaxCodeLength + 1] = {};
    uint32_t firstCode_[kMaxCodeLength + 1] = {};
    uint16_t firstIndex_[kMaxCodeLength + 1] = {};
    uint16_t sorted_[kMaxMainSymbols] = {};  // symbols by (length, value); main tree is the largest
};

}  // namespace arc::lzx
