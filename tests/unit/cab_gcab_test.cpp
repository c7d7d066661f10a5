// Cabinets written by gcab (stored and MSZIP) from generated texts must come
// back byte for byte, also inside a self-extracting stub with a false "MSCF".
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <unistd.h>

#include "archive.h"
#include "support/archive_fixtures.h"

namespace {

using arc::Status;
using Bytes = std::vector<uint8_t>;

// Mixed English and Japanese lines with a slowly varying vocabulary, so
// deflate finds matches both near and far (beyond one 32 KiB block).
Bytes generatedText(size_t n, unsigned seed) {
    static const char* words[] = {"archive",  "member", "window", "\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e",
                                  "\xe3\x83\x86\xe3\x82\xad\xe3\x82\xb9\xe3\x83\x88", "folder", "block", "viewer"};
    Bytes out;
    uint32_t x = seed * 747796405u + 2891336453u;
    while (out.size() < n) {
        x = x * 1664525u + 1013904223u;
        std::string w = words[(x >> 13) % 8];
        if ((x >> 7) % 11 == 0) w += std::to_string((x >> 20) % 1000);
        w += (x >> 24) % 9 == 0 ? "\r\n" : " ";
        out.insert(out.end(), w.begin(), w.end());
    }
    out.resize(n);
    return out;
}

class CabGcab : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::system("command -v gcab >/dev/null 2>&1") != 0) GTEST_SKIP() << "gcab not installed";
        std::string tmpl = ::testing::TempDir() + "cab_gcab_XXXXXX";
        std::vector<char> buf(tmpl.begin(), tmpl.end());
        buf.push_back(0);
        ASSERT_NE(mkdtemp(buf.data()), nullptr);
        dir_ = buf.data();
    }
    void TearDown() override {
        if (!dir_.empty()) std::system(("rm -rf '" + dir_ + "'").c_str());
    }

    // Writes the files, packs them in the order given, returns the cabinet bytes.
    Bytes pack(const std::vector<std::pair<std::string, Bytes>>& files, bool mszip) {
        std::string cmd = "cd '" + dir_ + "' && gcab " + (mszip ? "-z " : "") + "-c out.cab";
        for (auto& [name, data] : files) {
            std::ofstream(dir_ + "/" + name, std::ios::binary).write(reinterpret_cast<const char*>(data.data()), data.size());
            cmd += " " + name;
        }
        EXPECT_EQ(std::system((cmd + " >/dev/null 2>&1").c_str()), 0) << cmd;
        return fixtures::readFile(dir_ + "/out.cab");
    }

    std::string dir_;
};

void expectRoundTrip(const Bytes& cab, const std::vector<std::pair<std::string, Bytes>>& files, const char* method) {
    arc::MemorySource src(cab);
    Status st;
    auto archive = arc::openCab(src, &st);
    ASSERT_NE(archive, nullptr) << std::hex << int(st);
    auto& members = archive->members();
    ASSERT_EQ(members.size(), files.size());
    fixtures::MemoryTarget target;
    EXPECT_EQ(fixtures::extractAll(*archive, target), Status::Ok);
    for (size_t i = 0; i < files.size(); ++i) {
        SCOPED_TRACE(files[i].first);
        EXPECT_EQ(members[i].name, files[i].first);
        EXPECT_EQ(members[i].method, method);
        EXPECT_EQ(members[i].size, files[i].second.size());
        EXPECT_EQ(target.results[i].status, Status::Ok);
        ASSERT_EQ(target.results[i].data.size(), files[i].second.size());
        EXPECT_TRUE(target.results[i].data == files[i].second);
    }
}

std::vector<std::pair<std::string, Bytes>> sampleFiles() {
    return {{"small.txt", generatedText(700, 1)},
            {"block.txt", generatedText(32768, 2)},
            {"over32k.txt", generatedText(40000, 3)},
            {"big.txt", generatedText(1300000, 4)},
            {"tiny.txt", generatedText(1, 5)},
            {"\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e.txt", generatedText(300, 6)}};  // gcab flags it as UTF-8
}

TEST_F(CabGcab, StoredAndMszipCabinetsRoundTrip) {
    auto files = sampleFiles();
    for (bool mszip : {false, true}) {
        SCOPED_TRACE(mszip ? "mszip" : "none");
        expectRoundTrip(pack(files, mszip), files, mszip ? "mszip" : "none");
    }
}

TEST_F(CabGcab, SelfExtractingStubWithFalseSignature) {
    auto files = sampleFiles();
    files.resize(3);
    Bytes cab = pack(files, true);
    // A program stub that mentions "MSCF" (as installers' code does) before the cabinet.
    Bytes sfx = {'M', 'Z', 0x90, 0};
    sfx.resize(5000, 0xCC);
    const char junk[] = "MSCF\x00\x00\x00\x00\xff\xff\xff\x7f junk after a false signature";
    sfx.insert(sfx.begin() + 300, junk, junk + sizeof junk);
    sfx.insert(sfx.end(), cab.begin(), cab.end());
    sfx.insert(sfx.end(), 64, 0);  // overlay padding after the cabinet
    expectRoundTrip(sfx, files, "mszip");
    arc::MemorySource src(sfx);
    EXPECT_TRUE(arc::looksLikeCab(src));
}

TEST_F(CabGcab, OneMemberFromTheMiddleOfAFolder) {
    auto files = sampleFiles();
    Bytes cab = pack(files, true);
    arc::MemorySource src(cab);
    Status st;
    auto archive = arc::openCab(src, &st);
    ASSERT_NE(archive, nullptr);
    fixtures::MemoryTarget target;
    EXPECT_EQ(archive->extract({false, false, true, false, false, false}, target), Status::Ok);
    ASSERT_EQ(target.results.size(), 1u);
    EXPECT_TRUE(target.results[2].data == files[2].second);
}

TEST(CabNotACabinet, OtherDataIsRefused) {
    Bytes text = generatedText(100000, 9);
    Bytes withSignature = text;
    std::copy_n("MSCF", 4, withSignature.begin() + 5000);
    for (const Bytes* b : {&text, &withSignature}) {
        arc::MemorySource src(*b);
        Status st = Status::Ok;
        EXPECT_EQ(arc::openCab(src, &st), nullptr);
        EXPECT_EQ(st, Status::NotArcFile);
        EXPECT_FALSE(arc::looksLikeCab(src));
    }
}

}  // namespace
