// LZH decoders on hand-built streams: literal/match sequences written by a
// small test-side encoder with flat codes, known answers from the format's
// fixed tables, and the error paths of each decoder.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "lzh_bits.h"
#include "lzh_crc16.h"
#include "lzh_decoders.h"
#include "support/lzh_bit_writer.h"

namespace {

using Bytes = std::vector<uint8_t>;

using lzhtest::BitWriter;
using lzhtest::Token;
Token lit(uint8_t b) { return {b, 0, 0}; }
Token match(size_t len, size_t dist) { return {-1, len, dist}; }

// What the tokens mean, with the all-spaces history the decoders start from.
Bytes expand(const std::vector<Token>& toks, size_t limit = SIZE_MAX) {
    Bytes out;
    for (auto& t : toks) {
        if (t.literal >= 0) out.push_back(static_cast<uint8_t>(t.literal));
        else
            for (size_t i = 0; i < t.len; ++i) out.push_back(out.size() >= t.dist ? out[out.size() - t.dist] : ' ');
    }
    if (out.size() > limit) out.resize(limit);
    return out;
}

struct VecSink : arc::OutputSink {
    Bytes data;
    size_t writes = 0;
    bool write(const uint8_t* d, size_t n) override {
        data.insert(data.end(), d, d + n);
        ++writes;
        return true;
    }
};

struct Result {
    arc::Status status;
    Bytes data;
    uint16_t crc;
};
Result decode(const std::string& method, const Bytes& packed, uint64_t size) {
    arc::MemorySource src(packed);
    VecSink sink;
    uint16_t crc = 0;
    arc::Status st = arc::lzhDecodeMember(method, src, 0, packed.size(), size, sink, &crc);
    return {st, sink.data, crc};
}

int bitLength(uint32_t v) {
    int n = 0;
    while (v) ++n, v >>= 1;
    return n;
}

// One -lh4-..-lh7- block with flat codes: every literal/length symbol gets 9
// bits (announced through a one-symbol code-length alphabet) and every
// position bit count 5 bits.
void writeStaticBlock(BitWriter& w, const std::vector<Token>& toks, int dictBits) {
    const int positions = (dictBits < 13 ? 13 : dictBits) + 1;
    w.put(static_cast<uint32_t>(toks.size()), 16);
    w.put(0, 5), w.put(9 + 2, 5);  // code lengths: the single symbol "length 9"
    w.put(510, 9);                 // 510 literal/length lengths, each that symbol (0 bits)
    w.put(static_cast<uint32_t>(positions), dictBits >= 15 ? 5 : 4);
    for (int i = 0; i < positions; ++i) w.put(5, 3);  // all 5 bits long
    for (auto& t : toks) {
        if (t.literal >= 0) {
            w.put(static_cast<uint32_t>(t.literal), 9);
            continue;
        }
        w.put(static_cast<uint32_t>(253 + t.len), 9);
        uint32_t d = static_cast<uint32_t>(t.dist - 1);
        int p = bitLength(d);
        w.put(static_cast<uint32_t>(p), 5);
        if (p > 1) w.put(d - (1u << (p - 1)), p - 1);
    }
}

Bytes staticStream(const std::vector<std::vector<Token>>& blocks, int dictBits) {
    BitWriter w;
    for (auto& b : blocks)
        for (size_t at = 0; at < b.size(); at += 65535)  // a block counts its codes in 16 bits
            writeStaticBlock(w, std::vector<Token>(b.begin() + static_cast<long>(at),
                                                   b.begin() + static_cast<long>(std::min(b.size(), at + 65535))),
                             dictBits);
    return w.finish();
}

std::vector<Token> randomLiterals(size_t n, uint32_t seed) {
    std::mt19937 rng(seed);
    std::vector<Token> t;
    for (size_t i = 0; i < n; ++i) t.push_back(lit(static_cast<uint8_t>(rng())));
    return t;
}

TEST(LzhCrc16, KnownValueAndSplitInput) {
    const std::string s = "123456789";
    const auto* p = reinterpret_cast<const uint8_t*>(s.data());
    EXPECT_EQ(arc::lzhCrc16(0, p, s.size()), 0xBB3D);  // CRC-16/ARC check value
    for (size_t cut = 0; cut <= s.size(); ++cut)
        EXPECT_EQ(arc::lzhCrc16(arc::lzhCrc16(0, p, cut), p + cut, s.size() - cut), 0xBB3D) << cut;
}

// Every length across the 8- and 4-byte steps and the byte tail, from a
// non-zero start, against the CRC computed one bit at a time.
TEST(LzhCrc16, MatchesBitwiseCrcAtEveryLength) {
    uint8_t bytes[41];
    for (size_t i = 0; i < sizeof bytes; ++i) bytes[i] = static_cast<uint8_t>(i * 73 + 5);
    for (size_t n = 0; n <= sizeof bytes; ++n) {
        unsigned want = 0x1D0F;
        for (size_t i = 0; i < n; ++i) {
            want ^= bytes[i];
            for (int k = 0; k < 8; ++k) want = (want & 1) ? (want >> 1) ^ 0xA001u : want >> 1;
        }
        EXPECT_EQ(arc::lzhCrc16(0x1D0F, bytes, n), want) << "length " << n;
    }
}

TEST(LzhHuffman, CanonicalCodesShortAndLong) {
    // Lengths 2,2,2,3,3 -> 00 01 10 110 111; plus two 16-bit codes behind an
    // 8-bit table need the slow path.
    const uint8_t lens[] = {2, 2, 3, 0, 3, 2};
    arc::LzhHuffman h;
    ASSERT_TRUE(h.build(lens, 6, 8));
    struct Case {
        uint32_t bits;
        int width, symbol;
    } cases[] = {{0b00, 2, 0}, {0b01, 2, 1}, {0b10, 2, 5}, {0b110, 3, 2}, {0b111, 3, 4}};
    for (auto& c : cases) {
        BitWriter w;
        w.put(c.bits, c.width);
        w.put(0xA5, 8);
        Bytes b = w.finish();
        arc::MemorySource src(b);
        arc::SequentialReader in(src, 0, b.size());
        arc::LzhBitReader br(in);
        EXPECT_EQ(h.decode(br), c.symbol) << c.bits;
        EXPECT_EQ(br.get(8), 0xA5u) << "consumed the wrong number of bits for " << c.bits;
    }

    uint8_t deep[17] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 16};
    ASSERT_TRUE(h.build(deep, 17, 8));
    BitWriter w;
    w.put(0xFFFF, 16);  // the last 16-bit code
    w.put(0xFFFE, 16);  // the other one
    Bytes b = w.finish();
    arc::MemorySource src(b);
    arc::SequentialReader in(src, 0, b.size());
    arc::LzhBitReader br(in);
    EXPECT_EQ(h.decode(br), 16);
    EXPECT_EQ(h.decode(br), 15);
    EXPECT_FALSE(br.overrun());
}

TEST(LzhHuffman, RejectsOversubscribedAndFlagsHoles) {
    const uint8_t three[] = {1, 1, 1};
    arc::LzhHuffman h;
    EXPECT_FALSE(h.build(three, 3, 8));
    const uint8_t holes[] = {2, 2};  // codes 00 and 01; 1x is unused
    ASSERT_TRUE(h.build(holes, 2, 8));
    Bytes b{0xC0, 0, 0};
    arc::MemorySource src(b);
    arc::SequentialReader in(src, 0, b.size());
    arc::LzhBitReader br(in);
    EXPECT_EQ(h.decode(br), -1);
}

TEST(LzhStatic, RoundTripsTokenStreamsForEveryDictionary) {
    struct Case {
        const char* method;
        int dictBits;
    } methods[] = {{"-lh4-", 12}, {"-lh5-", 13}, {"-lh6-", 15}, {"-lh7-", 16}, {"-lhx-", 20}};
    for (auto& m : methods) {
        const size_t full = size_t{1} << m.dictBits;
        std::vector<Token> history = randomLiterals(full + 300, 7);
        std::vector<Token> block2 = {match(256, 1), match(3, full), match(200, full - 1), lit('x'),
                                     match(17, 2), match(100, 300)};
        std::vector<std::vector<Token>> blocks = {history, block2};
        std::vector<Token> all = history;
        all.insert(all.end(), block2.begin(), block2.end());
        Bytes want = expand(all);
        Result r = decode(m.method, staticStream(blocks, m.dictBits), want.size());
        EXPECT_EQ(r.status, arc::Status::Ok) << m.method;
        EXPECT_EQ(r.data.size(), want.size()) << m.method;
        EXPECT_TRUE(r.data == want) << m.method;
        EXPECT_EQ(r.crc, arc::lzhCrc16(0, want.data(), want.size())) << m.method;
    }
}

TEST(LzhStatic, OutputStopsAtTheHeaderSizeInsideAMatch) {
    std::vector<Token> toks = {lit('a'), lit('b'), match(100, 2)};
    Result r = decode("-lh5-", staticStream({toks}, 13), 50);
    EXPECT_EQ(r.status, arc::Status::Ok);
    EXPECT_TRUE(r.data == expand(toks, 50));
}

TEST(LzhStatic, MatchBeforeTheFirstByteReadsSpaces) {
    std::vector<Token> toks = {lit('z'), match(5, 4)};
    Result r = decode("-lh5-", staticStream({toks}, 13), 6);
    EXPECT_EQ(r.status, arc::Status::Ok);
    EXPECT_EQ(std::string(r.data.begin(), r.data.end()), "z   z ");
}

// The farthest distance each method can code reaches back before the first
// byte into the starting spaces (-lh4- codes -lh5-'s distances).
TEST(LzhStatic, FarthestMatchBeforeTheFirstByteReadsSpaces) {
    struct Case {
        const char* method;
        int dictBits;
        size_t farthest;
    } cases[] = {{"-lh4-", 12, 8192}, {"-lh5-", 13, 8192}, {"-lh6-", 15, 32768}, {"-lh7-", 16, 65536},
                 {"-lhx-", 20, size_t{1} << 20}};
    for (auto& c : cases) {
        std::vector<Token> toks = {lit('z'), match(10, c.farthest), match(6, c.farthest - 7), lit('y'),
                                   match(4, 16)};
        Bytes want = expand(toks);
        Result r = decode(c.method, staticStream({toks}, c.dictBits), want.size());
        EXPECT_EQ(r.status, arc::Status::Ok) << c.method;
        EXPECT_EQ(std::string(r.data.begin(), r.data.end()), std::string(want.begin(), want.end())) << c.method;
    }
}

TEST(LzhStatic, SingleSymbolTablesCostNoBits) {
    BitWriter w;
    w.put(4, 16);
    w.put(0, 5), w.put(0, 5);      // code lengths: one symbol (unused)
    w.put(0, 9), w.put('Q', 9);    // literals: only 'Q'
    w.put(0, 4), w.put(0, 4);      // positions: only 0
    Result r = decode("-lh5-", w.finish(), 4);
    EXPECT_EQ(r.status, arc::Status::Ok);
    EXPECT_EQ(std::string(r.data.begin(), r.data.end()), "QQQQ");
}

TEST(LzhStatic, DamagedStreamsGiveCleanErrors) {
    std::vector<Token> toks = randomLiterals(2000, 3);
    Bytes good = staticStream({toks}, 13);
    struct Case {
        const char* fault;
        std::function<Bytes()> make;
        arc::Status want;
    } cases[] = {
        {"truncated_in_data", [&] { return Bytes(good.begin(), good.begin() + 900); }, arc::Status::UnexpectedEof},
        {"truncated_in_block_header", [&] { return Bytes(good.begin(), good.begin() + 5); },
         arc::Status::UnexpectedEof},
        {"literal_table_longer_than_alphabet",
         [] {
             BitWriter w;
             w.put(1, 16), w.put(0, 5), w.put(11, 5), w.put(511, 9);
             for (int i = 0; i < 8; ++i) w.put(0, 16);
             return w.finish();
         },
         arc::Status::BrokenData},
        {"code_lengths_oversubscribed",
         [] {
             BitWriter w;
             w.put(1, 16), w.put(0, 5), w.put(3, 5), w.put(510, 9);  // 510 codes of 1 bit
             for (int i = 0; i < 8; ++i) w.put(0, 16);
             return w.finish();
         },
         arc::Status::BrokenData},
        {"position_table_longer_than_dictionary",
         [] {
             BitWriter w;
             w.put(1, 16), w.put(0, 5), w.put(11, 5), w.put(510, 9), w.put(15, 4);
             for (int i = 0; i < 8; ++i) w.put(0x9249, 16);
             return w.finish();
         },
         arc::Status::BrokenData},
        {"single_literal_out_of_range",
         [] {
             BitWriter w;
             w.put(1, 16), w.put(0, 5), w.put(0, 5), w.put(0, 9), w.put(510, 9), w.put(0, 16);
             return w.finish();
         },
         arc::Status::BrokenData},
    };
    for (auto& c : cases) {
        Result r = decode("-lh5-", c.make(), 2000);
        EXPECT_EQ(r.status, c.want) << c.fault;
        EXPECT_LE(r.data.size(), 2000u) << c.fault;
    }
}

TEST(LzhLz5, LiteralsMatchesAndTheInitialHistory) {
    // Flag bits, low bit first: 1 = literal byte, 0 = 12-bit ring position + length.
    // LArc's ring holds 13 copies of each byte value first, so 'A' x 13 sits
    // at 0x41 * 13; the write position starts 18 bytes before the ring's end.
    const size_t aRun = 0x41 * 13;
    Bytes packed = {0x03, 'h', 'i',
                    static_cast<uint8_t>(aRun & 0xFF), static_cast<uint8_t>(((aRun >> 4) & 0xF0) | 2),  // "AAAAA"
                    static_cast<uint8_t>((4096 - 18) & 0xFF), static_cast<uint8_t>((((4096 - 18) >> 4) & 0xF0) | 1)};
    Result r = decode("-lz5-", packed, 11);
    EXPECT_EQ(r.status, arc::Status::Ok);
    EXPECT_EQ(std::string(r.data.begin(), r.data.end()), "hiAAAAAhiAA");  // 4 bytes from where "hi" was written
}

TEST(LzhLz5, TruncatedStreamIsUnexpectedEof) {
    Bytes packed = {0x00, 0x10};
    Result r = decode("-lz5-", packed, 10);
    EXPECT_EQ(r.status, arc::Status::UnexpectedEof);
    EXPECT_TRUE(r.data.empty());
}

TEST(LzhLzs, FlagBitsPositionsAndLengths) {
    // 1 + 8 bits literal; 0 + 11-bit ring position + 4-bit length (2..17).
    // The first byte lands at ring position 2048 - 17.
    BitWriter w;
    for (char c : std::string("abc")) w.put(1, 1), w.put(static_cast<uint8_t>(c), 8);
    w.put(0, 1), w.put(2048 - 17, 11), w.put(7, 4);  // 9 bytes from the first one: "abcabcabc"
    Result r = decode("-lzs-", w.finish(), 12);
    EXPECT_EQ(r.status, arc::Status::Ok);
    EXPECT_EQ(std::string(r.data.begin(), r.data.end()), "abcabcabcabc");
}

TEST(LzhAdaptive, GarbageEndsCleanlyWithinTheHeaderSize) {
    std::mt19937 rng(5);
    for (const char* m : {"-lh1-", "-lh2-", "-lh3-", "-lh5-", "-lh7-", "-lzs-", "-lz5-", "-pm1-", "-pm2-"}) {
        for (int round = 0; round < 20; ++round) {
            Bytes junk(200 + rng() % 400);
            for (auto& b : junk) b = static_cast<uint8_t>(rng());
            Result r = decode(m, junk, 100000);
            EXPECT_LE(r.data.size(), 100000u) << m;
            // Any outcome but a silent short success is acceptable for noise.
            if (r.status == arc::Status::Ok) {
                EXPECT_EQ(r.data.size(), 100000u) << m;
            }
        }
    }
}

TEST(LzhMethods, UnknownAndForeignMethodsAreRefused) {
    for (const char* m : {"-pc1-", "-pms-", "-lh8-", "-lhd-", "-afx-"}) {
        Result r = decode(m, Bytes(10, 0), 10);
        EXPECT_EQ(r.status, arc::Status::Method) << m;
        EXPECT_TRUE(r.data.empty()) << m;
    }
}

// A short match copies in whole chunks that run past its end; where the
// dictionary is the whole ring, the bytes just past it are the oldest history,
// which the next match reads back from the farthest distance.
TEST(LzhWindow, ShortMatchLeavesTheOldestHistoryIntact) {
    struct Case {
        const char* method;
        int dictBits;
    } cases[] = {{"-lh5-", 13}, {"-lh6-", 15}, {"-lh7-", 16}, {"-lhx-", 20}};
    for (auto& c : cases) {
        const size_t full = size_t{1} << c.dictBits;
        std::vector<Token> history = randomLiterals(std::max<size_t>(full, 65536) + 100, 11);
        std::vector<Token> tail = {match(3, 16), match(6, full), match(9, 8), match(12, full - 3)};
        std::vector<Token> all = history;
        all.insert(all.end(), tail.begin(), tail.end());
        Bytes want = expand(all);
        Result r = decode(c.method, staticStream({history, tail}, c.dictBits), want.size());
        EXPECT_EQ(r.status, arc::Status::Ok) << c.method;
        EXPECT_EQ(r.data.size(), want.size()) << c.method;
        EXPECT_TRUE(r.data == want) << c.method;
    }
}

TEST(LzhWindow, LargeOutputReachesTheSinkInLargeWrites) {
    std::vector<std::vector<Token>> blocks;
    for (int i = 0; i < 40; ++i) {
        blocks.push_back({});
        for (int k = 0; k < 1000; ++k) blocks.back().push_back(match(256, 1 + (k % 7)));
    }
    blocks.front().insert(blocks.front().begin(), lit('x'));
    Bytes packed = staticStream(blocks, 16);
    arc::MemorySource psrc(packed);
    VecSink sink;
    uint16_t crc = 0;
    const uint64_t size = 1 + 40ull * 1000 * 256;
    ASSERT_EQ(arc::lzhDecodeMember("-lh7-", psrc, 0, packed.size(), size, sink, &crc), arc::Status::Ok);
    EXPECT_EQ(sink.data.size(), size);
    EXPECT_EQ(std::count(sink.data.begin(), sink.data.end(), 'x'), static_cast<long>(size));
    EXPECT_LE(sink.writes, size / 65536 + 1);
}

}  // namespace
