// Streams for the rare methods -lh1-, -lh2- and -lh3-, written by test-side
// encoders (the adaptive ones through the decoder's own tree, the static one
// with flat and built-in codes). We decode them, and when jlha is installed
// it must decode the very same archive to the same bytes: that ties our
// reading of these formats to an independent implementation.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "archive.h"
#include "lzh_crc16.h"
#include "support/archive_fixtures.h"
#include "support/lzh_adaptive_encoder.h"
#include "support/lzh_bit_writer.h"
#include "zip_test_kit.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

using lzhtest::BitWriter;
using lzhtest::Token;

// jlha's -lh2- reading differs from the method's in one point: it counts the
// uses of the lone first position leaf (see lzh_adaptive_test.cpp). Streams
// whose first match starts after 64 bytes mean the same to both readers, so
// that is what jlha is asked to check for -lh2-.
constexpr size_t kLh2LiteralsFirst = 65;

// Random text of a few letters with matches of the given limits, the first
// after `literalsFirst` bytes.
std::vector<Token> randomTokens(size_t outputSize, size_t maxDist, size_t maxLen, uint32_t seed, Bytes* expanded,
                                size_t literalsFirst) {
    std::mt19937 rng(seed);
    std::vector<Token> toks;
    Bytes& out = *expanded;
    out.clear();
    while (out.size() < outputSize) {
        if (out.size() < literalsFirst || rng() % 3) {
            int c = 'a' + static_cast<int>(rng() % (rng() % 5 == 0 ? 26 : 4));
            toks.push_back({c, 0, 0});
            out.push_back(static_cast<uint8_t>(c));
            continue;
        }
        size_t dist = 1 + rng() % std::min(out.size(), maxDist);
        size_t len = 3 + rng() % (rng() % 4 == 0 ? maxLen - 2 : 8);
        toks.push_back({-1, len, dist});
        for (size_t i = 0; i < len; ++i) out.push_back(out[out.size() - dist]);
    }
    return toks;
}

// -lh1- (symbols = 314, fixed position code) or -lh2- (286, adaptive positions).
Bytes adaptiveStream(const std::vector<Token>& toks, bool lh2) { return lzhtest::encodeAdaptive(toks, lh2).bytes; }

// -lh3-: blocks of `perBlock` codes, each with 286 literal/length lengths
// sent one by one (a complete code: 226 of 8 bits, 60 of 9) and either the
// built-in position code or 128 sent lengths of 7 bits.
Bytes lh3Stream(const std::vector<Token>& toks, size_t perBlock, bool sentPositions) {
    auto canonical = [](const std::vector<int>& lens) {
        std::vector<uint32_t> codes(lens.size());
        uint32_t code = 0;
        for (int len = 1; len <= 16; ++len, code <<= 1)
            for (size_t i = 0; i < lens.size(); ++i)
                if (lens[i] == len) codes[i] = code++;
        return codes;
    };
    std::vector<int> clen(286), plen;
    for (int i = 0; i < 286; ++i) clen[i] = i < 226 ? 8 : 9;
    const int steps[] = {1, 1, 3, 6, 13, 31, 78};  // built-in code: one bit longer at each
    for (int i = 0, len = 2, s = 0; i < 128; ++i) {
        while (s < 7 && steps[s] == i) ++len, ++s;
        plen.push_back(sentPositions ? 7 : len);
    }
    auto ccode = canonical(clen), pcode = canonical(plen);
    BitWriter w;
    for (size_t n = 0; n < toks.size(); ++n) {
        const Token& t = toks[n];
        if (n % perBlock == 0) {
            w.put(static_cast<uint32_t>(std::min(perBlock, toks.size() - n)), 16);
            for (int i = 0; i < 286; ++i) w.put(1, 1), w.put(static_cast<uint32_t>(clen[i] - 1), 4);
            w.put(sentPositions ? 1 : 0, 1);
            if (sentPositions)
                for (int i = 0; i < 128; ++i) w.put(static_cast<uint32_t>(plen[i]), 4);
        }
        int sym = t.literal >= 0 ? t.literal : static_cast<int>(t.len - 3 + 256);
        int coded = sym >= 285 ? 285 : sym;
        w.put(ccode[coded], clen[coded]);
        if (coded == 285) w.put(static_cast<uint32_t>(sym - 285), 8);  // even for length 32
        if (t.literal >= 0) continue;
        uint32_t d = static_cast<uint32_t>(t.dist - 1);
        w.put(pcode[d >> 6], plen[d >> 6]);
        w.put(d & 63, 6);
    }
    return w.finish();
}

// A one-member level-0 archive around a packed stream.
Bytes archive(const std::string& method, const Bytes& packed, const Bytes& original) {
    Bytes h = {0, 0};
    h.insert(h.end(), method.begin(), method.end());
    auto put32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i) h.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    put32(static_cast<uint32_t>(packed.size()));
    put32(static_cast<uint32_t>(original.size()));
    put32(0x5A2B6C00);
    h.push_back(0x20), h.push_back(0);
    const std::string name = "data.txt";
    h.push_back(static_cast<uint8_t>(name.size()));
    h.insert(h.end(), name.begin(), name.end());
    uint16_t crc = arc::lzhCrc16(0, original.data(), original.size());
    h.push_back(static_cast<uint8_t>(crc)), h.push_back(static_cast<uint8_t>(crc >> 8));
    h[0] = static_cast<uint8_t>(h.size() - 2);
    uint8_t sum = 0;
    for (size_t i = 2; i < h.size(); ++i) sum = static_cast<uint8_t>(sum + h[i]);
    h[1] = sum;
    h.insert(h.end(), packed.begin(), packed.end());
    h.push_back(0);
    return h;
}

Bytes ourDecode(const Bytes& a, arc::Status* status) {
    arc::MemorySource src(a);
    auto ar = arc::openLzh(src, status);
    if (!ar) return {};
    fixtures::MemoryTarget t;
    *status = fixtures::extractAll(*ar, t);
    return t.results[0].data;
}

// jlha's extraction of the archive, or nullopt-like false when jlha is absent.
bool peerDecode(const Bytes& a, Bytes* out) {
    if (std::system("command -v jlha >/dev/null 2>&1") != 0) return false;
    char tmpl[] = "/tmp/lzh_cross_XXXXXX";
    if (!mkdtemp(tmpl)) return false;
    fs::path dir = tmpl;
    {
        std::ofstream f(dir / "in.lzh", std::ios::binary);
        f.write(reinterpret_cast<const char*>(a.data()), static_cast<std::streamsize>(a.size()));
    }
    std::string cmd = "cd '" + dir.string() + "' && jlha xq in.lzh >/dev/null 2>&1";
    int rc = std::system(cmd.c_str());
    std::ifstream f(dir / "data.txt", std::ios::binary);
    *out = Bytes(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
    fs::remove_all(dir);
    return rc == 0;
}

struct Case {
    const char* method;
    size_t size, maxDist, maxLen;
};

TEST(LzhCrossCheck, RareMethodsAgreeWithThePeer) {
    // Sizes large enough that both adaptive trees are halved and rebuilt
    // (root count 0x8000) and the -lh2- position tree grows to full size.
    const Case cases[] = {{"-lh1-", 400000, 4096, 60},
                          {"-lh2-", 400000, 8192, 256},
                          {"-lh3-", 60000, 8192, 256},
                          {"-lh3-/sent", 300000, 8192, 256}};
    for (auto& c : cases) {
        Bytes want;
        std::string variant = c.method, m = variant.substr(0, 5);
        auto toks = randomTokens(c.size, c.maxDist, c.maxLen, 17, &want, m == "-lh2-" ? kLh2LiteralsFirst : 10);
        Bytes packed = m != "-lh3-"            ? adaptiveStream(toks, m == "-lh2-")
                       : variant == "-lh3-"    ? lh3Stream(toks, 65535, false)
                                               : lh3Stream(toks, 5000, true);
        Bytes a = archive(m, packed, want);
        arc::Status st;
        Bytes ours = ourDecode(a, &st);
        EXPECT_EQ(st, arc::Status::Ok) << m;
        EXPECT_EQ(ours.size(), want.size()) << m;
        EXPECT_TRUE(ours == want) << m;
        Bytes peer;
        if (!peerDecode(a, &peer)) {
            std::cout << "[ lzh ] jlha not available: " << m << " checked by our decoder only\n";
            continue;
        }
        EXPECT_EQ(peer.size(), want.size()) << m << " (jlha)";
        EXPECT_TRUE(peer == want) << m << ": jlha reads the stream differently";
    }
}

}  // namespace

namespace {

Bytes mixedData(size_t textBytes, uint32_t seed) {
    Bytes d = ziptest::sampleText(textBytes, seed);
    Bytes noise = ziptest::sampleNoise(textBytes / 8, seed + 1);
    d.insert(d.end(), noise.begin(), noise.end());
    d.insert(d.end(), 3000, 'z');  // one long run: matches of the longest length
    Bytes tail = ziptest::sampleText(textBytes / 4, seed + 2);
    d.insert(d.end(), tail.begin(), tail.end());
    return d;
}

// Real data through the test encoder: our decoder and jlha must both return it.
TEST(LzhCrossCheck, AdaptiveEncoderRoundTripsRealData) {
    for (bool lh2 : {true, false}) {
        const std::string m = lh2 ? "-lh2-" : "-lh1-";
        Bytes data = mixedData(1200000, lh2 ? 5 : 6);
        if (lh2) {  // distinct bytes first: no match before the position tree splits
            Bytes head(kLh2LiteralsFirst);
            for (size_t i = 0; i < head.size(); ++i) head[i] = static_cast<uint8_t>(0x80 + i);
            data.insert(data.begin(), head.begin(), head.end());
        }
        Bytes packed = lzhtest::encodeAdaptive(lzhtest::tokenize(data, lh2 ? 8192 : 4096, lh2 ? 256 : 60), lh2).bytes;
        EXPECT_LT(packed.size(), data.size() / 2) << m;
        Bytes a = archive(m, packed, data);
        arc::Status st;
        Bytes ours = ourDecode(a, &st);
        EXPECT_EQ(st, arc::Status::Ok) << m;
        EXPECT_TRUE(ours == data) << m;
        Bytes peer;
        if (!peerDecode(a, &peer)) continue;
        EXPECT_TRUE(peer == data) << m << ": jlha reads the stream differently";
    }
}

// An encoder that leaves out its last, partly filled byte when the bits in
// it are zeros: decoders that read zeros past the end (as LHa for UNIX's bit
// input does; jlha does not) decode the whole member, whose CRC-16 then
// vouches for it; a stream that ends earlier than that is cut off.
TEST(LzhCrossCheck, AdaptiveStreamWithoutItsLastPartialByteDecodes) {
    for (bool lh2 : {true, false}) {
        const std::string m = lh2 ? "-lh2-" : "-lh1-";
        bool found = false;
        for (size_t n = 3000; n < 3400 && !found; ++n) {
            Bytes data = ziptest::sampleText(n, 11);
            lzhtest::Packed p = lzhtest::encodeAdaptive(lzhtest::tokenize(data, 8192, lh2 ? 256 : 60), lh2);
            if (p.bits % 8 == 0 || p.bytes.back() != 0) continue;
            found = true;
            Bytes cut(p.bytes.begin(), p.bytes.end() - 1);
            arc::Status st;
            Bytes ours = ourDecode(archive(m, cut, data), &st);
            EXPECT_EQ(st, arc::Status::Ok) << m << " size " << n;
            EXPECT_TRUE(ours == data) << m;
            Bytes shorter(p.bytes.begin(), p.bytes.end() - 3);
            ourDecode(archive(m, shorter, data), &st);
            EXPECT_EQ(st, arc::Status::UnexpectedEof) << m;
        }
        EXPECT_TRUE(found) << m << ": no stream ended in a zero partial byte";
    }
}

}  // namespace
