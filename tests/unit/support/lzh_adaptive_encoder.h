// Test-only encoder for -lh1- and -lh2-: greedy LZ77 over hash chains, coded
// with the decoder's own adaptive trees (the format updates both sides the
// same way, so the trees are shared; the cross-checks with jlha are what tie
// them to an independent reading).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "lzh_bit_writer.h"

namespace lzhtest {

// Literals and matches of `data`: distances up to maxDist, lengths 3..maxLen.
std::vector<Token> tokenize(const Bytes& data, size_t maxDist, size_t maxLen);

struct Packed {
    Bytes bytes;
    size_t bits = 0;  // meaningful bits; the last byte is padded with zeros
};

// -lh1- (314 literal/length symbols, fixed position code) or -lh2- (286
// symbols, the last with 8 extra bits; adaptive position tree).
Packed encodeAdaptive(const std::vector<Token>& tokens, bool lh2);

}  // namespace lzhtest
