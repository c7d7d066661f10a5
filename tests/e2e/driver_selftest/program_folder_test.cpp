#include <gtest/gtest.h>

#include "e2e/driver.h"
#include "fixture_support.h"

namespace {

TEST(E2eDriverProgramFolder, EachFolderIsFreshAndRemovedAfterwards) {
  std::wstring first;
  std::wstring second;
  {
    e2e::ProgramFolder a;
    e2e::ProgramFolder b;
    first = a.path();
    second = b.path();
    ASSERT_FALSE(first.empty());
    ASSERT_FALSE(second.empty());
    EXPECT_NE(first, second);
    EXPECT_TRUE(e2e::pathExists(first));
    EXPECT_TRUE(e2e::pathExists(second));
  }
  EXPECT_FALSE(e2e::pathExists(first));
  EXPECT_FALSE(e2e::pathExists(second));
}

TEST(E2eDriverProgramFolder, RemovesReadOnlyHiddenFilesAndSubfolders) {
  std::wstring path;
  {
    e2e::ProgramFolder folder;
    path = folder.path();
    ASSERT_FALSE(path.empty());
    const std::wstring sub = folder.file(L"作業");
    ASSERT_TRUE(e2e::createFolders(sub + L"\\深い"));
    ASSERT_TRUE(e2e::writeFileBytes(folder.file(L"ro.txt"), "x"));
    ASSERT_TRUE(e2e::writeFileBytes(sub + L"\\深い\\hidden.txt", "y"));
    ASSERT_TRUE(SetFileAttributesW(folder.file(L"ro.txt").c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(SetFileAttributesW((sub + L"\\深い\\hidden.txt").c_str(),
                                   FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(SetFileAttributesW(sub.c_str(), FILE_ATTRIBUTE_READONLY));
  }
  EXPECT_FALSE(e2e::pathExists(path));
}

TEST(E2eDriverProgramFolder, CopiesRequestedFilesFromTheBuild) {
  e2e::ProgramFolder folder;
  ASSERT_TRUE(folder.copyFrom({selftest::kFixtureExe}));
  bool ok = false;
  const auto copy = e2e::readFileBytes(folder.file(selftest::kFixtureExe), &ok);
  ASSERT_TRUE(ok);
  const auto original = e2e::readFileBytes(e2e::joinPath(folder.buildBinFolder(), selftest::kFixtureExe));
  EXPECT_EQ(copy, original);
  ASSERT_GE(copy.size(), 2u);
  EXPECT_EQ(copy[0], 'M');
  EXPECT_EQ(copy[1], 'Z');
  EXPECT_FALSE(folder.copyFrom({L"no-such-file.dll"}));
  EXPECT_FALSE(e2e::pathExists(folder.file(L"no-such-file.dll")));
}

TEST(E2eDriverProgramFolder, CopyProgramFilesTakesOnlyWhatTheBuildHas) {
  e2e::ProgramFolder source;
  ASSERT_TRUE(e2e::writeFileBytes(source.file(L"UNZIP32.DLL"), "MZ"));
  ASSERT_TRUE(e2e::writeFileBytes(source.file(L"Quibex.exe"), "MZ"));
  ASSERT_TRUE(e2e::writeFileBytes(source.file(L"other.exe"), "MZ"));
  e2e::ProgramFolder folder;
  const auto copied = folder.copyProgramFiles(source.path());
  EXPECT_EQ(copied, (std::vector<std::wstring>{L"Quibex.exe", L"UNZIP32.DLL"}));
  EXPECT_TRUE(e2e::pathExists(folder.file(L"UNZIP32.DLL")));
  EXPECT_FALSE(e2e::pathExists(folder.file(L"other.exe")));
  EXPECT_FALSE(e2e::pathExists(folder.file(L"CAB32.DLL")));
}

TEST(E2eDriverProgramFolder, IniIsWrittenInCp932WithoutBomAndReadBack) {
  e2e::ProgramFolder folder;
  const std::string text = e2e::toUtf8(L"[Test]\nName=説明テスト\n");
  ASSERT_TRUE(folder.writeIni(text));
  bool ok = false;
  const auto bytes = e2e::readFileBytes(folder.file(L"Quibex.ini"), &ok);
  ASSERT_TRUE(ok);
  const std::string expected = "[Test]\r\nName=\x90\xe0\x96\xbe\x83\x65\x83\x58\x83\x67\r\n";
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), expected);
  EXPECT_EQ(folder.readIni(L"Quibex.ini", &ok), text);
  EXPECT_TRUE(ok);
  EXPECT_EQ(folder.iniValue(L"Test", L"Name"), L"説明テスト");
  EXPECT_EQ(folder.iniValue(L"Test", L"Missing", L"既定"), L"既定");
  folder.readIni(L"Other.ini", &ok);
  EXPECT_FALSE(ok);
}

}  // namespace
