// Test-only LZX compressor for CAB folders: greedy hash-chain matching,
// verbatim or aligned-offset blocks (optionally one stored uncompressed),
// 32 KiB frames, optional E8 call translation. Not shipped.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace lzxtest {

struct LzxOptions {
    unsigned windowBits = 16;       // 15..21
    bool e8 = false;                // write the translation header and translate E8 operands
    uint32_t e8Size = 12000000;     // translation size stored in the header
    unsigned blockType = 1;         // 1 verbatim, 2 aligned offsets
    size_t blockSize = 40000;       // target uncompressed bytes per block (blocks span frames)
    size_t firstBlockSize = 0;      // size target of block 0 alone; 0: blockSize
    int storedBlock = -1;           // index of the block to write uncompressed, -1 for none
    bool matches = true;            // false: literals only
    unsigned maxChain = 32;         // hash-chain positions tried per byte
};

struct LzxStats {
    unsigned storedBlocks = 0;
    unsigned storedWholeWordPads = 0;  // stored headers that ended on a word boundary
    unsigned alignedBlocks = 0;
    unsigned alignedNonUniform = 0;    // aligned blocks whose aligned code is not plain 3-bit
    unsigned matches = 0;
    unsigned repeatMatches = 0;        // coded with R0/R1/R2
};

// One payload per frame of 32768 output bytes (the last may be shorter);
// frames[i] is CFDATA block i's data. Empty input gives no frames.
std::vector<std::vector<uint8_t>> lzxEncode(const std::vector<uint8_t>& data, const LzxOptions& opt,
                                            LzxStats* stats = nullptr);

// Encoder-side E8 translation of one frame (relative call targets to absolute),
// exposed so tests can build the expected translated stream.
void e8Translate(uint8_t* frame, size_t len, uint64_t frameOffset, uint32_t e8Size);

}  // namespace lzxtest
