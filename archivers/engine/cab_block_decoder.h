// One CAB folder's compressed data, decoded one CFDATA block at a time.
// The container reader owns the blocks and their checksums; a decoder only
// turns one block's payload into exactly the byte count the block declares.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "status.h"

namespace arc {

// Decoder state (window, trees, repeated offsets) carries over between blocks
// of one folder; a new folder gets a new decoder.
class CabBlockDecoder {
public:
    virtual ~CabBlockDecoder() = default;
    // in/inLen: one CFDATA block's compressed payload; out/outLen: exactly the
    // uncompressed byte count the block declares (1..32768).
    virtual Status decodeBlock(const uint8_t* in, size_t inLen, uint8_t* out, size_t outLen) = 0;
};

// windowBits 15..21 (cab_lzx*.cpp). Null when not available.
std::unique_ptr<CabBlockDecoder> makeLzxDecoder(unsigned windowBits);
// windowBits 10..21.
std::unique_ptr<CabBlockDecoder> makeQuantumDecoder(unsigned windowBits);
std::unique_ptr<CabBlockDecoder> makeMszipDecoder();

}  // namespace arc
