#include "lzx_encoder.h"

#include <algorithm>
#include <queue>
#include <stdexcept>

#include "cab_lzx_tables.h"

namespace lzxtest {

namespace {

using namespace arc::lzx;

constexpr uint64_t kE8Limit = 0x40000000;

// 16-bit little-endian words, most significant bit first, into the current frame.
class BitWriter {
public:
    void attach(std::vector<uint8_t>* out) { out_ = out; }
    void write(uint32_t value, unsigned n) {
        if (n == 0) return;
        acc_ = (acc_ << n) | (value & ((uint64_t{1} << n) - 1));
        count_ += n;
        while (count_ >= 16) {
            uint32_t word = static_cast<uint32_t>(acc_ >> (count_ - 16)) & 0xFFFF;
            out_->push_back(static_cast<uint8_t>(word));
            out_->push_back(static_cast<uint8_t>(word >> 8));
            count_ -= 16;
        }
    }
    void padToWord() {
        if (count_ != 0) write(0, 16 - count_);
    }
    // Uncompressed block alignment: 1..16 zero bits.
    // Returns true when a whole zero word was needed.
    bool padForStored() {
        bool whole = count_ == 0;
        write(0, whole ? 16 : 16 - count_);
        return whole;
    }

private:
    std::vector<uint8_t>* out_ = nullptr;
    uint64_t acc_ = 0;
    unsigned count_ = 0;
};

// Code lengths no longer than maxLen; at least two symbols get a code when any
// symbol is used, so the code is always complete.
std::vector<uint8_t> huffmanLengths(std::vector<uint32_t> freq, unsigned maxLen) {
    const size_t n = freq.size();
    std::vector<uint8_t> lens(n, 0);
    size_t used = std::count_if(freq.begin(), freq.end(), [](uint32_t f) { return f != 0; });
    if (used == 0) return lens;
    if (used == 1) {
        size_t s = std::find_if(freq.begin(), freq.end(), [](uint32_t f) { return f != 0; }) - freq.begin();
        freq[s == 0 ? 1 : 0] = 1;
    }
    for (;;) {
        struct Node {
            uint64_t weight;
            int left, right;
        };
        std::vector<Node> nodes;
        using Item = std::pair<uint64_t, int>;
        std::priority_queue<Item, std::vector<Item>, std::greater<Item>> heap;
        for (size_t s = 0; s < n; ++s) {
            if (freq[s] == 0) continue;
            nodes.push_back({freq[s], -1, static_cast<int>(s)});
            heap.push({freq[s], static_cast<int>(nodes.size() - 1)});
        }
        while (heap.size() > 1) {
            Item a = heap.top();
            heap.pop();
            Item b = heap.top();
            heap.pop();
            nodes.push_back({a.first + b.first, a.second, b.second});
            heap.push({a.first + b.first, static_cast<int>(nodes.size() - 1)});
        }
        unsigned maxDepth = 0;
        std::vector<std::pair<int, unsigned>> stack{{heap.top().second, 0}};
        while (!stack.empty()) {
            auto [i, depth] = stack.back();
            stack.pop_back();
            if (nodes[i].left < 0) {
                lens[nodes[i].right] = static_cast<uint8_t>(depth);
                maxDepth = std::max(maxDepth, depth);
            } else {
                stack.push_back({nodes[i].left, depth + 1});
                stack.push_back({nodes[i].right, depth + 1});
            }
        }
        if (maxDepth <= maxLen) return lens;
        for (auto& f : freq)
            if (f != 0) f = (f + 1) / 2;
    }
}

std::vector<uint32_t> canonicalCodes(const std::vector<uint8_t>& lens) {
    std::vector<uint32_t> codes(lens.size(), 0);
    uint32_t code = 0;
    for (unsigned len = 1; len <= kMaxCodeLength; ++len) {
        for (size_t s = 0; s < lens.size(); ++s)
            if (lens[s] == len) codes[s] = code++;
        code <<= 1;
    }
    return codes;
}

struct Token {
    uint32_t length;  // 0: literal
    uint32_t value;   // literal byte or match offset
};

struct CodedItem {
    uint16_t mainSym;
    int16_t lengthSym;  // -1: none
    uint8_t slot;
    uint32_t footer;
    uint32_t bytes;
};

class Encoder {
public:
    Encoder(const std::vector<uint8_t>& data, const LzxOptions& opt) : data_(data), opt_(opt) {
        if (opt.windowBits < kMinWindowBits || opt.windowBits > kMaxWindowBits)
            throw std::invalid_argument("window bits");
        mainSymbols_ = kNumChars + slotCount(opt.windowBits) * 8;
        mainPrev_.assign(mainSymbols_, 0);
        lengthPrev_.assign(kLengthSymbols, 0);
    }

    std::vector<std::vector<uint8_t>> run() {
        if (data_.empty()) return {};
        if (opt_.e8) {
            for (uint64_t off = 0; off < data_.size(); off += kFrameSize) {
                size_t len = std::min<size_t>(kFrameSize, data_.size() - off);
                e8Translate(data_.data() + off, len, off, opt_.e8Size);
            }
        }
        tokenize();
        frames_.emplace_back();
        bw_.attach(&frames_.back());
        nextFrameEnd_ = std::min<uint64_t>(kFrameSize, data_.size());
        bw_.write(opt_.e8 ? 1 : 0, 1);
        if (opt_.e8) {
            bw_.write(opt_.e8Size >> 16, 16);
            bw_.write(opt_.e8Size & 0xFFFF, 16);
        }
        size_t t = 0;
        int blockIndex = 0;
        while (t < tokens_.size()) {
            size_t end = t;
            uint64_t bytes = 0;
            const size_t target = blockIndex == 0 && opt_.firstBlockSize ? opt_.firstBlockSize : opt_.blockSize;
            while (end < tokens_.size() && (end == t || bytes < target)) {
                bytes += tokens_[end].length ? tokens_[end].length : 1;
                ++end;
            }
            if (blockIndex == opt_.storedBlock)
                writeStored(static_cast<uint32_t>(bytes));
            else
                writeCompressed(t, end, static_cast<uint32_t>(bytes));
            t = end;
            ++blockIndex;
        }
        return std::move(frames_);
    }

private:
    void tokenize() {
        const size_t n = data_.size();
        const uint32_t maxOffset = (1u << opt_.windowBits) - 3;
        constexpr unsigned kHashBits = 16;
        std::vector<int32_t> head(size_t{1} << kHashBits, -1), prev(n, -1);
        auto hash = [&](size_t p) {
            uint32_t v = data_[p] | (data_[p + 1] << 8) | (uint32_t{data_[p + 2]} << 16);
            return (v * 2654435761u) >> (32 - kHashBits);
        };
        auto insert = [&](size_t p) {
            if (p + 3 > n) return;
            uint32_t h = hash(p);
            prev[p] = head[h];
            head[h] = static_cast<int32_t>(p);
        };
        size_t pos = 0;
        while (pos < n) {
            size_t frameEnd = std::min<size_t>(n, (pos / kFrameSize + 1) * kFrameSize);
            size_t limit = std::min<size_t>(kMaxMatch, frameEnd - pos);
            uint32_t bestLen = 0, bestOff = 0;
            if (opt_.matches && limit >= 3 && pos + 3 <= n) {
                int32_t c = head[hash(pos)];
                for (unsigned chain = 0; c >= 0 && chain < opt_.maxChain; ++chain, c = prev[c]) {
                    size_t off = pos - static_cast<size_t>(c);
                    if (off > maxOffset) break;
                    uint32_t len = 0;
                    while (len < limit && data_[c + len] == data_[pos + len]) ++len;
                    if (len > bestLen) {
                        bestLen = len;
                        bestOff = static_cast<uint32_t>(off);
                        if (len == limit) break;
                    }
                }
            }
            if (bestLen >= 3) {
                tokens_.push_back({bestLen, bestOff});
                for (uint32_t k = 0; k < bestLen; ++k) insert(pos + k);
                pos += bestLen;
            } else {
                tokens_.push_back({0, data_[pos]});
                insert(pos);
                ++pos;
            }
        }
    }

    void advance(uint64_t bytes) {
        outPos_ += bytes;
        if (outPos_ == nextFrameEnd_) closeFrame();
    }
    void closeFrame() {
        bw_.padToWord();
        if (outPos_ >= data_.size()) return;
        frames_.emplace_back();
        bw_.attach(&frames_.back());
        nextFrameEnd_ = std::min<uint64_t>(nextFrameEnd_ + kFrameSize, data_.size());
    }

    void writeHeader(unsigned type, uint32_t bytes) {
        bw_.write(type, 3);
        bw_.write(bytes >> 8, 16);
        bw_.write(bytes & 0xFF, 8);
    }

    void writeStored(uint32_t bytes) {
        writeHeader(kUncompressed, bytes);
        ++stats_.storedBlocks;
        if (bw_.padForStored()) ++stats_.storedWholeWordPads;
        std::vector<uint8_t>* cur = &frames_.back();
        for (uint32_t r : r_)
            for (int k = 0; k < 4; ++k) cur->push_back(static_cast<uint8_t>(r >> (8 * k)));
        for (uint32_t i = 0; i < bytes; ++i) {
            frames_.back().push_back(data_[outPos_]);
            if (i + 1 < bytes) advance(1);
        }
        if (bytes & 1) frames_.back().push_back(0);  // pad byte stays with the last data byte
        advance(1);
    }

    void writeCompressed(size_t first, size_t last, uint32_t bytes) {
        const bool aligned = opt_.blockType == kAligned;
        std::vector<CodedItem> items;
        items.reserve(last - first);
        std::vector<uint32_t> mainFreq(mainSymbols_, 0), lengthFreq(kLengthSymbols, 0), alignedFreq(kAlignedSymbols, 1);
        for (size_t t = first; t < last; ++t) {
            const Token& tok = tokens_[t];
            CodedItem it{};
            if (tok.length == 0) {
                it = {static_cast<uint16_t>(tok.value), -1, 0, 0, 1};
            } else {
                unsigned header = std::min<unsigned>(tok.length - kMinMatch, kNumPrimaryLengths);
                it.lengthSym = header == kNumPrimaryLengths ? static_cast<int16_t>(tok.length - kMinMatch - kNumPrimaryLengths) : -1;
                it.bytes = tok.length;
                unsigned slot;
                ++stats_.matches;
                if (tok.value == r_[0] || tok.value == r_[1] || tok.value == r_[2])
                    ++stats_.repeatMatches;
                if (tok.value == r_[0]) {
                    slot = 0;
                } else if (tok.value == r_[1]) {
                    slot = 1;
                    std::swap(r_[0], r_[1]);
                } else if (tok.value == r_[2]) {
                    slot = 2;
                    std::swap(r_[0], r_[2]);
                } else {
                    uint32_t formatted = tok.value + 2;
                    slot = 3;
                    while (formatted >= kSlots.base[slot] + (1u << kSlots.bits[slot])) ++slot;
                    it.footer = formatted - kSlots.base[slot];
                    r_[2] = r_[1];
                    r_[1] = r_[0];
                    r_[0] = tok.value;
                    if (aligned && kSlots.bits[slot] >= 3) ++alignedFreq[it.footer & 7];
                }
                it.slot = static_cast<uint8_t>(slot);
                it.mainSym = static_cast<uint16_t>(kNumChars + slot * 8 + header);
                if (it.lengthSym >= 0) ++lengthFreq[it.lengthSym];
            }
            ++mainFreq[it.mainSym];
            items.push_back(it);
        }
        std::vector<uint8_t> mainLens = huffmanLengths(mainFreq, kMaxCodeLength);
        std::vector<uint8_t> lengthLens = huffmanLengths(lengthFreq, kMaxCodeLength);
        std::vector<uint8_t> alignedLens = huffmanLengths(alignedFreq, 7);

        if (aligned) {
            ++stats_.alignedBlocks;
            if (std::any_of(alignedLens.begin(), alignedLens.end(), [](uint8_t l) { return l != 3; }))
                ++stats_.alignedNonUniform;
        }
        writeHeader(aligned ? kAligned : kVerbatim, bytes);
        if (aligned)
            for (uint8_t l : alignedLens) bw_.write(l, 3);
        writeTree(mainLens, mainPrev_, 0, kNumChars);
        writeTree(mainLens, mainPrev_, kNumChars, mainSymbols_);
        writeTree(lengthLens, lengthPrev_, 0, kLengthSymbols);
        mainPrev_ = mainLens;
        lengthPrev_ = lengthLens;

        std::vector<uint32_t> mainCodes = canonicalCodes(mainLens), lengthCodes = canonicalCodes(lengthLens),
                              alignedCodes = canonicalCodes(alignedLens);
        for (const CodedItem& it : items) {
            bw_.write(mainCodes[it.mainSym], mainLens[it.mainSym]);
            if (it.lengthSym >= 0) bw_.write(lengthCodes[it.lengthSym], lengthLens[it.lengthSym]);
            if (it.mainSym >= kNumChars && it.slot >= 3) {
                unsigned bits = kSlots.bits[it.slot];
                if (aligned && bits >= 3) {
                    bw_.write(it.footer >> 3, bits - 3);
                    bw_.write(alignedCodes[it.footer & 7], alignedLens[it.footer & 7]);
                } else {
                    bw_.write(it.footer, bits);
                }
            }
            advance(it.bytes);
        }
    }

    // Pretree, then the lengths as deltas from the previous block's, with zero runs.
    void writeTree(const std::vector<uint8_t>& lens, const std::vector<uint8_t>& prev, unsigned first, unsigned last) {
        struct Item {
            uint8_t sym, extraBits;
            uint32_t extra;
        };
        std::vector<Item> items;
        std::vector<uint32_t> freq(kPretreeSymbols, 0);
        unsigned i = first;
        while (i < last) {
            unsigned run = 0;
            while (i + run < last && lens[i + run] == 0) ++run;
            if (run >= 20) {
                unsigned take = std::min(run, 51u);
                items.push_back({18, 5, take - 20});
                i += take;
            } else if (run >= 4) {
                unsigned take = std::min(run, 19u);
                items.push_back({17, 4, take - 4});
                i += take;
            } else {
                items.push_back({static_cast<uint8_t>((prev[i] + 17 - lens[i]) % 17), 0, 0});
                ++i;
            }
            ++freq[items.back().sym];
        }
        std::vector<uint8_t> preLens = huffmanLengths(freq, 15);
        std::vector<uint32_t> preCodes = canonicalCodes(preLens);
        for (uint8_t l : preLens) bw_.write(l, 4);
        for (const Item& it : items) {
            bw_.write(preCodes[it.sym], preLens[it.sym]);
            bw_.write(it.extra, it.extraBits);
        }
    }

public:
    LzxStats stats_;

private:
    std::vector<uint8_t> data_;  // E8-translated copy
    const LzxOptions opt_;
    unsigned mainSymbols_;
    std::vector<Token> tokens_;
    std::vector<uint8_t> mainPrev_, lengthPrev_;
    uint32_t r_[3] = {1, 1, 1};
    std::vector<std::vector<uint8_t>> frames_;
    BitWriter bw_;
    uint64_t outPos_ = 0;
    uint64_t nextFrameEnd_ = 0;
};

}  // namespace

void e8Translate(uint8_t* frame, size_t len, uint64_t frameOffset, uint32_t e8Size) {
    if (len <= 10 || frameOffset >= kE8Limit) return;
    const int64_t size = e8Size;
    for (size_t i = 0; i + 10 < len; ++i) {
        if (frame[i] != 0xE8) continue;
        int64_t cur = static_cast<int64_t>(frameOffset + i);
        uint8_t* p = frame + i + 1;
        int32_t rel = static_cast<int32_t>(p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t{p[3]} << 24));
        if (rel >= -cur && rel < size) {
            int64_t abs = rel < size - cur ? rel + cur : rel - size;
            uint32_t v = static_cast<uint32_t>(abs);
            for (int k = 0; k < 4; ++k) p[k] = static_cast<uint8_t>(v >> (8 * k));
        }
        i += 4;
    }
}

std::vector<std::vector<uint8_t>> lzxEncode(const std::vector<uint8_t>& data, const LzxOptions& opt, LzxStats* stats) {
    Encoder enc(data, opt);
    auto frames = enc.run();
    if (stats) *stats = enc.stats_;
    return frames;
}

}  // namespace lzxtest
