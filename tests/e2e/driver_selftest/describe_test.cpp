#include <gtest/gtest.h>

#include "e2e/driver.h"
#include "fixture_support.h"

namespace {

TEST(E2eDriverDescribe, ListsTheFixtureWindowTree) {
  e2e::ProgramFolder folder;
  e2e::Process process;
  selftest::startFixture(folder, process);
  HWND main = selftest::waitForMain(process);
  ASSERT_NE(main, nullptr);
  const std::string tree = e2e::describeTopLevel(process.id());
  EXPECT_EQ(tree.find(e2e::describeWindow(main)), 0u) << tree;
  EXPECT_NE(tree.find(e2e::toUtf8(L"E2eFixtureMain \"テスト窓\"")), std::string::npos) << tree;
  EXPECT_NE(tree.find(e2e::toUtf8(L"  ") + e2e::describeWindow(e2e::childById(main, fixture::kCheckId))),
            std::string::npos)
      << tree;
  EXPECT_NE(tree.find(e2e::toUtf8(L"id=102 Button \"確認(&C)\"")), std::string::npos) << tree;
  EXPECT_EQ(e2e::describeWindow(nullptr), "(no window)");
}

}  // namespace
