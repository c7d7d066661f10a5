// The adaptive Huffman trees of -lh1- and -lh2-: rebuilt after every symbol,
// so encoder and decoder must update them identically.
//
// Nodes live in arrays ordered by falling frequency (root at the lowest
// index). Nodes of equal frequency form a "block" whose leader is its
// lowest-indexed node; incrementing a node first swaps it with its block
// leader, which keeps the order without a search. When the root count reaches
// 0x8000 all counts are halved and the tree is rebuilt. An internal node n
// has children child[n] (bit 0) and child[n] - 1 (bit 1); a leaf stores ~symbol.
//
// The literal/length tree has 314 symbols for -lh1- (lengths 3..60) and 286
// for -lh2-. -lh2- also grows a position tree: one leaf (upper 6 bits of a
// 13-bit position) at the start and one more for every 64 bytes of output
// until the 8 KiB dictionary is covered.
//
// While the position tree is a single leaf, that leaf (the root) does not
// count its uses: it enters the first split with a count of 1 whatever came
// before. That is the method as published, which the LHA encoders follow;
// jlha's -lh2- coder counts those uses instead, so its streams and ours part
// ways after the first 64 bytes whenever a match occurred in them.
#pragma once

#include <cstdint>

#include "lzh_bits.h"

namespace arc {

class LzhAdaptiveTrees {
public:
    static constexpr int kCharSymbols = 314;             // largest literal/length alphabet (-lh1-)
    static constexpr int kPosLeaves = 128;               // 8 KiB / 64: position leaves of -lh2-
    static constexpr int kCharTree = kCharSymbols * 2;   // literal tree nodes (2n - 1, rounded up)
    static constexpr int kTree = kCharTree + kPosLeaves * 2;
    static constexpr int kRootC = 0;
    static constexpr int kRootP = kCharTree;

    void startChars(int symbols);
    void startPositions(int dictBits);

    // Decoding: walk from the root, then count the symbol. -1 on a broken
    // tree (cannot happen with our own updates, but the walk stays bounded).
    int decodeChar(LzhBitReader& br);
    int decodePosition(LzhBitReader& br, uint64_t produced);

    // Encoding side (tests write streams with it): the code of a symbol, one
    // bit per byte in sending order (room for kCodeRoom), then the same
    // update the decoder does. Adaptive trees can grow deeper than 32 levels.
    static constexpr int kCodeRoom = kCharTree;
    int charCode(int symbol, uint8_t* bits) const { return pathOf(leaf_[symbol], kRootC, bits); }
    int positionCode(uint64_t produced, int position, uint8_t* bits);
    void countChar(int symbol) { updateChar(symbol); }
    void countPosition(int position) { updatePosition(position); }

    bool broken() const { return broken_; }

private:
    int16_t newBlock();
    void freeBlock(int b);
    void rebuild(int start, int end);
    int increment(int p);
    void updateChar(int sym);
    void updatePosition(int p);
    void growPositions(uint64_t produced);
    void addPositionLeaf(int p);
    int pathOf(int node, int root, uint8_t* bits) const;

    int symbols_ = 0;
    int avail_ = 0;
    int mostP_ = kRootP;
    uint16_t totalP_ = 0;
    uint64_t nextCount_ = 0, posLimit_ = 0;
    bool broken_ = false;
    // One spare slot past the last node: increment() peeks at block_[p + 1].
    uint16_t freq_[kTree + 1] = {};
    int16_t child_[kTree + 1] = {}, parent_[kTree + 1] = {}, block_[kTree + 1] = {}, edge_[kTree + 1] = {};
    int16_t stock_[kTree + 1] = {};
    int16_t leaf_[kCharSymbols + kPosLeaves] = {};
};

}  // namespace arc
