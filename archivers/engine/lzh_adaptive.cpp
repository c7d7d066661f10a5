#include "lzh_adaptive.h"

namespace arc {

namespace {
constexpr uint16_t kMaxFreq = 0x8000;
}

void LzhAdaptiveTrees::startChars(int symbols) {
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

void LzhAdaptiveTrees::startPositions(int dictBits) {
    freq_[kRootP] = 1;
    child_[kRootP] = static_cast<int16_t>(~kCharSymbols);
    leaf_[kCharSymbols] = kRootP;
    edge_[block_[kRootP] = newBlock()] = kRootP;
    mostP_ = kRootP;
    totalP_ = 0;
    posLimit_ = uint64_t{1} << dictBits;
    nextCount_ = 64;
}

int LzhAdaptiveTrees::decodeChar(LzhBitReader& br) {
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

int LzhAdaptiveTrees::decodePosition(LzhBitReader& br, uint64_t produced) {
    growPositions(produced);
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

int LzhAdaptiveTrees::positionCode(uint64_t produced, int position, uint8_t* bits) {
    growPositions(produced);
    if (position < 0 || position > (mostP_ - kRootP) / 2) return -1;  // no leaf yet
    return pathOf(leaf_[position + kCharSymbols], kRootP, bits);
}

int LzhAdaptiveTrees::pathOf(int node, int root, uint8_t* bits) const {
    int len = 0;
    while (node != root && len < kCodeRoom) {
        int up = parent_[node];
        bits[len++] = child_[up] == node ? 0 : 1;
        node = up;
    }
    for (int i = 0; i < len / 2; ++i) {  // collected leaf first; sent root first
        uint8_t t = bits[i];
        bits[i] = bits[len - 1 - i];
        bits[len - 1 - i] = t;
    }
    return len;
}

int16_t LzhAdaptiveTrees::newBlock() {
    if (avail_ >= kTree) {
        broken_ = true;
        return 0;
    }
    return stock_[avail_++];
}

void LzhAdaptiveTrees::freeBlock(int b) {
    if (avail_ > 0) stock_[--avail_] = static_cast<int16_t>(b);
}

// Rebuilds nodes [start, end) from their leaves with halved counts.
void LzhAdaptiveTrees::rebuild(int start, int end) {
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
int LzhAdaptiveTrees::increment(int p) {
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

void LzhAdaptiveTrees::updateChar(int sym) {
    if (freq_[kRootC] == kMaxFreq) rebuild(0, symbols_ * 2 - 1);
    ++freq_[kRootC];
    int q = leaf_[sym];
    do q = increment(q);
    while (q != kRootC && !broken_);
}

void LzhAdaptiveTrees::updatePosition(int p) {
    if (totalP_ == kMaxFreq) {
        rebuild(kRootP, mostP_ + 1);
        totalP_ = freq_[kRootP];
        freq_[kRootP] = 0xFFFF;
    }
    // While the tree is a lone leaf (the root), nothing is counted: the
    // leaf keeps its starting count of 1 until the first split.
    int q = leaf_[p + kCharSymbols];
    while (q != kRootP && !broken_) q = increment(q);
    ++totalP_;
}

void LzhAdaptiveTrees::growPositions(uint64_t produced) {
    while (produced > nextCount_ && !broken_) {
        addPositionLeaf(static_cast<int>(nextCount_ / 64));
        nextCount_ += 64;
        if (nextCount_ >= posLimit_) nextCount_ = UINT64_MAX;
    }
}

// Splits the last leaf into itself and a new leaf for position p, counted once.
void LzhAdaptiveTrees::addPositionLeaf(int p) {
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

}  // namespace arc
