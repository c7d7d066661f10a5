// -lh1- and -lh2-: adaptive Huffman codes that are rebuilt after every
// symbol, so encoder and decoder must update their trees identically.
//
// The tree lives in arrays ordered by falling frequency (root at the lowest
// index). Nodes of equal frequency form a "block" whose leader is its
// lowest-indexed node; incrementing a node first swaps it with its block
// leader, which keeps the order without a search. When the root count reaches
// 0x8000 all counts are halved and the tree is rebuilt.
//
// -lh1- uses that tree for 314 literal/length symbols and a fixed code for
// the upper 6 bits of a 12-bit position. -lh2- has 286 symbols (the last one
// is followed by 8 extra bits, giving lengths up to 256) and a second adaptive
// tree for positions that gains one leaf for every 64 bytes of output until
// the 8 KiB dictionary is covered.
#include "lzh_decoders.h"

namespace arc {

namespace {

constexpr int kCharSymbols = 314;             // 256 literals + lengths 3..60 (-lh1-)
constexpr int kCharTree = kCharSymbols * 2;   // nodes of the literal tree (2n - 1, rounded up)
constexpr int kPosLeaves = 128;               // 8 KiB / 64: position leaves of -lh2-
constexpr int kTree = kCharTree + kPosLeaves * 2;
constexpr int kRootC = 0;
constexpr int kRootP = kCharTree;
constexpr uint16_t kMaxFreq = 0x8000;

class AdaptiveTrees {
public:
    void startChars(int symbols) {
        symbols_ = symbols;
        for (int i = 0; i < kTree; ++i) stock_[i] = static_cast<int16_t>(i);
        int j = symbols * 2 - 2;
        for (int i = 0; i < symbols; ++i, --j) {
            freq_[j] = 1;
            child_[j] = static_cast<int16_t>(~i);
            leaf_[i] = static_cast<int16_t>(j);
            block_[j] = 1;
        }
        avail_ = 2;
        edge_[1] = static_cast<int16_t>(symbols - 1);
        int i = symbols * 2 - 2;
        while (j >= 0) {
            uint16_t f = freq_[j] = static_cast<uint16_t>(freq_[i] + freq_[i - 1]);
            child_[j] = static_cast<int16_t>(i);
            parent_[i] = parent_[i - 1] = static_cast<int16_t>(j);
            if (f == freq_[j + 1]) edge_[block_[j] = block_[j + 1]] = static_cast<int16_t>(j);
            else edge_[block_[j] = newBlock()] = static_cast<int16_t>(j);
            i -= 2;
            --j;
        }
    }

    void startPositions(int dictBits) {
        freq_[kRootP] = 1;
        child_[kRootP] = static_cast<int16_t>(~kCharSymbols);
        leaf_[kCharSymbols] = kRootP;
        edge_[block_[kRootP] = newBlock()] = kRootP;
        mostP_ = kRootP;
        totalP_ = 0;
        posLimit_ = uint64_t{1} << dictBits;
        nextCount_ = 64;
    }

    // Walks the literal tree; -1 on a broken tree (cannot happen with our own
    // updates, but the loop stays bounded).
    int decodeChar(LzhBitReader& br) {
        int c = child_[kRootC];
        for (int depth = 0; c > 0; ++depth) {
            if (depth >= kCharTree) return -1;
            c = child_[c - static_cast<int>(br.get(1))];
        }
        int sym = ~c;
        if (sym < 0 || sym >= symbols_) return -1;
        updateChar(sym);
        return sym;
    }

    int decodePosition(LzhBitReader& br, uint64_t produced) {
        while (produced > nextCount_) {
            addPositionLeaf(static_cast<int>(nextCount_ / 64));
            nextCount_ += 64;
            if (nextCount_ >= posLimit_) nextCount_ = UINT64_MAX;
        }
        int c = child_[kRootP];
        for (int depth = 0; c > 0; ++depth) {
            if (depth >= kPosLeaves * 2 || c - 1 < kRootP) return -1;
            c = child_[c - static_cast<int>(br.get(1))];
        }
        int p = ~c - kCharSymbols;
        if (p < 0 || p >= kPosLeaves) return -1;
        updatePosition(p);
        return p;
    }

    bool broken() const { return broken_; }

private:
    int16_t newBlock() {
        if (avail_ >= kTree) {
            broken_ = true;
            return 0;
        }
        return stock_[avail_++];
    }
    void freeBlock(int b) {
        if (avail_ > 0) stock_[--avail_] = static_cast<int16_t>(b);
    }

    // Rebuilds nodes [start, end) from their leaves with halved counts.
    void rebuild(int start, int end) {
        int j = start;
        for (int i = start; i < end; ++i) {
            if (child_[i] < 0) {
                freq_[j] = static_cast<uint16_t>((freq_[i] + 1) / 2);
                child_[j] = child_[i];
                ++j;
            }
            if (edge_[block_[i]] == i) freeBlock(block_[i]);
        }
        --j;  // last leaf, lowest count
        int i = end - 1;
        int pair = end - 2;  // nodes pair and pair + 1 get a parent
        while (i >= start) {
            while (i >= pair) {
                freq_[i] = freq_[j];
                child_[i] = child_[j];
                --i;
                --j;
            }
            uint16_t f = static_cast<uint16_t>(freq_[pair] + freq_[pair + 1]);
            int k = start;
            while (k < end && f < freq_[k]) ++k;
            while (j >= k) {
                freq_[i] = freq_[j];
                child_[i] = child_[j];
                --i;
                --j;
            }
            freq_[i] = f;
            child_[i] = static_cast<int16_t>(pair + 1);
            --i;
            pair -= 2;
        }
        uint16_t f = 0;
        int16_t b = 0;
        for (int n = start; n < end; ++n) {
            int c = child_[n];
            if (c < 0) leaf_[~c] = static_cast<int16_t>(n);
            else parent_[c] = parent_[c - 1] = static_cast<int16_t>(n);
            if (freq_[n] == f && n != start) {
                block_[n] = b;
            } else {
                edge_[b = block_[n] = newBlock()] = static_cast<int16_t>(n);
                f = freq_[n];
            }
        }
    }

    // Increments node p, keeping the frequency order; returns its parent.
    int increment(int p) {
        int b = block_[p];
        int q = edge_[b];
        bool leaderMoves;
        if (q != p) {
            // Exchange p's subtree with the leader's, then count at the leader.
            int r = child_[p], s = child_[q];
            child_[p] = static_cast<int16_t>(s);
            child_[q] = static_cast<int16_t>(r);
            if (r >= 0) parent_[r] = parent_[r - 1] = static_cast<int16_t>(q);
            else leaf_[~r] = static_cast<int16_t>(q);
            if (s >= 0) parent_[s] = parent_[s - 1] = static_cast<int16_t>(p);
            else leaf_[~s] = static_cast<int16_t>(p);
            p = q;
            leaderMoves = true;
        } else {
            leaderMoves = b == block_[p + 1];
        }
        if (leaderMoves) {
            ++edge_[b];  // p leaves the front of its block
            if (++freq_[p] == freq_[p - 1]) block_[p] = block_[p - 1];
            else edge_[block_[p] = newBlock()] = static_cast<int16_t>(p);
        } else if (++freq_[p] == freq_[p - 1]) {
            freeBlock(b);  // p was alone in its block and now joins the one above
            block_[p] = block_[p - 1];
        }
        return parent_[p];
    }

    void updateChar(int sym) {
        if (freq_[kRootC] == kMaxFreq) rebuild(0, symbols_ * 2 - 1);
        ++freq_[kRootC];
        int q = leaf_[sym];
        do q = increment(q);
        while (q != kRootC && !broken_);
    }

    void updatePosition(int p) {
        if (totalP_ == kMaxFreq) {
            rebuild(kRootP, mostP_ + 1);
            totalP_ = freq_[kRootP];
            freq_[kRootP] = 0xFFFF;
        }
        int q = leaf_[p + kCharSymbols];
        while (q != kRootP && !broken_) q = increment(q);
        ++totalP_;
    }

    // Splits the last leaf into itself and a new zero-count leaf for position p.
    void addPositionLeaf(int p) {
        if (p >= kPosLeaves || mostP_ + 2 >= kTree) {
            broken_ = true;
            return;
        }
        int r = mostP_ + 1, q = r + 1;
        child_[r] = child_[mostP_];
        leaf_[~child_[r]] = static_cast<int16_t>(r);
        child_[q] = static_cast<int16_t>(~(p + kCharSymbols));
        child_[mostP_] = static_cast<int16_t>(q);
        freq_[r] = freq_[mostP_];
        freq_[q] = 0;
        block_[r] = block_[mostP_];
        if (mostP_ == kRootP) {
            freq_[kRootP] = 0xFFFF;
            ++edge_[block_[kRootP]];
        }
        parent_[r] = parent_[q] = static_cast<int16_t>(mostP_);
        edge_[block_[q] = newBlock()] = static_cast<int16_t>(q);
        leaf_[p + kCharSymbols] = static_cast<int16_t>(q);
        mostP_ = q;
        updatePosition(p);
    }

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

// The fixed -lh1- position code: bit counts step up at these symbols,
// starting at 3 bits (1 code of 3 bits, 3 of 4, 8 of 5, 12 of 6, 24 of 7, 16 of 8).
void fixedPositionLengths(uint8_t* lens) {
    static const int steps[] = {1, 4, 12, 24, 48};
    int len = 3, s = 0;
    for (int i = 0; i < 64; ++i) {
        while (s < 5 && steps[s] == i) ++len, ++s;
        lens[i] = static_cast<uint8_t>(len);
    }
}

}  // namespace

Status lzhDecodeLh1(LzhBitReader& br, LzhWindow& out) {
    auto trees = std::make_unique<AdaptiveTrees>();
    trees->startChars(kCharSymbols);
    uint8_t lens[64];
    fixedPositionLengths(lens);
    LzhHuffman pos;
    pos.build(lens, 64, 8);
    while (out.remaining() > 0) {
        br.refill();
        int c = trees->decodeChar(br);
        if (c < 0 || trees->broken()) return Status::BrokenData;
        if (c < 256) {
            out.put(static_cast<uint8_t>(c));
        } else {
            int hi = pos.decode(br);
            if (hi < 0) return Status::BrokenData;
            size_t dist = (static_cast<size_t>(hi) << 6 | br.get(6)) + 1;  // <= 4096
            out.copy(dist, static_cast<size_t>(c - 253));
        }
        if (br.overrun()) return Status::UnexpectedEof;
    }
    return Status::Ok;
}

Status lzhDecodeLh2(LzhBitReader& br, LzhWindow& out) {
    constexpr int kSymbols = 286;       // 256 literals + 30 length codes
    constexpr int kExtended = kSymbols - 1;  // followed by 8 bits: lengths 32..287
    auto trees = std::make_unique<AdaptiveTrees>();
    trees->startChars(kSymbols);
    trees->startPositions(13);
    const uint64_t total = out.remaining();
    while (out.remaining() > 0) {
        br.refill();
        int c = trees->decodeChar(br);
        if (c < 0 || trees->broken()) return Status::BrokenData;
        if (c == kExtended) c += static_cast<int>(br.get(8));
        if (c < 256) {
            out.put(static_cast<uint8_t>(c));
        } else {
            int hi = trees->decodePosition(br, total - out.remaining());
            if (hi < 0 || trees->broken()) return Status::BrokenData;
            size_t dist = (static_cast<size_t>(hi) << 6 | br.get(6)) + 1;  // <= 8192
            out.copy(dist, static_cast<size_t>(c - 253));
        }
        if (br.overrun()) return Status::UnexpectedEof;
    }
    return Status::Ok;
}

}  // namespace arc
