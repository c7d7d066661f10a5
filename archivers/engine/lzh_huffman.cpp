#include "lzh_bits.h"

#include <algorithm>
#include <cstring>

namespace arc {

bool LzhHuffman::build(const uint8_t* lengths, int count, int tableBits) {
    if (count > kMaxSymbols || tableBits > kMaxTableBits || tableBits < 1) return false;
    bits_ = tableBits;
    std::fill(std::begin(count_), std::end(count_), 0);
    for (int i = 0; i < count; ++i) {
        if (lengths[i] > kMaxLength) return false;
        ++count_[lengths[i]];
    }
    count_[0] = 0;
    // Kraft sum in units of 2^-16: more than the whole code space means two
    // symbols would share a code.
    uint32_t used = 0;
    for (int len = 1; len <= kMaxLength; ++len) used += static_cast<uint32_t>(count_[len]) << (kMaxLength - len);
    if (used > (1u << kMaxLength)) return false;

    uint32_t code = 0;
    uint16_t at = 0;
    for (int len = 1; len <= kMaxLength; ++len) {
        code = (code + (len > 1 ? count_[len - 1] : 0)) << (len > 1 ? 1 : 0);
        first_[len] = code;
        index_[len] = at;
        at = static_cast<uint16_t>(at + count_[len]);
    }
    uint32_t next[kMaxLength + 1];
    uint16_t fill[kMaxLength + 1];
    std::copy(std::begin(first_), std::end(first_), next);
    std::copy(std::begin(index_), std::end(index_), fill);
    std::memset(table_, 0, sizeof(table_[0]) << bits_);
    for (int sym = 0; sym < count; ++sym) {
        int len = lengths[sym];
        if (len == 0) continue;
        sorted_[fill[len]++] = static_cast<uint16_t>(sym);
        uint32_t c = next[len]++;
        if (len <= bits_) {
            uint32_t start = c << (bits_ - len), span = 1u << (bits_ - len);
            uint16_t e = static_cast<uint16_t>(kValid | (len << 10) | sym);
            if (span >= 4) {  // a power of two: whole groups of four entries
                const uint64_t e4 = e * 0x0001000100010001ull;
                for (uint32_t i = 0; i < span; i += 4) std::memcpy(table_ + start + i, &e4, sizeof e4);
            } else {
                std::fill(table_ + start, table_ + start + span, e);
            }
        }
    }
    return true;
}

void LzhHuffman::buildSingle(uint16_t symbol, int tableBits) {
    bits_ = tableBits;
    std::fill(std::begin(count_), std::end(count_), 0);
    std::fill(table_, table_ + (1 << bits_), static_cast<uint16_t>(kValid | symbol));
}

int LzhHuffman::decodeLong(LzhBitReader& br) const {
    uint32_t code = br.peek(kMaxLength);
    for (int len = bits_ + 1; len <= kMaxLength; ++len) {
        uint32_t c = code >> (kMaxLength - len);
        uint32_t rel = c - first_[len];
        if (c >= first_[len] && rel < count_[len]) {
            br.skip(len);
            return sorted_[index_[len] + rel];
        }
    }
    return -1;
}

}  // namespace arc
