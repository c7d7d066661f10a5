// Starting the fixture program in a fresh program folder, for the driver's tests.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "e2e/driver.h"
#include "fixture_ids.h"

namespace selftest {

inline constexpr wchar_t kFixtureExe[] = L"e2e_fixture.exe";

// Copies the fixture into `folder` and starts it with `arguments`; fails the test on error.
inline void startFixture(e2e::ProgramFolder& folder, e2e::Process& process, const std::wstring& arguments = L"") {
  ASSERT_FALSE(folder.path().empty()) << "no temporary program folder";
  ASSERT_TRUE(folder.copyFrom({kFixtureExe})) << "fixture not built in " << e2e::toUtf8(folder.buildBinFolder());
  ASSERT_TRUE(process.start(folder.file(kFixtureExe), arguments)) << "CreateProcess error " << process.startError();
}

// The fixture's main window, found by caption and class within the process.
inline HWND waitForMain(const e2e::Process& process) {
  return e2e::waitForWindow(
      e2e::WindowQuery().withCaption(fixture::kCaption).withClass(fixture::kClass).inProcess(process.id()));
}

}  // namespace selftest
