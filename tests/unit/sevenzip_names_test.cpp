// 7z archives made by 7zz at test time: Japanese member names (stored as
// UTF-16) come out as UTF-8 and land in the folder under their own file
// names; one member of a solid block is written alone.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "folder_extract.h"
#include "support/archive_fixtures.h"

namespace {

namespace fs = std::filesystem;

class SevenZipMade : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = fs::temp_directory_path() / ("qbx_7z_made_" + std::to_string(::getpid()));
        const std::string cmd = std::string("sh ") + QUIBEX_SOURCE_DIR + "/tests/data/make_7z_archives.sh '" +
                                dir_.string() + "' >/dev/null 2>&1";
        made_ = std::system(cmd.c_str()) == 0;
    }
    static void TearDownTestSuite() { fs::remove_all(dir_); }
    void SetUp() override {
        if (!made_) GTEST_SKIP() << "7zz could not make the archives";
    }
    static std::unique_ptr<arc::Archive> open(const std::string& name, std::unique_ptr<arc::ByteSource>& src) {
        src = arc::openFileSource((dir_ / name).string());
        arc::Status error = arc::Status::Ok;
        return src ? arc::openSevenZip(*src, &error) : nullptr;
    }
    static inline fs::path dir_;
    static inline bool made_ = false;
};

TEST_F(SevenZipMade, JapaneseNamesAreListedAndWrittenAsStored) {
    std::unique_ptr<arc::ByteSource> src;
    auto archive = open("japanese.7z", src);
    ASSERT_TRUE(archive);
    std::vector<std::string> names;
    for (const arc::Member& m : archive->members()) names.push_back(m.name);
    EXPECT_EQ(names, (std::vector<std::string>{"日本語/読んでね.txt", "説明書.txt"}));
    EXPECT_EQ(archive->members()[0].dosDate, ((2001 - 1980) << 9) | (2 << 5) | 3);
    EXPECT_EQ(archive->members()[0].dosTime, (4 << 11) | (5 << 5) | (6 / 2));

    const fs::path out = dir_ / "out_jp";
    arc::ExtractResult r = arc::extractArchiveToFolder((dir_ / "japanese.7z").string(), arc::Format::SevenZip,
                                                       {"*/読んでね.txt"}, arc::MatchRule::ZipPath, out.string(), {});
    EXPECT_EQ(r.status, arc::Status::Ok);
    EXPECT_EQ(r.written, std::vector<std::string>{"読んでね.txt"});
    auto data = fixtures::readFile((out / "読んでね.txt").string());
    EXPECT_EQ(std::string(data.begin(), data.end()), "日本語のテキストです。\r\n");
}

// Only the second member is wanted: the pass stops after it, and the solid
// block's first member, decoded on the way, is not written.
TEST_F(SevenZipMade, OneMemberOfASolidBlock) {
    std::unique_ptr<arc::ByteSource> src;
    auto archive = open("sample.7z", src);
    ASSERT_TRUE(archive);
    std::vector<bool> wanted(archive->members().size(), false);
    size_t pick = 0;
    for (size_t i = 0; i < wanted.size(); ++i)
        if (archive->members()[i].name == "doc/sub/guide.chm") pick = i;
    wanted[pick] = true;
    fixtures::MemoryTarget target;
    EXPECT_EQ(archive->extract(wanted, target), arc::Status::Ok);
    ASSERT_EQ(target.results.size(), 1u);
    EXPECT_EQ(target.results.begin()->first, pick);
    const auto& data = target.results.begin()->second.data;
    EXPECT_EQ(std::string(data.begin(), data.end()), "compiled help stand-in\r\n");
}

}  // namespace
