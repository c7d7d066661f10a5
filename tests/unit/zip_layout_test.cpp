// Where the archive sits and how its end is described: self-extracting stubs
// with both offset conventions, comments and trailing bytes, ZIP64 end
// records, entry counts past 65535.
#include <gtest/gtest.h>

#include <ostream>

#include <set>

#include "byte_source.h"
#include "zip_test_kit.h"

namespace {

namespace fs = std::filesystem;
using ziptest::Bytes;

// A stub with the kinds of "PK" fragments real loaders contain.
Bytes stubBytes(size_t n) {
    Bytes stub = ziptest::bytesOf("MZ");
    Bytes noise = ziptest::sampleNoise(n, 77);
    ziptest::addBytes(stub, noise);
    const char* fragments[] = {"PK", "PK\x03\x04", "PK\x01\x02", "PK\x05", "PK\x06\x06"};
    size_t at = 100;
    for (const char* f : fragments) {
        std::string s(f, f[2] ? 4 : 2);
        for (size_t i = 0; i < s.size() && at + i < stub.size(); ++i) stub[at + i] = static_cast<uint8_t>(s[i]);
        at += 500;
    }
    return stub;
}

std::vector<std::pair<std::string, Bytes>> threeFiles() {
    return {{"first.txt", ziptest::sampleText(40000, 1)},
            {"sub/second.bin", ziptest::sampleNoise(5000, 2)},
            {"third.txt", ziptest::sampleText(300, 3)}};
}

void expectFiles(arc::Archive& a, const std::vector<std::pair<std::string, Bytes>>& files, const std::string& label) {
    std::vector<const arc::Member*> plain;
    fixtures::MemoryTarget t;
    EXPECT_EQ(fixtures::extractAll(a, t), arc::Status::Ok) << label;
    size_t seen = 0;
    for (size_t i = 0; i < a.members().size(); ++i) {
        const arc::Member& m = a.members()[i];
        if (m.isFolder) continue;
        ASSERT_LT(seen, files.size()) << label;
        EXPECT_EQ(m.name, files[seen].first) << label;
        EXPECT_EQ(t.results[i].data.size(), files[seen].second.size()) << label << " " << m.name;
        EXPECT_TRUE(t.results[i].data == files[seen].second) << label << " " << m.name;
        ++seen;
    }
    EXPECT_EQ(seen, files.size()) << label;
}

struct LayoutCase {
    const char* label;
    size_t stub;  // bytes before the archive, offsets from the archive start
    bool zip64End;
    bool zip64Sizes;
    std::string comment;
    std::string trailer;  // bytes after the end record that its comment does not cover
};
void PrintTo(const LayoutCase& c, std::ostream* os) { *os << c.label; }

const LayoutCase kLayouts[] = {
    {"plain", 0, false, false, "", ""},
    {"stub_unadjusted", 7000, false, false, "", ""},
    {"comment_with_fake_end_signature", 0, false, false, "see PK\x05\x06 here", ""},
    {"trailing_bytes_after_end", 0, false, false, "", "junk after the archive"},
    {"zip64_end_record", 0, true, false, "", ""},
    {"zip64_end_record_behind_unadjusted_stub", 3000, true, false, "", ""},
    {"zip64_size_extra", 0, false, true, "", ""},
    {"zip64_everything_with_stub_and_comment", 1234, true, true, "comment", ""},
};

class ZipLayouts : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(ZipLayouts, MembersComeOutWhole) {
    const LayoutCase& c = GetParam();
    ziptest::ZipWriter w;
    for (auto& [name, data] : threeFiles()) w.add(name, data, name.ends_with(".bin") ? 0 : 8).zip64Sizes = c.zip64Sizes;
    if (c.stub) w.prefix = stubBytes(c.stub);
    w.zip64End = c.zip64End;
    w.comment = ziptest::bytesOf(c.comment);
    Bytes bytes = w.build();
    ziptest::addBytes(bytes, ziptest::bytesOf(c.trailer));
    auto o = ziptest::openBytes(bytes);
    ASSERT_EQ(o->status, arc::Status::Ok);
    ASSERT_TRUE(o->archive);
    EXPECT_TRUE(arc::looksLikeZip(*o->src));
    expectFiles(*o->archive, threeFiles(), c.label);
}

INSTANTIATE_TEST_SUITE_P(Zip, ZipLayouts, ::testing::ValuesIn(kLayouts),
                         [](const auto& tp) { return std::string(tp.param.label); });

// Offsets counted from the file start, as `zip -A` leaves them: every stored
// offset moved by the stub length, with and without ZIP64 end records.
TEST(ZipLayout, StubWithAdjustedOffsets) {
    for (bool zip64 : {false, true}) {
        ziptest::ZipWriter w;
        for (auto& [name, data] : threeFiles()) w.add(name, data);
        w.prefix = stubBytes(5000);
        w.zip64End = zip64;
        Bytes unadjusted = w.build();
        Bytes adjusted = unadjusted;
        for (size_t i = 0; i < w.central.size(); ++i)
            ziptest::put32(adjusted, w.central[i] + 42, static_cast<uint32_t>(w.local[i]));
        if (zip64) {
            ziptest::put64(adjusted, w.end64Pos + 48, w.cdStart);
            ziptest::put64(adjusted, w.locatorPos + 8, w.end64Pos);
        } else {
            ziptest::put32(adjusted, w.endPos + 16, static_cast<uint32_t>(w.cdStart));
        }
        ASSERT_NE(adjusted, unadjusted);
        for (auto* bytes : {&unadjusted, &adjusted}) {
            std::string label = std::string(zip64 ? "zip64 " : "") + (bytes == &adjusted ? "adjusted" : "unadjusted");
            auto o = ziptest::openBytes(*bytes);
            ASSERT_TRUE(o->archive) << label;
            expectFiles(*o->archive, threeFiles(), label);
        }
    }
}

TEST(ZipLayout, MoreThan65535EntriesWithAndWithoutZip64End) {
    for (bool zip64 : {false, true}) {
        ziptest::ZipWriter w;
        const size_t n = 70000;
        for (size_t i = 0; i < n; ++i) w.add("f" + std::to_string(i), ziptest::bytesOf(std::to_string(i * 7)), 0);
        w.zip64End = zip64;
        auto o = ziptest::openBytes(w.build());
        ASSERT_TRUE(o->archive) << zip64;
        const auto& ms = o->archive->members();
        ASSERT_EQ(ms.size(), n) << zip64;
        // Extract a few spread-out members.
        std::vector<bool> wanted(n, false);
        for (size_t i : {size_t{0}, size_t{65535}, size_t{65536}, n - 1}) wanted[i] = true;
        fixtures::MemoryTarget t;
        EXPECT_EQ(o->archive->extract(wanted, t), arc::Status::Ok);
        EXPECT_EQ(t.results.size(), 4u);
        for (auto& [i, r] : t.results) {
            EXPECT_EQ(ms[i].name, "f" + std::to_string(i));
            EXPECT_EQ(r.data, ziptest::bytesOf(std::to_string(i * 7)));
        }
    }
}

// Self-extracting programs made the usual ways with the real tools: stub and
// archive concatenated, then the same passed through `zip -A`.
TEST(ZipLayout, ToolMadeSelfExtractorsBothOffsetStyles) {
    if (!ziptest::hasTool("zip")) GTEST_SKIP() << "zip missing";
    for (const char* flags : {"-9", "-fz"}) {
        ziptest::TempDir tmp;
        auto files = threeFiles();
        for (auto& [name, data] : files) ziptest::writeFile(tmp.path() / "in" / name, data);
        fs::path zipPath = tmp.path() / "a.zip", sfx = tmp.path() / "a.exe";
        ziptest::writeFile(tmp.path() / "stub", stubBytes(9000));
        ASSERT_EQ(ziptest::run("cd " + ziptest::quote(tmp.path() / "in") + " && zip -q " + flags + " " +
                               ziptest::quote(zipPath) + " first.txt sub/second.bin third.txt"), 0);
        ASSERT_EQ(ziptest::run("cat " + ziptest::quote(tmp.path() / "stub") + " " + ziptest::quote(zipPath) + " > " +
                               ziptest::quote(sfx)), 0);
        Bytes unadjusted = fixtures::readFile(sfx.string());
        std::vector<Bytes*> variants{&unadjusted};
        // zip -A refuses archives with ZIP64 end records; the hand-built case covers those.
        Bytes adjusted;
        if (std::string(flags) != "-fz") {
            ASSERT_EQ(ziptest::run("zip -q -A " + ziptest::quote(sfx)), 0);
            adjusted = fixtures::readFile(sfx.string());
            ASSERT_NE(adjusted, unadjusted) << "zip -A changed nothing";
            variants.push_back(&adjusted);
        }
        for (auto* bytes : variants) {
            std::string label = std::string(flags) + (bytes == &adjusted ? " adjusted" : " unadjusted");
            auto o = ziptest::openBytes(*bytes);
            ASSERT_TRUE(o->archive) << label;
            expectFiles(*o->archive, files, label);
        }
    }
}

TEST(ZipLayout, ToolCommentIsSkipped) {
    if (!ziptest::hasTool("zip")) GTEST_SKIP() << "zip missing";
    ziptest::TempDir tmp;
    auto files = threeFiles();
    for (auto& [name, data] : files) ziptest::writeFile(tmp.path() / "in" / name, data);
    fs::path zipPath = tmp.path() / "c.zip";
    ASSERT_EQ(ziptest::run("cd " + ziptest::quote(tmp.path() / "in") + " && zip -q " + ziptest::quote(zipPath) +
                           " first.txt sub/second.bin third.txt && head -c 60000 /dev/zero | tr '\\0' 'c' | zip -q -z " +
                           ziptest::quote(zipPath)), 0);
    Bytes bytes = fixtures::readFile(zipPath.string());
    ASSERT_GT(bytes.size(), 60000u);
    auto o = ziptest::openBytes(bytes);
    ASSERT_TRUE(o->archive);
    expectFiles(*o->archive, files, "comment");
}

TEST(ZipLayout, NotAnArchive) {
    struct Case {
        const char* label;
        Bytes bytes;
        arc::Status want;
    } cases[] = {
        {"empty_file", {}, arc::Status::NotArcFile},
        {"noise", ziptest::sampleNoise(100000, 5), arc::Status::NotArcFile},
        {"stub_only", stubBytes(4000), arc::Status::NotArcFile},
    };
    for (auto& c : cases) {
        auto o = ziptest::openBytes(c.bytes);
        EXPECT_FALSE(o->archive) << c.label;
        EXPECT_EQ(o->status, c.want) << c.label;
        EXPECT_FALSE(arc::looksLikeZip(*o->src)) << c.label;
    }
}

TEST(ZipLayout, EmptyArchiveHasNoMembers) {
    ziptest::ZipWriter w;
    auto o = ziptest::openBytes(w.build());
    ASSERT_TRUE(o->archive);
    EXPECT_EQ(o->bytes.size(), 22u);
    EXPECT_TRUE(o->archive->members().empty());
    EXPECT_TRUE(arc::looksLikeZip(*o->src));
}

}  // namespace
