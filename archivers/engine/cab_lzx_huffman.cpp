#include "cab_lzx_huffman.h"

#include <algorithm>

namespace arc::lzx {

HuffmanDecoder::Build HuffmanDecoder::build(const uint8_t* lengths, unsigned n, unsigned maxLength) {
    empty_ = true;
    std::fill(table_.begin(), table_.end(), 0u);
    if (n > kMaxMainSymbols || maxLength > kMaxCodeLength) return Build::Bad;
    std::fill(std::begin(count_), std::end(count_), uint16_t{0});
    for (unsigned s = 0; s < n; ++s) {
        if (lengths[s] > maxLength) return Build::Bad;
        ++count_[lengths[s]];
    }
    count_[0] = 0;
    // Kraft sum in units of 2^-16: exactly 2^16 for a complete code.
    uint32_t kraft = 0;
    for (unsigned len = 1; len <= kMaxCodeLength; ++len) kraft += uint32_t{count_[len]} << (kMaxCodeLength - len);
    if (kraft == 0) return Build::Empty;
    if (kraft != (1u << kMaxCodeLength)) return Build::Bad;

    uint32_t code = 0;
    uint16_t index = 0;
    for (unsigned len = 1; len <= kMaxCodeLength; ++len) {
        code <<= 1;
        firstCode_[len] = code;
        firstIndex_[len] = index;
        code += count_[len];
        index = static_cast<uint16_t>(index + count_[len]);
    }
    uint16_t next[kMaxCodeLength + 1];
    std::copy(std::begin(firstIndex_), std::end(firstIndex_), next);
    for (unsigned s = 0; s < n; ++s)
        if (lengths[s] != 0) sorted_[next[lengths[s]]++] = static_cast<uint16_t>(s);

    // Short codes fill every table slot that starts with them; slots left at 0
    // begin a code longer than the table.
    for (unsigned len = 1; len <= std::min(tableBits_, kMaxCodeLength); ++len) {
        for (unsigned i = 0; i < count_[len]; ++i) {
            uint32_t c = firstCode_[len] + i;
            uint32_t sym = sorted_[firstIndex_[len] + i];
            unsigned shift = tableBits_ - len;
            uint32_t entry = sym | (len << 16);
            std::fill_n(table_.begin() + (size_t{c} << shift), size_t{1} << shift, entry);
        }
    }
    empty_ = false;
    return Build::Ok;
}

uint32_t HuffmanDecoder::entryLong(uint32_t bits) const {
    if (empty_) return 0;
    for (unsigned len = tableBits_ + 1; len <= kMaxCodeLength; ++len) {
        uint32_t c = bits >> (kMaxCodeLength - len);
        uint32_t d = c - firstCode_[len];
        if (c >= firstCode_[len] && d < count_[len]) {
            return sorted_[firstIndex_[len] + d] | (len << 16);
        }
    }
    return 0;  // unreachable for a complete code
}

}  // namespace arc::lzx
