// ZIP methods beyond deflate through UNZIP32.DLL: archives 7zz and zip wrote
// at build time, and Zstandard members packed here (no peer writes them),
// must extract byte for byte; PPMd is refused as not supported.
#include <gtest/gtest.h>

#include <zstd.h>

#include "dll_fixture.h"
#include "zip_builder.h"

namespace dlltest {
namespace {

std::string source(const std::string& relative) {
    auto d = readFile(archivePath("src/" + relative));
    return std::string(d.begin(), d.end());
}

std::string extractCommand(const std::string& arc, const std::string& dir) {
    return "-x -j -o --i \"" + arc + "\" \"" + dir + "\"";
}

class DllZipMethod : public ::testing::TestWithParam<std::string> {};

TEST_P(DllZipMethod, ExtractsTheSampleByteForByte) {
    ArchiverDll& zip = library("zip");
    ASSERT_NE(zip.command, nullptr);
    TempFolder out;
    std::string report;
    ASSERT_EQ(zip.run(extractCommand(archivePath("method_" + GetParam() + ".zip"), out.path()), &report), 0) << report;
    const std::map<std::string, std::string> want{
        {"readme.txt", source("readme.txt")}, {"NOTES.DOC", source("NOTES.DOC")},
        {"info.me", source("info.me")},       {"image.bin", source("image.bin")},
        {"a.txt", source("doc/a.txt")},       {"guide.chm", source("doc/sub/guide.chm")}};
    EXPECT_EQ(out.files(), want);
}

INSTANTIATE_TEST_SUITE_P(Dll, DllZipMethod, ::testing::Values("Deflate64", "BZip2", "LZMA", "xz", "zipbzip2"),
                         [](const ::testing::TestParamInfo<std::string>& p) { return p.param; });

TEST(DllZipMethods, PpmdIsRefusedAsNotSupportedAndLeavesNoPackedMember) {
    ArchiverDll& zip = library("zip");
    TempFolder out;
    EXPECT_EQ(zip.run(extractCommand(archivePath("method_PPMd.zip"), out.path())), 0x8023);
    // 7-Zip stores the members PPMd cannot shrink; the packed ones leave nothing.
    EXPECT_EQ(out.files().count("readme.txt"), 0u);
    EXPECT_EQ(out.files().count("image.bin"), 0u);
}

TEST(DllZipMethods, ZstandardMembersExtract) {
    ArchiverDll& zip = library("zip");
    std::string text;
    for (int i = 0; i < 4000; ++i) text += "Zstandard line " + std::to_string(i % 97) + " of a readme\r\n";
    std::string packed(ZSTD_compressBound(text.size()), '\0');
    size_t n = ZSTD_compress(packed.data(), packed.size(), text.data(), text.size(), 19);
    ASSERT_FALSE(ZSTD_isError(n));
    packed.resize(n);
    TempFolder work;
    ASSERT_TRUE(writeFile(work.path() + "z.zip",
                          buildZip({{{"readme.txt", text, false}, 93, packed}, {{"empty.txt", "", false}, 93, ""}})));
    TempFolder out;
    std::string report;
    // The empty member's data is not even a frame: it must fail alone, leaving no file.
    EXPECT_NE(zip.run(extractCommand(work.path() + "z.zip", out.path()), &report), 0);
    EXPECT_EQ(out.files(), (std::map<std::string, std::string>{{"readme.txt", text}})) << report;
}

// The five-part cabinet set of the team's real cabinets, copied under the
// names their headers give: extracted whole from part 1; without part 3 the
// error code and the report name the missing part.
TEST(DllCabSet, SetExtractsWholeAndAMissingPartIsNamed) {
    const std::string testdata = std::string("Z:") + QUIBEX_TESTDATA + "\\cab\\";
    if (readFile(testdata + "multi_basic_pt1.cab").empty()) GTEST_SKIP() << "shared test archives not present";
    ArchiverDll& cab = library("cab");
    TempFolder set;
    for (int p = 1; p <= 5; ++p) {
        auto bytes = readFile(testdata + "multi_basic_pt" + std::to_string(p) + ".cab");
        ASSERT_TRUE(writeFile(set.path() + "cabd_multi_basic_pt" + std::to_string(p) + ".cab", bytes));
    }
    const std::string first = set.path() + "cabd_multi_basic_pt1.cab";
    TempFolder whole;
    std::string report;
    ASSERT_EQ(cab.run("-x -j -o -i \"" + first + "\" \"" + whole.path() + "\"", &report), 0) << report;
    auto files = whole.files();
    EXPECT_EQ(files.size(), 3u);
    EXPECT_EQ(files.count("test1.txt"), 1u);

    ASSERT_TRUE(DeleteFileW(toWide(set.path() + "cabd_multi_basic_pt3.cab").c_str()));
    TempFolder cut;
    EXPECT_EQ(cab.run("-x -j -o -i \"" + first + "\" \"" + cut.path() + "\"", &report), 0x8029);
    EXPECT_NE(report.find("cabd_multi_basic_pt3.cab"), std::string::npos) << report;
    EXPECT_TRUE(cut.files().empty()) << "every member of this set needs part 3";
}

}  // namespace
}  // namespace dlltest
