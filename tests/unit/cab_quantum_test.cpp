// Quantum decoder against a small encoder written here: arithmetic coding over
// the shared models, a greedy LZ77 matcher, raw extra bits interleaved where
// the decoder reads them, the coder flushed and restarted at every block.
// The one real Quantum folder (mszip_lzx_qtm.cab) is checked with the real archives.
#include <gtest/gtest.h>

#include <cstring>

#include "cab_block_decoder.h"
#include "cab_quantum_model.h"

namespace {

using arc::Status;
using Bytes = std::vector<uint8_t>;
namespace q = arc::quantum;

class QuantumEncoder {
public:
    explicit QuantumEncoder(unsigned windowBits) : bits_(windowBits), window_(size_t(1) << windowBits) {
        for (unsigned i = 0; i < 4; ++i) literal_[i].init(64 * i, 64);
        match3_.init(0, std::min(2 * windowBits, 24u));
        match4_.init(0, std::min(2 * windowBits, 36u));
        matchLong_.init(0, std::min(2 * windowBits, 42u));
        length_.init(0, 27);
        selector_.init(0, 7);
    }

    // One block: the bytes data[from, to) with history data[0, from).
    // `crossingMatch` lets the last match run past `to` (a corrupt stream).
    Bytes block(const Bytes& data, size_t from, size_t to, bool crossingMatch = false) {
        low_ = 0;
        high_ = 0xFFFF;
        pending_ = 0;
        code_.clear();
        raw_.clear();
        size_t i = from;
        while (i < to) {
            size_t offset = 0, len = 0;
            findMatch(data, i, crossingMatch ? data.size() : to, &offset, &len);
            if (len >= 3 && emitMatch(offset, len)) {
                i += len;
                continue;
            }
            unsigned byte = data[i++];
            encode(selector_, byte >> 6);
            encode(literal_[byte >> 6], byte);
        }
        flush();
        return pack();
    }

private:
    void findMatch(const Bytes& data, size_t at, size_t limit, size_t* offset, size_t* len) {
        const size_t maxBack = std::min(at, window_);
        const size_t maxLen = std::min<size_t>(259, limit - at);
        // Probe a few distances, near ones first and some far ones, enough to produce every selector.
        for (size_t back = 1; back <= maxBack; back = back < 64 ? back + 1 : back * 2 - back / 3) {
            size_t n = 0;
            while (n < maxLen && data[at + n] == data[at - back + n]) ++n;
            if (n > *len) *len = n, *offset = back;
        }
    }

    static unsigned slotOf(const uint32_t* base, unsigned count, uint32_t v) {
        unsigned s = 0;
        while (s + 1 < count && base[s + 1] <= v) ++s;
        return s;
    }

    bool emitMatch(size_t offset, size_t len) {
        const unsigned slot = slotOf(q::kPositionBase, 42, uint32_t(offset - 1));
        const uint32_t extra = uint32_t(offset - 1) - q::kPositionBase[slot];
        if (len == 3 && slot < match3_.entries) {
            encode(selector_, 4);
            encode(match3_, slot);
        } else if (len == 4 && slot < match4_.entries) {
            encode(selector_, 5);
            encode(match4_, slot);
        } else if (len >= 5 && slot < matchLong_.entries) {
            uint32_t lengthBase[27];
            for (unsigned k = 0; k < 27; ++k) lengthBase[k] = q::kLengthBase[k];
            const unsigned lslot = slotOf(lengthBase, 27, uint32_t(len - 5));
            encode(selector_, 6);
            encode(length_, lslot);
            putRaw(uint32_t(len - 5) - q::kLengthBase[lslot], q::kLengthExtra[lslot]);
            encode(matchLong_, slot);
        } else {
            return false;
        }
        putRaw(extra, q::kPositionExtra[slot]);
        return true;
    }

    void encode(q::Model& m, unsigned symbol) {
        unsigned s = 0;
        while (m.sym[s] != symbol) ++s;
        const uint32_t range = uint32_t(high_) - low_ + 1, total = m.cum[0];
        high_ = uint16_t(low_ + m.cum[s] * range / total - 1);
        low_ = uint16_t(low_ + m.cum[s + 1] * range / total);
        q::bump(m, s);
        for (;;) {
            if (!((low_ ^ high_) & 0x8000)) {
                putCode(high_ >> 15);
            } else if ((low_ & 0x4000) && !(high_ & 0x4000)) {
                ++pending_;
                low_ &= 0x3FFF;
                high_ |= 0x4000;
            } else {
                break;
            }
            low_ = uint16_t(low_ << 1);
            high_ = uint16_t((high_ << 1) | 1);
            ++shifts_;
        }
    }

    void putCode(unsigned bit) {
        code_.push_back(uint8_t(bit));
        for (; pending_; --pending_) code_.push_back(uint8_t(!bit));
    }

    // The decoder reads raw bits after its 16-bit register and one bit per shift so far.
    void putRaw(uint32_t v, unsigned n) {
        for (unsigned k = n; k-- > 0;) raw_.push_back({16 + shifts_, uint8_t((v >> k) & 1)});
    }

    void flush() {
        ++pending_;
        putCode(low_ >= 0x4000);
    }

    Bytes pack() {
        std::vector<uint8_t> bits;
        size_t r = 0, c = 0;
        for (size_t codeBits = 0;; ) {
            while (r < raw_.size() && raw_[r].first == codeBits) bits.push_back(raw_[r++].second);
            if (r == raw_.size() && c >= code_.size()) break;
            bits.push_back(c < code_.size() ? code_[c] : 0);
            ++c;
            ++codeBits;
        }
        for (int k = 0; k < 16; ++k) bits.push_back(0);  // the register's lookahead
        Bytes out((bits.size() + 7) / 8);
        for (size_t k = 0; k < bits.size(); ++k) out[k / 8] |= uint8_t(bits[k] << (7 - k % 8));
        shifts_ = 0;
        return out;
    }

    unsigned bits_;
    size_t window_;
    uint16_t low_ = 0, high_ = 0xFFFF;
    unsigned pending_ = 0, shifts_ = 0;
    std::vector<uint8_t> code_;
    std::vector<std::pair<unsigned, uint8_t>> raw_;  // (code bits before it, bit)
    q::Model literal_[4], match3_, match4_, matchLong_, length_, selector_;
};

Bytes sampleText(size_t n, unsigned seed) {
    static const char* words[] = {"quantum ", "arithmetic ", "model ", "\xe7\xaa\x93 ", "frame\r\n", "window ", "x"};
    Bytes out;
    uint32_t x = seed + 99;
    while (out.size() < n) {
        x = x * 1103515245u + 12345u;
        if ((x >> 28) == 3) out.push_back(uint8_t(x >> 8));  // a few arbitrary bytes (all four literal models)
        const char* w = words[(x >> 16) % 7];
        out.insert(out.end(), w, w + std::strlen(w));
    }
    out.resize(n);
    return out;
}

Status decodeAll(unsigned windowBits, const std::vector<Bytes>& blocks, const std::vector<size_t>& sizes, Bytes* out) {
    auto d = arc::makeQuantumDecoder(windowBits);
    if (!d) return Status::Method;
    out->clear();
    for (size_t i = 0; i < blocks.size(); ++i) {
        Bytes buf(sizes[i]);
        Status st = d->decodeBlock(blocks[i].data(), blocks[i].size(), buf.data(), buf.size());
        if (st != Status::Ok) return st;
        out->insert(out->end(), buf.begin(), buf.end());
    }
    return Status::Ok;
}

TEST(CabQuantum, EncodedStreamsRoundTrip) {
    struct Case {
        const char* what;
        unsigned windowBits;
        size_t size, blockSize;
    } cases[] = {
        {"1 KiB window wraps many times, full blocks", 10, 200000, 32768},
        {"small blocks restart the coder often", 12, 20000, 700},
        {"2 MiB window, far matches", 21, 1200000, 32768},
        {"one byte", 15, 1, 32768},
    };
    for (auto& k : cases) {
        SCOPED_TRACE(k.what);
        Bytes data = sampleText(k.size, k.windowBits);
        if (k.windowBits == 21)  // repeat a long stretch from far back
            std::copy_n(data.begin() + 1000, 50000, data.begin() + 1100000);
        QuantumEncoder enc(k.windowBits);
        std::vector<Bytes> blocks;
        std::vector<size_t> sizes;
        size_t packed = 0;
        for (size_t at = 0; at < data.size(); at += k.blockSize) {
            size_t end = std::min(data.size(), at + k.blockSize);
            blocks.push_back(enc.block(data, at, end));
            sizes.push_back(end - at);
            packed += blocks.back().size();
        }
        if (k.size > 1000) {
            EXPECT_LT(packed, data.size() / 2) << "the encoder should find matches";
        }
        Bytes out;
        ASSERT_EQ(decodeAll(k.windowBits, blocks, sizes, &out), Status::Ok);
        ASSERT_EQ(out.size(), data.size());
        EXPECT_TRUE(out == data);
    }
}

TEST(CabQuantum, CorruptStreamsFailCleanly) {
    Bytes data = sampleText(40000, 3);
    std::fill_n(data.begin() + 32900, 300, 'a');  // a run: one long match across 33000
    QuantumEncoder enc(15);
    Bytes first = enc.block(data, 0, 32768);
    Bytes crossing = enc.block(data, 32768, 33000, true);

    Bytes out;
    struct Case {
        const char* fault;
        std::vector<Bytes> blocks;
        std::vector<size_t> sizes;
    } cases[] = {
        {"block-cut-in-half", {Bytes(first.begin(), first.begin() + first.size() / 2)}, {32768}},
        {"empty-block-payload", {Bytes()}, {32768}},
        {"match-runs-past-block-end", {first, crossing}, {32768, 232}},
        {"match-before-any-output", {crossing}, {232}},
        {"block-declares-more-than-coded", {first, crossing}, {32768, 30000}},
    };
    for (auto& k : cases) {
        SCOPED_TRACE(k.fault);
        EXPECT_EQ(decodeAll(15, k.blocks, k.sizes, &out), Status::BrokenData);
    }
    // The same blocks decode when declared as coded.
    QuantumEncoder again(15);
    Bytes b1 = again.block(data, 0, 32768), b2 = again.block(data, 32768, 40000);
    ASSERT_EQ(decodeAll(15, {b1, b2}, {32768, 40000 - 32768}, &out), Status::Ok);
    EXPECT_TRUE(out == data);
}

TEST(CabQuantum, AllZeroAndAllOnesInputNeverHangs) {
    for (uint8_t fill : {0x00, 0xFF, 0x55}) {
        SCOPED_TRACE(int(fill));
        for (unsigned bits : {10u, 21u}) {
            auto d = arc::makeQuantumDecoder(bits);
            ASSERT_NE(d, nullptr);
            Bytes in(38912, fill), out(32768);
            Status st = d->decodeBlock(in.data(), in.size(), out.data(), out.size());
            EXPECT_TRUE(st == Status::Ok || st == Status::BrokenData);
        }
    }
    EXPECT_EQ(arc::makeQuantumDecoder(9), nullptr);
    EXPECT_EQ(arc::makeQuantumDecoder(22), nullptr);
}

}  // namespace
