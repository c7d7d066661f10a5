// LZX round trips: the test encoder's frames through our decoder, and its
// cabinets through the peer cabextract, for several windows, block layouts
// and data kinds.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

#include "support/archive_fixtures.h"
#include "cab_block_decoder.h"
#include "cab_writer.h"
#include "lzx_encoder.h"

namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> textData(size_t n, uint32_t seed) {
    static const char* words[] = {"archive ", "viewer ", "window ", "the ", "of ", "\xe6\x97\xa5\xe6\x9c\xac ",
                                  "text\r\n", "LZX ", "frame ", "block ", "0123 ", "Quibex "};
    std::mt19937 rng(seed);
    std::vector<uint8_t> out;
    out.reserve(n + 16);
    while (out.size() < n) {
        const char* w = words[rng() % 12];
        while (*w && out.size() < n) out.push_back(static_cast<uint8_t>(*w++));
    }
    return out;
}

// Mostly random bytes with repeats and many 0xE8 opcodes followed by operands
// of every kind (small, negative, huge), as x86 code has.
std::vector<uint8_t> binaryData(size_t n, uint32_t seed) {
    std::mt19937 rng(seed);
    std::vector<uint8_t> out;
    out.reserve(n);
    while (out.size() < n) {
        switch (rng() % 4) {
        case 0: {
            out.push_back(0xE8);
            int32_t rel = static_cast<int32_t>(rng() % 3 == 0 ? rng() : (rng() % 200000) - 100000);
            for (int k = 0; k < 4; ++k) out.push_back(static_cast<uint8_t>(static_cast<uint32_t>(rel) >> (8 * k)));
            break;
        }
        case 1:
            if (out.size() > 300) {
                size_t from = out.size() - 1 - rng() % 300;
                size_t len = 3 + rng() % 40;
                for (size_t k = 0; k < len; ++k) out.push_back(out[from + k]);
                break;
            }
            [[fallthrough]];
        default:
            out.push_back(static_cast<uint8_t>(rng()));
        }
    }
    out.resize(n);
    return out;
}

// Fixed-size records (as in tables and x86 data sections): matches sit at
// multiples of 8, so the aligned-offset code is far from uniform.
std::vector<uint8_t> recordData(size_t n, uint32_t seed) {
    std::mt19937 rng(seed);
    std::vector<uint8_t> out;
    out.reserve(n + 32);
    for (uint32_t id = 0; out.size() < n; ++id) {
        const uint32_t base = 0x00401000u + static_cast<uint32_t>(rng() % 16) * 0x40;
        const uint32_t flag = rng() % 4 == 0 ? static_cast<uint32_t>(rng()) : 7u;
        const uint32_t fields[4] = {id, base, flag, 0xFFFFFFFFu};
        for (uint32_t f : fields)
            for (int k = 0; k < 4; ++k) out.push_back(static_cast<uint8_t>(f >> (8 * k)));
    }
    out.resize(n);
    return out;
}

enum Kind { kText, kBinary, kRecords };

std::vector<uint8_t> makeData(int kind, size_t n, uint32_t seed) {
    return kind == kText ? textData(n, seed) : kind == kBinary ? binaryData(n, seed) : recordData(n, seed);
}

// Decodes frames as consecutive CFDATA blocks of one folder.
arc::Status decodeFrames(const std::vector<std::vector<uint8_t>>& frames, size_t total, unsigned windowBits,
                         std::vector<uint8_t>& out) {
    auto dec = arc::makeLzxDecoder(windowBits);
    if (!dec) return arc::Status::Method;
    out.assign(total, 0);
    size_t at = 0;
    for (const auto& f : frames) {
        size_t n = std::min<size_t>(32768, total - at);
        arc::Status s = dec->decodeBlock(f.data(), f.size(), out.data() + at, n);
        if (s != arc::Status::Ok) return s;
        at += n;
    }
    return at == total ? arc::Status::Ok : arc::Status::BrokenData;
}

struct RoundTripCase {
    const char* name;
    unsigned windowBits;
    size_t size;
    int kind;
    bool e8;
    unsigned blockType;
    size_t blockSize;
    int storedBlock;
    bool matches;
    size_t firstBlock;
};

const RoundTripCase kCases[] = {
    {"empty", 16, 0, kText, false, 1, 40000, -1, true, 0},
    {"one_byte", 15, 1, kText, false, 1, 40000, -1, true, 0},
    {"one_byte_stored", 15, 1, kText, false, 1, 40000, 0, true, 0},
    {"frame_minus_one", 15, 32767, kText, false, 1, 40000, -1, true, 0},
    {"exact_frame", 16, 32768, kBinary, true, 1, 40000, -1, true, 0},
    {"frame_plus_one", 21, 32769, kText, false, 1, 40000, -1, true, 0},
    {"text_1m_w15", 15, 1 << 20, kText, false, 1, 100000, -1, true, 0},
    {"text_1m_w16_aligned", 16, 1 << 20, kText, false, 2, 70000, -1, true, 0},
    {"text_1m_w21", 21, 1 << 20, kText, false, 1, 300000, -1, true, 0},
    {"binary_1m_w16_e8", 16, 1 << 20, kBinary, true, 1, 50000, -1, true, 0},
    {"binary_1m_w21_e8_aligned", 21, 1 << 20, kBinary, true, 2, 50000, 3, true, 0},
    {"binary_200k_no_e8", 17, 200000, kBinary, false, 1, 20000, -1, true, 0},
    {"stored_block_spans_frames", 16, 150001, kBinary, true, 1, 45001, 1, true, 0},
    {"small_blocks_text", 18, 90000, kText, false, 1, 1000, 5, true, 0},
    {"tiny_e8_frame", 16, 11, kBinary, true, 1, 40000, -1, true, 0},
    // Literal-only tokens put block ends exactly: an odd stored block ending on a frame end.
    {"stored_odd_block_ends_on_frame", 16, 70000, kText, false, 1, 32767, 1, false, 1},
    {"stored_first_block_literals", 15, 40001, kBinary, false, 1, 32768, 0, false, 7},
    {"records_aligned_w16", 16, 300000, kRecords, false, 2, 60000, -1, true, 0},
    {"records_aligned_w21_e8", 21, 200000, kRecords, true, 2, 50000, 2, true, 0},
};

class CabLzxRoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(CabLzxRoundTrip, DecoderReproducesInput) {
    const RoundTripCase& c = GetParam();
    std::vector<uint8_t> data = makeData(c.kind, c.size, 7);
    lzxtest::LzxOptions opt;
    opt.windowBits = c.windowBits;
    opt.e8 = c.e8;
    opt.blockType = c.blockType;
    opt.blockSize = c.blockSize;
    opt.storedBlock = c.storedBlock;
    opt.matches = c.matches;
    opt.firstBlockSize = c.firstBlock;
    auto frames = lzxtest::lzxEncode(data, opt);
    ASSERT_EQ(frames.size(), (c.size + 32767) / 32768);
    std::vector<uint8_t> out;
    ASSERT_EQ(decodeFrames(frames, data.size(), c.windowBits, out), arc::Status::Ok);
    ASSERT_EQ(out.size(), data.size());
    EXPECT_TRUE(out == data) << "first difference at "
                             << (std::mismatch(out.begin(), out.end(), data.begin()).first - out.begin());
}

std::string cabextractPath() {
    for (const char* p : {"/usr/bin/cabextract", "/usr/local/bin/cabextract"})
        if (fs::exists(p)) return p;
    return "";
}

// A fresh folder under the system temp folder, removed when done.
struct TempDir {
    fs::path path;
    explicit TempDir(const std::string& tag) {
        path = fs::temp_directory_path() / ("quibex_lzx_" + tag + "_" + std::to_string(::getpid()));
        fs::remove_all(path);
        fs::create_directories(path);
    }
    ~TempDir() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
};

void writeBytes(const fs::path& p, const std::vector<uint8_t>& data) {
    std::ofstream f(p, std::ios::binary);
    f.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
}

// The same encoder output in a cabinet: the peer tool must test it clean and
// extract both members byte for byte.
TEST_P(CabLzxRoundTrip, CabextractAgrees) {
    const RoundTripCase& c = GetParam();
    const std::string tool = cabextractPath();
    if (tool.empty()) GTEST_SKIP() << "cabextract not installed";
    std::vector<uint8_t> data = makeData(c.kind, c.size, 11);
    const size_t split = c.size / 3;
    std::vector<cabtest::FileEntry> files = {{"first.bin", {data.begin(), data.begin() + split}},
                                             {"second.txt", {data.begin() + split, data.end()}}};
    cabtest::WriterOptions opt;
    opt.lzx.windowBits = c.windowBits;
    opt.lzx.e8 = c.e8;
    opt.lzx.blockType = c.blockType;
    opt.lzx.blockSize = c.blockSize;
    opt.lzx.storedBlock = c.storedBlock;
    opt.lzx.matches = c.matches;
    opt.lzx.firstBlockSize = c.firstBlock;
    opt.checksums = c.size % 2 == 0;  // both with and without CFDATA checksums
    TempDir dir(c.name);
    const fs::path cab = dir.path / "t.cab";
    writeBytes(cab, cabtest::writeCab(files, opt));
    const fs::path outDir = dir.path / "out";
    const std::string q = "'" + tool + "' ";
    ASSERT_EQ(std::system((q + "-q -t '" + cab.string() + "' >/dev/null 2>&1").c_str()), 0);
    ASSERT_EQ(std::system((q + "-q -d '" + outDir.string() + "' '" + cab.string() + "' >/dev/null 2>&1").c_str()), 0);
    for (const auto& f : files) {
        std::vector<uint8_t> got = fixtures::readFile((outDir / f.name).string());
        EXPECT_EQ(got.size(), f.data.size()) << f.name;
        EXPECT_TRUE(got == f.data) << f.name;
    }

    // And our decoder on the cabinet's own CFDATA blocks.
    cabtest::ParsedCab parsed;
    ASSERT_TRUE(cabtest::parseCab(cabtest::writeCab(files, opt), parsed));
    ASSERT_EQ(parsed.folders.size(), 1u);
    std::vector<std::vector<uint8_t>> frames;
    for (const auto& b : parsed.folders[0].blocks) frames.push_back(b.payload);
    std::vector<uint8_t> out;
    ASSERT_EQ(decodeFrames(frames, data.size(), parsed.folders[0].typeCompress >> 8, out), arc::Status::Ok);
    EXPECT_TRUE(out == data);
}

INSTANTIATE_TEST_SUITE_P(CabLzx, CabLzxRoundTrip, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<RoundTripCase>& p) { return std::string(p.param.name); });

// The peer reads a stored block whose header ended on a word boundary (a
// whole zero word of alignment) the way we write and read it.
TEST(CabLzxStored, WholeWordAlignmentAgreesWithCabextract) {
    const std::string tool = cabextractPath();
    if (tool.empty()) GTEST_SKIP() << "cabextract not installed";
    std::vector<uint8_t> data = textData(50000, 9);
    lzxtest::LzxOptions lzx;
    lzx.windowBits = 15;
    lzx.storedBlock = 1;
    lzx.blockSize = 20001;
    lzxtest::LzxStats stats;
    // Vary the first block's length until the stored header lands on a word boundary.
    for (lzx.firstBlockSize = 100; lzx.firstBlockSize < 400; ++lzx.firstBlockSize) {
        lzxtest::lzxEncode(data, lzx, &stats);
        if (stats.storedWholeWordPads > 0) break;
    }
    ASSERT_EQ(stats.storedBlocks, 1u);
    ASSERT_EQ(stats.storedWholeWordPads, 1u);
    cabtest::WriterOptions opt;
    opt.lzx = lzx;
    TempDir dir("wholeword");
    writeBytes(dir.path / "w.cab", cabtest::writeCab({{"w.txt", data}}, opt));
    ASSERT_EQ(std::system(("'" + tool + "' -q -d '" + dir.path.string() + "/out' '" + dir.path.string() +
                           "/w.cab' >/dev/null 2>&1").c_str()),
              0);
    std::vector<uint8_t> got = fixtures::readFile((dir.path / "out" / "w.txt").string());
    EXPECT_EQ(got.size(), data.size());
    EXPECT_TRUE(got == data);
    std::vector<uint8_t> out;
    ASSERT_EQ(decodeFrames(lzxtest::lzxEncode(data, lzx), data.size(), 15, out), arc::Status::Ok);
    EXPECT_TRUE(out == data);
}

// The encoder exercises what the decoder must handle: repeated offsets and,
// when asked, aligned-offset blocks whose aligned code differs from plain
// 3-bit footers (else an aligned block would decode right even as verbatim).
TEST(CabLzxStored, EncoderUsesRepeatOffsetsAndAlignedBlocks) {
    std::vector<uint8_t> data = recordData(300000, 5);
    lzxtest::LzxOptions lzx;
    lzx.blockType = 2;
    lzxtest::LzxStats stats;
    auto frames = lzxtest::lzxEncode(data, lzx, &stats);
    EXPECT_GT(stats.alignedBlocks, 3u);
    EXPECT_EQ(stats.alignedNonUniform, stats.alignedBlocks);
    EXPECT_GT(stats.matches, 1000u);
    EXPECT_GT(stats.repeatMatches, 10u);
    std::vector<uint8_t> out;
    ASSERT_EQ(decodeFrames(frames, data.size(), lzx.windowBits, out), arc::Status::Ok);
    EXPECT_TRUE(out == data);
}

// The writer's other folder kinds and its checksums, judged by the peer: a
// cabinet with correct checksums tests clean, one with a damaged checksum
// does not (so the peer really checks them).
TEST(CabLzxWriter, StoredAndMszipFoldersAndChecksumsAgreeWithCabextract) {
    const std::string tool = cabextractPath();
    if (tool.empty()) GTEST_SKIP() << "cabextract not installed";
    std::vector<uint8_t> data = textData(100000, 21);
    std::vector<cabtest::FileEntry> files = {{"x.txt", {data.begin(), data.begin() + 60000}},
                                             {"y.txt", {data.begin() + 60000, data.end()}}};
    const std::string q = "'" + tool + "' -q ";
    for (cabtest::Method m : {cabtest::Method::None, cabtest::Method::Mszip, cabtest::Method::Lzx}) {
        SCOPED_TRACE(static_cast<int>(m));
        cabtest::WriterOptions opt;
        opt.method = m;
        std::vector<uint8_t> cab = cabtest::writeCab(files, opt);
        TempDir dir("writer" + std::to_string(static_cast<int>(m)));
        writeBytes(dir.path / "c.cab", cab);
        ASSERT_EQ(std::system((q + "-d '" + (dir.path / "out").string() + "' '" + (dir.path / "c.cab").string() +
                               "' >/dev/null 2>&1").c_str()),
                  0);
        for (const auto& f : files) EXPECT_TRUE(fixtures::readFile((dir.path / "out" / f.name).string()) == f.data);

        // Damage the first CFDATA checksum (the first CFDATA follows the last file name).
        cabtest::ParsedCab parsed;
        ASSERT_TRUE(cabtest::parseCab(cab, parsed));
        size_t firstData = cab[36] | (cab[37] << 8) | (cab[38] << 16) | (size_t{cab[39]} << 24);
        ASSERT_LT(firstData + 8, cab.size());
        cab[firstData] ^= 0x01;
        writeBytes(dir.path / "bad.cab", cab);
        EXPECT_NE(std::system((q + "-t '" + (dir.path / "bad.cab").string() + "' >/dev/null 2>&1").c_str()), 0);
    }
}

}  // namespace
