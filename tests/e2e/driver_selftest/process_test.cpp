#include <gtest/gtest.h>

#include "e2e/driver.h"
#include "fixture_support.h"

namespace {

TEST(E2eDriverProcess, ReportsTheExitCode) {
  for (DWORD code : {0u, 3u, 259u}) {
    e2e::ProgramFolder folder;
    e2e::Process process;
    selftest::startFixture(folder, process, L"exit " + std::to_wstring(code));
    const auto exit = process.waitForExit();
    ASSERT_TRUE(exit.has_value());
    EXPECT_EQ(*exit, code);
    EXPECT_FALSE(process.running());
  }
}

TEST(E2eDriverProcess, StartFailsForAMissingProgram) {
  e2e::ProgramFolder folder;
  e2e::Process process;
  EXPECT_FALSE(process.start(folder.file(L"missing.exe")));
  EXPECT_NE(process.startError(), 0u);
  EXPECT_FALSE(process.running());
}

TEST(E2eDriverProcess, ProgramRunsInItsFolderAndSeesTheIni) {
  e2e::ProgramFolder folder;
  ASSERT_TRUE(folder.writeIni(e2e::toUtf8(L"[Test]\nName=説明\n")));
  e2e::Process process;
  selftest::startFixture(folder, process, L"ini");
  const auto exit = process.waitForExit();
  ASSERT_TRUE(exit.has_value());
  EXPECT_EQ(*exit, 0u);
  // The program wrote through the profile API, i.e. in the system code page.
  const std::string ini = folder.readIni();
  EXPECT_NE(ini.find(e2e::toUtf8(L"Echo=説明済")), std::string::npos) << ini;
  EXPECT_EQ(folder.iniValue(L"Test", L"Echo"), L"説明済");
}

TEST(E2eDriverProcess, WaitTimesOutWhileRunningAndDestructorKills) {
  e2e::ProgramFolder folder;
  DWORD pid = 0;
  HANDLE observer = nullptr;
  {
    e2e::Process process;
    selftest::startFixture(folder, process);
    ASSERT_NE(selftest::waitForMain(process), nullptr);
    EXPECT_TRUE(process.running());
    EXPECT_FALSE(process.waitForExit(std::chrono::milliseconds(200)).has_value());
    EXPECT_EQ(process.topLevelWindows().size(), 1u);
    pid = process.id();
    observer = OpenProcess(SYNCHRONIZE, FALSE, pid);
    ASSERT_NE(observer, nullptr);
  }
  EXPECT_EQ(WaitForSingleObject(observer, 10000), WAIT_OBJECT_0);
  CloseHandle(observer);
  e2e::WindowQuery query;
  query.processId = pid;
  EXPECT_TRUE(e2e::waitForNoWindow(query));
}

}  // namespace
