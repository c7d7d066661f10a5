// Registry, folder listing and GoogleTest glue.
#include <gtest/gtest.h>

#include "e2e/driver.h"
#include "e2e/gtest_support.h"
#include "fixture_support.h"

namespace {

// Private to this process: the prefix's registry is shared by every test of the build.
std::wstring testKey() { return L"Software\\QuibexE2eSelftest\\" + std::to_wstring(GetCurrentProcessId()); }

TEST(E2eDriverRegistry, ReadsWhatWasWrittenAndDeletesTrees) {
  const std::wstring key = testKey();
  ASSERT_TRUE(e2e::regSetString(HKEY_CURRENT_USER, key + L"\\子", L"名前", L"説明.txt"));
  ASSERT_TRUE(e2e::regSetString(HKEY_CURRENT_USER, key + L"\\b", L"", L"default"));
  DWORD number = 0x12345678;
  HKEY raw = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_SET_VALUE, &raw), ERROR_SUCCESS);
  RegSetValueExW(raw, L"n", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
  RegCloseKey(raw);

  EXPECT_EQ(e2e::regString(HKEY_CURRENT_USER, key + L"\\子", L"名前"), L"説明.txt");
  EXPECT_EQ(e2e::regString(HKEY_CURRENT_USER, key + L"\\b", L""), L"default");
  EXPECT_EQ(e2e::regDword(HKEY_CURRENT_USER, key, L"n"), 0x12345678u);
  EXPECT_FALSE(e2e::regString(HKEY_CURRENT_USER, key, L"n").has_value()) << "a DWORD is not a string";
  EXPECT_FALSE(e2e::regDword(HKEY_CURRENT_USER, key + L"\\子", L"名前").has_value());
  EXPECT_FALSE(e2e::regString(HKEY_CURRENT_USER, key + L"\\none", L"x").has_value());
  EXPECT_EQ(e2e::regSubkeys(HKEY_CURRENT_USER, key), (std::vector<std::wstring>{L"b", L"子"}));

  EXPECT_TRUE(e2e::regDeleteTree(HKEY_CURRENT_USER, key));
  EXPECT_FALSE(e2e::regKeyExists(HKEY_CURRENT_USER, key));
  EXPECT_TRUE(e2e::regKeyExists(HKEY_CURRENT_USER, L"Software"));
  EXPECT_FALSE(e2e::regDeleteTree(HKEY_CURRENT_USER, L""));
}

TEST(E2eDriverFiles, ListsFolderEntriesSorted) {
  e2e::ProgramFolder folder;
  for (const wchar_t* name : {L"b.txt", L"説明.txt", L"A.txt", L"a2"}) {
    ASSERT_TRUE(e2e::writeFileBytes(folder.file(name), "x"));
  }
  ASSERT_TRUE(e2e::createFolders(folder.file(L"sub")));
  EXPECT_EQ(e2e::listFolder(folder.path()),
            (std::vector<std::wstring>{L"A.txt", L"a2", L"b.txt", L"sub", L"説明.txt"}));
  EXPECT_TRUE(e2e::listFolder(folder.file(L"missing")).empty());
}

// The end-of-test screenshot is written while a program's window is up, and
// only then: an empty desktop under the test's name would show nothing of it,
// so a file of that name from an earlier run goes too.
TEST(E2eDriverSupport, ScreenshotAtEndShowsAWindowOrIsNotWritten) {
  EXPECT_EQ(e2e::currentTestName(), L"E2eDriverSupport.ScreenshotAtEndShowsAWindowOrIsNotWritten");
  const std::wstring expected = e2e::joinPath(e2e::screenshotFolder(), e2e::currentTestName() + L".png");
  ASSERT_TRUE(e2e::createFolders(e2e::screenshotFolder()));
  ASSERT_TRUE(e2e::writeFileBytes(expected, "stale"));
  {
    e2e::ScreenshotAtEnd shot;
  }
  EXPECT_FALSE(e2e::pathExists(expected)) << "written with no window up";

  e2e::ProgramFolder folder;
  e2e::Process fixture;
  selftest::startFixture(folder, fixture);
  ASSERT_NE(selftest::waitForMain(fixture), nullptr);
  {
    e2e::ScreenshotAtEnd shot;
  }
  EXPECT_TRUE(e2e::pathExists(expected));
  EXPECT_EQ(e2e::saveTestScreenshot(nullptr, L"extra"),
            e2e::joinPath(e2e::screenshotFolder(), e2e::currentTestName() + L"-extra.png"));
}

}  // namespace
