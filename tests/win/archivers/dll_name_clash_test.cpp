// Flat extraction of members whose names differ only in case outside ASCII:
// the Windows file system takes each pair for one file, so the second member
// must get a name of its own instead of replacing the first.
#include <gtest/gtest.h>

#include <set>

#include "dll_fixture.h"

namespace dlltest {
namespace {

class DllNameClash : public ::testing::TestWithParam<std::string> {};

TEST_P(DllNameClash, EveryMemberSurvivesUnderItsOwnName) {
    ArchiverDll& dll = library(GetParam());
    ASSERT_NE(dll.command, nullptr);
    TempFolder out;
    const std::string arc = archivePath("clash." + GetParam());
    std::string report;
    ASSERT_EQ(dll.run("-x -j -o -i \"" + arc + "\" \"" + out.path() + "\"", &report), 0) << report;
    const std::map<std::string, std::string> files = out.files();
    std::set<std::string> texts;
    for (const auto& [name, text] : files) texts.insert(text);
    // Cyrillic, Greek, Latin-1 and full-width pairs: eight members, eight texts.
    EXPECT_EQ(files.size(), 8u) << report;
    EXPECT_EQ(texts.size(), 8u);
    EXPECT_EQ(texts.count("upper \xd0\x9f\xd0\xa0\xd0\x98\xd0\x92\xd0\x95\xd0\xa2\r\n"), 1u);  // ПРИВЕТ
    EXPECT_EQ(texts.count("lower \xd0\xbf\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82\r\n"), 1u);  // привет
    // The first of each pair keeps its name; the second is numbered.
    EXPECT_EQ(files.count("\xd0\x9f\xd0\xa0\xd0\x98\xd0\x92\xd0\x95\xd0\xa2.txt"), 1u);
    EXPECT_EQ(files.count("\xd0\xbf\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82 (2).txt"), 1u);
    EXPECT_EQ(files.count("\xc3\xa9t\xc3\xa9 (2).txt"), 1u);  // été
}

INSTANTIATE_TEST_SUITE_P(Dll, DllNameClash, ::testing::Values("zip", "cab"),
                         [](const ::testing::TestParamInfo<std::string>& p) { return p.param; });

}  // namespace
}  // namespace dlltest
