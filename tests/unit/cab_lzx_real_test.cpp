// The LZX decoder on the team's real and crafted cabinets, both driven
// directly over each folder's CFDATA blocks and through the CAB reader; and
// damaged or random streams, which must end cleanly.
#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "archive.h"
#include "byte_source.h"
#include "cab_block_decoder.h"
#include "cab_writer.h"
#include "lzx_encoder.h"
#include "support/archive_fixtures.h"

namespace {

using arc::Status;
using Bytes = std::vector<uint8_t>;

bool isLzx(uint16_t typeCompress) { return (typeCompress & 0x0F) == 3; }

// Decodes one folder block by block; stops at the first failure.
Status decodeFolder(const cabtest::Folder& folder, Bytes& out) {
    auto dec = arc::makeLzxDecoder((folder.typeCompress >> 8) & 0x1F);
    if (!dec) return Status::Method;
    out.clear();
    for (const auto& b : folder.blocks) {
        Bytes part(b.uncompressed);
        Status s = dec->decodeBlock(b.payload.data(), b.payload.size(), part.data(), part.size());
        if (s != Status::Ok) return s;
        out.insert(out.end(), part.begin(), part.end());
    }
    return Status::Ok;
}

// expected.tsv rows of one archive. Read here because the shared oracle
// reader stops at the LZH rows whose size column is "symlink".
std::vector<fixtures::ExpectedFile> expectedOf(const std::string& rel) {
    std::vector<fixtures::ExpectedFile> rows;
    std::ifstream in(fixtures::testdataDir() + "/expected.tsv");
    for (std::string line; std::getline(in, line);) {
        std::vector<std::string> cols;
        std::stringstream ss(line);
        for (std::string col; std::getline(ss, col, '\t');) cols.push_back(col);
        if (cols.size() >= 4 && cols[0] == rel) rows.push_back({cols[1], std::stoull(cols[2]), cols[3]});
    }
    return rows;
}

const char* const kGoodLzx[] = {"cab/mszip_lzx_qtm.cab", "cab/normal_2files_2folders.cab"};

TEST(CabLzxRealArchives, LzxFoldersDecodeToTheReferenceBytes) {
    if (fixtures::testdataDir().empty()) GTEST_SKIP() << "shared testdata not present";
    int members = 0;
    for (const char* rel : kGoodLzx) {
        SCOPED_TRACE(rel);
        cabtest::ParsedCab cab;
        ASSERT_TRUE(cabtest::parseCab(fixtures::readFile(fixtures::testdataDir() + "/" + rel), cab));
        const auto& expected = expectedOf(rel);
        for (size_t f = 0; f < cab.folders.size(); ++f) {
            if (!isLzx(cab.folders[f].typeCompress)) continue;
            Bytes out;
            ASSERT_EQ(decodeFolder(cab.folders[f], out), Status::Ok);
            for (const auto& file : cab.files) {
                if (file.folder != f) continue;
                ASSERT_LE(uint64_t{file.offset} + file.size, out.size());
                Bytes data(out.begin() + file.offset, out.begin() + file.offset + file.size);
                auto it = std::find_if(expected.begin(), expected.end(), [&](auto& e) { return e.member == file.name; });
                ASSERT_NE(it, expected.end()) << file.name;
                EXPECT_EQ(data.size(), it->size) << file.name;
                EXPECT_EQ(fixtures::md5Hex(data), it->md5) << file.name;
                ++members;
            }
        }
    }
    EXPECT_EQ(members, 3);  // lzx.txt, lzx1.txt, lzx2.txt
}

// The same cabinets through the CAB reader: every member, LZX or not.
TEST(CabLzxRealArchives, ReaderExtractsEveryMemberOfMixedCabinets) {
    if (fixtures::testdataDir().empty()) GTEST_SKIP() << "shared testdata not present";
    for (const char* rel : kGoodLzx) {
        SCOPED_TRACE(rel);
        Bytes bytes = fixtures::readFile(fixtures::testdataDir() + "/" + rel);
        arc::MemorySource src(bytes);
        Status err = Status::Ok;
        auto archive = arc::openCab(src, &err);
        ASSERT_NE(archive, nullptr) << std::hex << int(err);
        fixtures::MemoryTarget target;
        ASSERT_EQ(fixtures::extractAll(*archive, target), Status::Ok);
        const auto& expected = expectedOf(rel);
        ASSERT_EQ(target.results.size(), expected.size());
        for (const auto& [index, result] : target.results) {
            const auto& name = archive->members()[index].name;
            auto it = std::find_if(expected.begin(), expected.end(), [&](auto& e) { return e.member == name; });
            ASSERT_NE(it, expected.end()) << name;
            EXPECT_EQ(result.status, Status::Ok) << name;
            EXPECT_EQ(result.data.size(), it->size) << name;
            EXPECT_EQ(fixtures::md5Hex(result.data), it->md5) << name;
        }
    }
}

// Crafted cabinets, each named after its fault: a clean failure, directly and
// through the reader, with no member reported whole.
TEST(CabLzxRealArchives, CraftedLzxCabinetsFailCleanly) {
    if (fixtures::testdataDir().empty()) GTEST_SKIP() << "shared testdata not present";
    struct Crafted {
        const char* rel;
        bool parses;  // whether the cabinet's headers are intact enough to reach the blocks
    };
    const Crafted kCrafted[] = {{"cab/lzx-main-tree-no-lengths.cab", true},
                                {"cab/lzx-premature-matches.cab", true},
                                {"cab/cve-2015-4471-lzx-under-read.cab", false}};
    for (const auto& c : kCrafted) {
        SCOPED_TRACE(c.rel);
        Bytes bytes = fixtures::readFile(fixtures::testdataDir() + "/" + c.rel);
        cabtest::ParsedCab cab;
        if (cabtest::parseCab(bytes, cab)) {
            for (const auto& folder : cab.folders) {
                if (!isLzx(folder.typeCompress)) continue;
                Bytes out;
                EXPECT_NE(decodeFolder(folder, out), Status::Ok);
            }
        } else {
            EXPECT_FALSE(c.parses);
        }
        arc::MemorySource src(bytes);
        Status err = Status::Ok;
        auto archive = arc::openCab(src, &err);
        if (!archive) {
            EXPECT_NE(err, Status::Ok);
            continue;
        }
        fixtures::MemoryTarget target;
        EXPECT_NE(fixtures::extractAll(*archive, target), Status::Ok);
        for (const auto& [index, result] : target.results) {
            if (result.status == Status::Ok) {
                EXPECT_EQ(archive->members()[index].size, 0u) << index;
            }
        }
    }
}

// Our own LZX cabinet through the reader: container and decoder together.
TEST(CabLzxRealArchives, WrittenCabinetThroughReader) {
    Bytes text;
    for (int i = 0; text.size() < 200000; ++i) {
        std::string line = "line " + std::to_string(i * 37 % 1000) + " of the LZX folder\r\n";
        text.insert(text.end(), line.begin(), line.end());
    }
    std::vector<cabtest::FileEntry> files = {{"a.txt", Bytes(text.begin(), text.begin() + 70000)},
                                             {"b.txt", Bytes(text.begin() + 70000, text.end())},
                                             {"empty.txt", {}}};
    cabtest::WriterOptions opt;
    opt.lzx.windowBits = 17;
    opt.lzx.e8 = true;
    Bytes cab = cabtest::writeCab(files, opt);
    arc::MemorySource src(cab);
    Status err = Status::Ok;
    auto archive = arc::openCab(src, &err);
    ASSERT_NE(archive, nullptr) << std::hex << int(err);
    fixtures::MemoryTarget target;
    ASSERT_EQ(fixtures::extractAll(*archive, target), Status::Ok);
    ASSERT_EQ(target.results.size(), files.size());
    for (size_t i = 0; i < files.size(); ++i) {
        EXPECT_EQ(archive->members()[i].method, "lzx");
        EXPECT_EQ(target.results[i].data.size(), files[i].data.size()) << files[i].name;
        EXPECT_TRUE(target.results[i].data == files[i].data) << files[i].name;
    }
}

// A valid multi-frame folder to damage.
std::vector<cabtest::DataBlock> sampleFrames(unsigned windowBits, lzxtest::LzxOptions opt) {
    Bytes data;
    std::mt19937 rng(42);
    while (data.size() < 70000) {
        if (rng() % 3 == 0) {
            data.push_back(0xE8);
        } else {
            std::string w = "word" + std::to_string(rng() % 50) + " ";
            data.insert(data.end(), w.begin(), w.end());
        }
    }
    opt.windowBits = windowBits;
    auto frames = lzxtest::lzxEncode(data, opt);
    std::vector<cabtest::DataBlock> out;
    for (size_t i = 0; i < frames.size(); ++i)
        out.push_back({frames[i], static_cast<uint16_t>(std::min<size_t>(32768, data.size() - i * 32768))});
    return out;
}

TEST(CabLzxHostile, EveryTruncationOfACompressedFrameFails) {
    lzxtest::LzxOptions opt;
    opt.blockSize = 20000;
    auto blocks = sampleFrames(16, opt);
    ASSERT_GE(blocks.size(), 2u);
    const Bytes& first = blocks[0].payload;
    for (size_t cut = 0; cut < first.size(); cut += (cut < 64 ? 1 : 97)) {
        auto dec = arc::makeLzxDecoder(16);
        Bytes out(blocks[0].uncompressed);
        EXPECT_NE(dec->decodeBlock(first.data(), cut, out.data(), out.size()), Status::Ok) << "cut at " << cut;
    }
}

TEST(CabLzxHostile, BitFlipsAndRandomBlocksEndCleanly) {
    std::mt19937 rng(7);
    int failures = 0, runs = 0;
    for (unsigned blockType : {1u, 2u}) {
        lzxtest::LzxOptions opt;
        opt.blockType = blockType;
        opt.e8 = true;
        opt.storedBlock = 1;
        opt.blockSize = 15000;
        auto blocks = sampleFrames(15, opt);
        for (int trial = 0; trial < 150; ++trial) {
            cabtest::Folder folder;
            folder.typeCompress = 3 | (15 << 8);
            folder.blocks = blocks;
            auto& victim = folder.blocks[rng() % folder.blocks.size()].payload;
            for (int k = 0; k < 1 + trial % 4; ++k) victim[rng() % victim.size()] ^= static_cast<uint8_t>(1u << (rng() % 8));
            Bytes out;
            failures += decodeFolder(folder, out) != Status::Ok;
            ++runs;
        }
    }
    for (int trial = 0; trial < 300; ++trial) {
        cabtest::Folder folder;
        unsigned w = 15 + rng() % 7;
        folder.typeCompress = static_cast<uint16_t>(3 | (w << 8));
        for (int b = 0; b < 3; ++b) {
            Bytes payload(rng() % 3000);
            for (auto& x : payload) x = static_cast<uint8_t>(rng());
            folder.blocks.push_back({payload, static_cast<uint16_t>(1 + rng() % 32768)});
        }
        Bytes out;
        failures += decodeFolder(folder, out) != Status::Ok;
        ++runs;
    }
    // Damage is mostly caught; every run returned (no crash, no hang).
    EXPECT_GT(failures, runs / 2);
}

}  // namespace
