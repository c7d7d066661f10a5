// The LZX decoder on streams built bit by bit here, independently of the test
// encoder: stored and verbatim blocks, E8 translation, and the faults a
// hostile folder can carry.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "cab_block_decoder.h"
#include "lzx_encoder.h"

namespace {

using arc::Status;
using Bytes = std::vector<uint8_t>;

// 16-bit little-endian words, most significant bit first.
class Bits {
public:
    Bits& put(uint32_t v, unsigned n) {
        for (unsigned i = n; i-- > 0;) {
            acc_ = static_cast<uint16_t>((acc_ << 1) | ((v >> i) & 1));
            if (++count_ == 16) flushWord();
        }
        return *this;
    }
    // Pads to the next word boundary, or a whole word when on one (stored block rule).
    Bits& alignStored() { return put(0, count_ == 0 ? 16 : 16 - count_); }
    Bits& alignWord() { return count_ == 0 ? *this : put(0, 16 - count_); }
    Bits& raw(const Bytes& b) {
        EXPECT_EQ(count_, 0u);
        out_.insert(out_.end(), b.begin(), b.end());
        return *this;
    }
    Bits& raw32(uint32_t v) { return raw({uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)}); }
    size_t bitPos() const { return out_.size() * 8 + count_; }
    Bytes bytes() {
        alignWord();
        return out_;
    }

private:
    void flushWord() {
        out_.push_back(static_cast<uint8_t>(acc_));
        out_.push_back(static_cast<uint8_t>(acc_ >> 8));
        acc_ = 0;
        count_ = 0;
    }
    Bytes out_;
    uint16_t acc_ = 0;
    unsigned count_ = 0;
};

Bytes str(const std::string& s) { return Bytes(s.begin(), s.end()); }

// Canonical codes from lengths, shortest first, ties by symbol.
std::vector<uint32_t> codesOf(const std::vector<uint8_t>& lens) {
    std::vector<uint32_t> codes(lens.size());
    uint32_t code = 0;
    for (unsigned len = 1; len <= 16; ++len, code <<= 1)
        for (size_t s = 0; s < lens.size(); ++s)
            if (lens[s] == len) codes[s] = code++;
    return codes;
}

// Writes a pretree where every symbol has a code (0..11: 4 bits, 12..19: 5
// bits), then each length as a plain delta from the previous block's.
void putLengths(Bits& b, const std::vector<uint8_t>& lens, const std::vector<uint8_t>& prev, size_t first, size_t last) {
    std::vector<uint8_t> pre(20);
    for (size_t s = 0; s < 20; ++s) pre[s] = s < 12 ? 4 : 5;
    auto codes = codesOf(pre);
    for (uint8_t l : pre) b.put(l, 4);
    for (size_t i = first; i < last; ++i) {
        unsigned sym = (prev[i] + 17 - lens[i]) % 17;
        b.put(codes[sym], pre[sym]);
    }
}

// Window 2^15: 30 slots, 496 main symbols.
constexpr unsigned kMain15 = 256 + 30 * 8;

struct Frame {
    Bytes in;
    size_t outLen;
};

Status decodeAll(unsigned windowBits, const std::vector<Frame>& frames, Bytes& out) {
    auto dec = arc::makeLzxDecoder(windowBits);
    if (!dec) return Status::Method;
    out.clear();
    for (const auto& f : frames) {
        Bytes part(f.outLen);
        Status s = dec->decodeBlock(f.in.data(), f.in.size(), part.data(), part.size());
        if (s != Status::Ok) return s;
        out.insert(out.end(), part.begin(), part.end());
    }
    return Status::Ok;
}

TEST(CabLzxDecoder, RejectsWindowSizesOutsideCabRange) {
    EXPECT_EQ(arc::makeLzxDecoder(14), nullptr);
    EXPECT_EQ(arc::makeLzxDecoder(22), nullptr);
    for (unsigned w = 15; w <= 21; ++w) EXPECT_NE(arc::makeLzxDecoder(w), nullptr) << w;
}

// The published three-byte example: no E8, one stored block "abc", its
// 4-bit alignment, R0..R2 = 1, and the pad byte after the odd length.
TEST(CabLzxDecoder, PublishedStoredBlockExample) {
    const Bytes in = {0x00, 0x30, 0x30, 0x00, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 0x61, 0x62, 0x63, 0x00};
    Bits b;
    b.put(0, 1).put(3, 3).put(3, 24).alignStored().raw32(1).raw32(1).raw32(1).raw(str("abc")).raw({0});
    EXPECT_EQ(b.bytes(), in);  // our writer agrees with the published bytes
    Bytes out;
    ASSERT_EQ(decodeAll(15, {{in, 3}}, out), Status::Ok);
    EXPECT_EQ(out, str("abc"));
}

// A verbatim block built by hand: 254 literals with 8-bit codes, two literals
// and two match symbols with 9-bit codes, a two-symbol length tree.
struct HandBlock {
    std::vector<uint8_t> mainLens = std::vector<uint8_t>(kMain15, 0);
    std::vector<uint8_t> lengthLens = std::vector<uint8_t>(249, 0);
    std::vector<uint32_t> mainCodes, lengthCodes;
    static constexpr unsigned kRepeatR0Len4 = 256 + 0 * 8 + 2;  // slot 0, length 4
    static constexpr unsigned kSlot6Long = 256 + 6 * 8 + 7;     // slot 6 (2 footer bits), length tree
    HandBlock() {
        for (unsigned s = 0; s < 256; ++s) mainLens[s] = s < 254 ? 8 : 9;
        mainLens[kRepeatR0Len4] = 9;
        mainLens[kSlot6Long] = 9;
        lengthLens[0] = lengthLens[1] = 1;
        mainCodes = codesOf(mainLens);
        lengthCodes = codesOf(lengthLens);
    }
    // Lengths are deltas from the previous block's: zero at the folder start,
    // the same tables again when `again`.
    void header(Bits& b, uint32_t size, bool again = false) const {
        b.put(1, 3).put(size, 24);
        const std::vector<uint8_t> zeroMain(kMain15, 0), zeroLen(249, 0);
        putLengths(b, mainLens, again ? mainLens : zeroMain, 0, 256);
        putLengths(b, mainLens, again ? mainLens : zeroMain, 256, kMain15);
        putLengths(b, lengthLens, again ? lengthLens : zeroLen, 0, 249);
    }
    void lit(Bits& b, uint8_t c) const { b.put(mainCodes[c], mainLens[c]); }
    void lits(Bits& b, const std::string& s) const {
        for (char c : s) lit(b, static_cast<uint8_t>(c));
    }
    // Slot 6, footer f: formatted offset 8 + f, offset 6 + f; length 9 + lengthSym.
    void slot6(Bits& b, unsigned footer, unsigned lengthSym) const {
        b.put(mainCodes[kSlot6Long], 9).put(lengthCodes[lengthSym], 1).put(footer, 2);
    }
    void repeatR0(Bits& b) const { b.put(mainCodes[kRepeatR0Len4], 9); }
};

TEST(CabLzxDecoder, HandBuiltVerbatimBlockWithMatchesAndRepeatOffset) {
    HandBlock h;
    Bits b;
    b.put(0, 1);
    h.header(b, 25);
    h.lits(b, "0123456789");
    h.slot6(b, 3, 1);  // offset 9, length 10
    h.repeatR0(b);     // offset 9 again, length 4
    h.lit(b, 0xFF);
    Bytes out;
    ASSERT_EQ(decodeAll(15, {{b.bytes(), 25}}, out), Status::Ok);
    EXPECT_EQ(out, str("0123456789" "1234567891" "2345" "\xFF"));
}

// A block may span frames: the second frame continues with the same trees
// after the first frame's bits were padded to a word.
TEST(CabLzxDecoder, BlockSpansFramesWithWordAlignedRestart) {
    HandBlock h;
    Bits first;
    first.put(0, 1);
    h.header(first, 32768 + 6);
    Bytes expect;
    for (size_t i = 0; i < 32768; ++i) {
        uint8_t c = static_cast<uint8_t>('a' + i % 26);
        h.lit(first, c);
        expect.push_back(c);
    }
    Bits second;
    h.lits(second, "XY");
    h.repeatR0(second);  // R0 is still 1: "YYYY"
    for (char c : std::string("XYYYYY")) expect.push_back(static_cast<uint8_t>(c));
    Bytes out;
    ASSERT_EQ(decodeAll(15, {{first.bytes(), 32768}, {second.bytes(), 6}}, out), Status::Ok);
    EXPECT_EQ(out, expect);
}

// A stored block whose header ends on a word boundary is followed by a whole
// zero word before R0 (1..16 bits of alignment, never 0).
TEST(CabLzxDecoder, StoredHeaderOnWordBoundaryHasWholeWordPad) {
    HandBlock h;
    Bits b;
    b.put(0, 1);
    // A verbatim block of k 9-bit literals, k chosen so the stored header
    // starts at bit 5 (mod 16) and its 27 bits end on a word boundary.
    Bits probe;
    probe.put(0, 1);
    h.header(probe, 0);
    unsigned k = 1;
    while ((probe.bitPos() + 9 * k) % 16 != 5) ++k;
    h.header(b, k);
    for (unsigned i = 0; i < k; ++i) h.lit(b, 0xFF);
    ASSERT_EQ(b.bitPos() % 16, 5u);
    b.put(3, 3).put(3, 24);
    ASSERT_EQ(b.bitPos() % 16, 0u);
    b.alignStored().raw32(1).raw32(1).raw32(1).raw(str("xyz")).raw({0});
    Bytes expect(k, 0xFF);
    for (char c : std::string("xyz")) expect.push_back(static_cast<uint8_t>(c));
    Bytes out;
    ASSERT_EQ(decodeAll(15, {{b.bytes(), k + 3}}, out), Status::Ok);
    EXPECT_EQ(out, expect);
}

// A stored block with E8 translation on: operands are rewritten per frame,
// relative to the frame's place in the folder, never in a frame's last 10
// bytes, never in a frame of 10 bytes or fewer.
struct E8Case {
    const char* name;
    uint32_t size;      // translation size in the header
    size_t firstFrame;  // bytes in frame 1 (32768 for two frames)
    size_t secondFrame; // 0: one frame only
    size_t at;          // E8 position within the folder
    int32_t stored;     // operand as the compressor stored it
    int32_t expected;   // operand after decoding
};

const E8Case kE8Cases[] = {
    {"positive_becomes_relative", 100000, 40, 0, 3, 5000, 5000 - 3},
    {"negative_wraps_by_size", 100000, 40, 0, 12, -4, -4 + 100000},
    {"below_minus_position_kept", 100000, 40, 0, 12, -13, -13},
    {"at_size_kept", 100000, 40, 0, 3, 100000, 100000},
    {"in_last_ten_bytes_kept", 100000, 40, 0, 30, 5000, 5000},
    {"last_translated_position", 100000, 40, 0, 29, 5000, 5000 - 29},
    {"second_frame_uses_folder_position", 100000, 32768, 20, 32768 + 2, 40000, 40000 - 32770},
    {"ten_byte_frame_untouched", 100000, 32768, 10, 32768 + 1, 40000, 40000},
    {"six_byte_frame_untouched", 100000, 32768, 6, 32768 + 0, 40000, 40000},
    {"eleven_byte_frame_translated", 100000, 32768, 11, 32768 + 0, 40000, 40000 - 32768},
};

class CabLzxE8 : public ::testing::TestWithParam<E8Case> {};

TEST_P(CabLzxE8, OperandAfterDecoding) {
    const E8Case& c = GetParam();
    const size_t total = c.firstFrame + c.secondFrame;
    Bytes data(total);
    for (size_t i = 0; i < total; ++i) data[i] = static_cast<uint8_t>(i * 7 % 200);  // no stray 0xE8
    auto put32 = [](Bytes& d, size_t at, int32_t v) {
        for (int k = 0; k < 4; ++k) d[at + k] = static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * k));
    };
    data[c.at] = 0xE8;
    put32(data, c.at + 1, c.stored);
    Bytes expect = data;
    put32(expect, c.at + 1, c.expected);

    Bits b;
    b.put(1, 1).put(c.size >> 16, 16).put(c.size & 0xFFFF, 16);
    b.put(3, 3).put(static_cast<uint32_t>(total), 24).alignStored().raw32(1).raw32(1).raw32(1);
    std::vector<Frame> frames;
    b.raw(Bytes(data.begin(), data.begin() + c.firstFrame));
    frames.push_back({b.bytes(), c.firstFrame});
    if (c.secondFrame) frames.push_back({Bytes(data.begin() + c.firstFrame, data.end()), c.secondFrame});
    Bytes out;
    ASSERT_EQ(decodeAll(16, frames, out), Status::Ok);
    ASSERT_EQ(out.size(), total);
    EXPECT_EQ(out, expect);
}

INSTANTIATE_TEST_SUITE_P(CabLzx, CabLzxE8, ::testing::ValuesIn(kE8Cases),
                         [](const ::testing::TestParamInfo<E8Case>& p) { return std::string(p.param.name); });

// An odd stored block that ends a frame may have its pad byte at the start of
// the next CFDATA block; the bit stream resumes after it.
TEST(CabLzxDecoder, StoredPadByteMayOpenTheNextFrame) {
    HandBlock h;
    Bytes data(32767);
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i % 251);
    Bits b;
    b.put(0, 1);
    h.header(b, 1);
    h.lit(b, 'A');
    b.put(3, 3).put(32767, 24).alignStored().raw32(1).raw32(1).raw32(1).raw(data);
    Bits next;
    next.raw({0});  // the pad byte
    h.header(next, 2, true);
    h.lits(next, "ZZ");
    Bytes out;
    ASSERT_EQ(decodeAll(15, {{b.bytes(), 32768}, {next.bytes(), 2}}, out), Status::Ok);
    Bytes expect{'A'};
    expect.insert(expect.end(), data.begin(), data.end());
    expect.push_back('Z');
    expect.push_back('Z');
    EXPECT_EQ(out, expect);
}

// Hostile streams: each must end in its own clean status.
struct FaultCase {
    const char* name;
    Status expected;
    std::function<std::vector<Frame>()> build;
};

std::vector<Frame> one(Bits& b, size_t outLen) { return {{b.bytes(), outLen}}; }

const FaultCase kFaults[] = {
    {"block_type_zero", Status::BrokenData, [] { Bits b; b.put(0, 1).put(0, 3).put(10, 24); return one(b, 10); }},
    {"block_type_seven", Status::BrokenData, [] { Bits b; b.put(0, 1).put(7, 3).put(10, 24); return one(b, 10); }},
    {"empty_input", Status::UnexpectedEof, [] { return std::vector<Frame>{{{}, 5}}; }},
    {"header_cut_short", Status::UnexpectedEof, [] { return std::vector<Frame>{{{0x00, 0x30}, 5}}; }},
    {"stored_data_cut_short", Status::UnexpectedEof,
     [] { Bits b; b.put(0, 1).put(3, 3).put(10, 24).alignStored().raw32(1).raw32(1).raw32(1).raw(str("abc")); return one(b, 10); }},
    {"stored_r_values_cut_short", Status::UnexpectedEof,
     [] { Bits b; b.put(0, 1).put(3, 3).put(10, 24).alignStored().raw32(1); return one(b, 10); }},
    {"pretree_oversubscribed", Status::HuffmanCode,
     [] { Bits b; b.put(0, 1).put(1, 3).put(10, 24); for (int i = 0; i < 20; ++i) b.put(1, 4); return one(b, 10); }},
    {"pretree_incomplete", Status::HuffmanCode,
     [] { Bits b; b.put(0, 1).put(1, 3).put(10, 24); b.put(1, 4); for (int i = 1; i < 20; ++i) b.put(0, 4); return one(b, 10); }},
    {"pretree_all_zero", Status::HuffmanCode,
     [] { Bits b; b.put(0, 1).put(1, 3).put(10, 24); for (int i = 0; i < 20; ++i) b.put(0, 4); return one(b, 10); }},
    {"zero_run_past_tree_end", Status::HuffmanCode,
     [] {
         // Pretree: symbols 17 and 18 with 1-bit codes; 18 runs of 51 zeros overrun 256 after six.
         Bits b;
         b.put(0, 1).put(1, 3).put(10, 24);
         for (int i = 0; i < 20; ++i) b.put(i == 17 || i == 18 ? 1 : 0, 4);
         for (int i = 0; i < 6; ++i) b.put(1, 1).put(31, 5);
         return one(b, 10);
     }},
    {"main_tree_all_zero", Status::HuffmanCode,
     [] {
         Bits b;
         b.put(0, 1).put(1, 3).put(10, 24);
         const std::vector<uint8_t> zero(kMain15, 0);
         putLengths(b, zero, zero, 0, 256);
         putLengths(b, zero, zero, 256, kMain15);
         return one(b, 10);
     }},
    {"match_before_window_start", Status::BrokenData,
     [] { HandBlock h; Bits b; b.put(0, 1); h.header(b, 25); h.lits(b, "012345"); h.slot6(b, 3, 1); return one(b, 25); }},
    {"repeat_offset_before_any_byte", Status::BrokenData,
     [] { HandBlock h; Bits b; b.put(0, 1); h.header(b, 4); h.repeatR0(b); return one(b, 4); }},
    {"match_past_frame_end", Status::BrokenData,
     [] { HandBlock h; Bits b; b.put(0, 1); h.header(b, 25); h.lits(b, "0123456789"); h.slot6(b, 3, 1); return one(b, 15); }},
    {"match_past_block_end", Status::BrokenData,
     [] { HandBlock h; Bits b; b.put(0, 1); h.header(b, 12); h.lits(b, "0123456789"); h.slot6(b, 3, 1); return one(b, 20); }},
    {"length_symbol_from_empty_tree", Status::HuffmanCode,
     [] {
         HandBlock h;
         h.lengthLens.assign(249, 0);
         Bits b;
         b.put(0, 1);
         h.header(b, 25);
         h.lits(b, "0123456789");
         b.put(h.mainCodes[HandBlock::kSlot6Long], 9);
         return one(b, 25);
     }},
    {"verbatim_bits_cut_short", Status::UnexpectedEof,
     [] { HandBlock h; Bits b; b.put(0, 1); h.header(b, 3000); for (int i = 0; i < 100; ++i) h.lit(b, 'x'); return one(b, 3000); }},
    {"stored_r0_beyond_window", Status::BrokenData,
     [] {
         HandBlock h;
         Bits b;
         b.put(0, 1).put(3, 3).put(2, 24).alignStored().raw32(40000).raw32(1).raw32(1).raw(str("ab"));
         h.header(b, 4);  // first compressed block: deltas from zero
         h.repeatR0(b);
         return one(b, 6);
     }},
};

// Once the window has filled, the largest offset (window size - 1) copies the
// oldest byte and the window size itself is refused.
TEST(CabLzxDecoder, FullWindowTakesOffsetsUpToItsSizeLessOne) {
    Bytes history(32768);
    for (size_t i = 0; i < history.size(); ++i) history[i] = static_cast<uint8_t>(i * 7 + i / 256);
    struct Case {
        uint32_t r0;
        Status want;
    } cases[] = {{32767, Status::Ok}, {32768, Status::BrokenData}, {0, Status::BrokenData}};
    for (const Case& c : cases) {
        auto dec = arc::makeLzxDecoder(15);
        Bits first;
        first.put(0, 1).put(3, 3).put(32768, 24).alignStored().raw32(1).raw32(1).raw32(1).raw(history);
        Bytes in = first.bytes();
        Bytes out(32768);
        ASSERT_EQ(dec->decodeBlock(in.data(), in.size(), out.data(), out.size()), Status::Ok);
        ASSERT_TRUE(out == history);

        HandBlock h;
        Bits second;
        second.put(3, 3).put(2, 24).alignStored().raw32(c.r0).raw32(1).raw32(1).raw(str("ab"));
        h.header(second, 4);  // first compressed block: deltas from zero
        h.repeatR0(second);
        in = second.bytes();
        out.assign(6, 0);
        EXPECT_EQ(dec->decodeBlock(in.data(), in.size(), out.data(), out.size()), c.want) << c.r0;
        if (c.want == Status::Ok) {
            // 'a' and 'b' land at window positions 0 and 1; 32767 back from 2 is position 3.
            Bytes want = {'a', 'b', history[3], history[4], history[5], history[6]};
            EXPECT_TRUE(out == want);
            EXPECT_EQ(out.size(), 6u);
        }
    }
}

class CabLzxFault : public ::testing::TestWithParam<FaultCase> {};

TEST_P(CabLzxFault, CleanStatusAndStaysFailed) {
    const FaultCase& c = GetParam();
    std::vector<Frame> frames = c.build();
    auto dec = arc::makeLzxDecoder(15);
    Status s = Status::Ok;
    for (const auto& f : frames) {
        Bytes out(f.outLen);
        s = dec->decodeBlock(f.in.data(), f.in.size(), out.data(), out.size());
        if (s != Status::Ok) break;
    }
    EXPECT_EQ(s, c.expected);
    // Once broken, the folder's later blocks are refused rather than decoded from a bad state.
    Bytes more(16), in(64, 0);
    EXPECT_NE(dec->decodeBlock(in.data(), in.size(), more.data(), more.size()), Status::Ok);
}

INSTANTIATE_TEST_SUITE_P(CabLzx, CabLzxFault, ::testing::ValuesIn(kFaults),
                         [](const ::testing::TestParamInfo<FaultCase>& p) { return std::string(p.param.name); });

TEST(CabLzxDecoder, RejectsFrameSizesOutsideOneToFrameSize) {
    Bits b;
    b.put(0, 1).put(3, 3).put(3, 24).alignStored().raw32(1).raw32(1).raw32(1).raw(str("abc")).raw({0});
    Bytes in = b.bytes();
    Bytes out(32769);
    EXPECT_NE(arc::makeLzxDecoder(15)->decodeBlock(in.data(), in.size(), out.data(), 0), Status::Ok);
    EXPECT_NE(arc::makeLzxDecoder(15)->decodeBlock(in.data(), in.size(), out.data(), 32769), Status::Ok);
}

}  // namespace
