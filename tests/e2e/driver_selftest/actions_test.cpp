// Acting on the fixture from outside: buttons, check box, keys, clicks, closing.
#include <gtest/gtest.h>

#include "e2e/driver.h"
#include "fixture_support.h"

namespace {

class E2eDriverActions : public testing::Test {
protected:
  void SetUp() override {
    selftest::startFixture(folder_, process_);
    if (HasFatalFailure()) return;
    main_ = selftest::waitForMain(process_);
    ASSERT_NE(main_, nullptr) << "fixture window did not appear";
    status_ = e2e::childById(main_, fixture::kStatusId);
    ASSERT_NE(status_, nullptr);
  }
  // Polls until status-bar part `part` reads `text`.
  bool waitForStatus(size_t part, const std::wstring& text) {
    return e2e::waitUntil([&] {
      const auto texts = e2e::statusBarTexts(status_);
      return texts.size() > part && texts[part] == text;
    });
  }
  std::wstring status(size_t part) {
    const auto texts = e2e::statusBarTexts(status_);
    return texts.size() > part ? texts[part] : L"(missing)";
  }
  e2e::ProgramFolder folder_;
  e2e::Process process_;
  HWND main_ = nullptr;
  HWND status_ = nullptr;
};

TEST_F(E2eDriverActions, PressesButtonsByTextAndById) {
  // Accelerator markers and the Japanese "(&P)" suffix may be left out.
  ASSERT_TRUE(e2e::pressButton(main_, L"押す"));
  EXPECT_TRUE(waitForStatus(1, L"押した: 1")) << e2e::toUtf8(status(1));
  ASSERT_TRUE(e2e::pressButton(main_, L"押す(&P)"));
  EXPECT_TRUE(waitForStatus(1, L"押した: 2")) << e2e::toUtf8(status(1));
  ASSERT_TRUE(e2e::pressButtonById(main_, fixture::kButtonId));
  EXPECT_TRUE(waitForStatus(1, L"押した: 3")) << e2e::toUtf8(status(1));
  EXPECT_FALSE(e2e::pressButton(main_, L"押さない"));
  EXPECT_FALSE(e2e::pressButtonById(main_, 999));
}

TEST_F(E2eDriverActions, TogglesTheCheckBox) {
  HWND check = e2e::childById(main_, fixture::kCheckId);
  EXPECT_EQ(e2e::checkState(check), BST_UNCHECKED);
  ASSERT_TRUE(e2e::pressButton(main_, L"確認"));
  EXPECT_TRUE(e2e::waitUntil([&] { return e2e::checkState(check) == BST_CHECKED; }));
  ASSERT_TRUE(e2e::pressButtonById(main_, fixture::kCheckId));
  EXPECT_TRUE(e2e::waitUntil([&] { return e2e::checkState(check) == BST_UNCHECKED; }));
}

TEST_F(E2eDriverActions, PostedKeysAndCharactersReachTheEdit) {
  HWND edit = e2e::childById(main_, fixture::kEditId);
  auto textIs = [&](const wchar_t* text) { return e2e::waitUntil([&] { return e2e::windowText(edit) == text; }); };
  // Each key's character is produced later by the target's loop, so wait before the next.
  ASSERT_TRUE(e2e::postKey(edit, 'A'));
  EXPECT_TRUE(textIs(L"a")) << e2e::toUtf8(e2e::windowText(edit));
  ASSERT_TRUE(e2e::postKey(edit, '7'));
  EXPECT_TRUE(textIs(L"a7")) << e2e::toUtf8(e2e::windowText(edit));
  ASSERT_TRUE(e2e::postText(edit, L"説明"));
  EXPECT_TRUE(e2e::waitUntil([&] { return e2e::windowText(edit) == L"a7説明"; })) << e2e::toUtf8(e2e::windowText(edit));
  ASSERT_TRUE(e2e::postKey(edit, VK_F5));
  EXPECT_TRUE(waitForStatus(0, L"F5")) << e2e::toUtf8(status(0));
}

TEST_F(E2eDriverActions, ClicksAndSendInputReachTheForegroundWindow) {
  ASSERT_TRUE(e2e::bringToFront(main_));
  HWND edit = e2e::childById(main_, fixture::kEditId);
  ASSERT_TRUE(e2e::clickCenter(edit));
  ASSERT_TRUE(e2e::waitUntil([&] {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(main_, nullptr), &info) && info.hwndFocus == edit;
  })) << "the click did not focus the edit";
  ASSERT_TRUE(e2e::sendText(L"日本x"));
  EXPECT_TRUE(e2e::waitUntil([&] { return e2e::windowText(edit) == L"日本x"; })) << e2e::toUtf8(e2e::windowText(edit));
  ASSERT_TRUE(e2e::sendKey('L', VK_CONTROL));
  EXPECT_TRUE(waitForStatus(0, L"Ctrl+L")) << e2e::toUtf8(status(0));

  ASSERT_TRUE(e2e::clickCenter(e2e::childById(main_, fixture::kButtonId)));
  EXPECT_TRUE(waitForStatus(1, L"押した: 1")) << e2e::toUtf8(status(1));
}

TEST_F(E2eDriverActions, SelectionsNotifyTheProgram) {
  HWND combo = e2e::childById(main_, fixture::kComboId);
  ASSERT_TRUE(e2e::selectComboBoxItem(combo, 0));
  EXPECT_TRUE(waitForStatus(2, L"一")) << e2e::toUtf8(status(2));
  EXPECT_EQ(e2e::comboBoxSelection(combo), 0);
  EXPECT_FALSE(e2e::selectComboBoxItem(combo, 7));

  HWND list = e2e::childById(main_, fixture::kListId);
  ASSERT_TRUE(e2e::selectListBoxItem(list, 2));
  EXPECT_TRUE(waitForStatus(2, L"ぶどう")) << e2e::toUtf8(status(2));
  EXPECT_EQ(e2e::listBoxSelection(list), 2);

  HWND edit = e2e::childById(main_, fixture::kEditId);
  ASSERT_TRUE(e2e::setWindowText(edit, L"検索語"));
  EXPECT_EQ(e2e::windowText(edit), L"検索語");
  EXPECT_TRUE(waitForStatus(2, std::wstring(fixture::kEditStatusPrefix) + L"3")) << e2e::toUtf8(status(2));

  HWND toolbar = e2e::childById(main_, fixture::kToolbarId);
  ASSERT_TRUE(e2e::pressToolbarButton(toolbar, fixture::kOpenCommand));
  EXPECT_TRUE(waitForStatus(0, fixture::kOpenedStatus)) << e2e::toUtf8(status(0));
  EXPECT_FALSE(e2e::pressToolbarButton(toolbar, 999));
}

TEST_F(E2eDriverActions, ClickingATabSelectsIt) {
  HWND tab = e2e::childById(main_, fixture::kTabId);
  ASSERT_EQ(e2e::tabSelection(tab), 0);
  ASSERT_TRUE(e2e::selectTab(tab, 1));
  EXPECT_TRUE(waitForStatus(0, std::wstring(fixture::kTabStatusPrefix) + L"1")) << e2e::toUtf8(status(0));
  EXPECT_EQ(e2e::tabSelection(tab), 1);
  EXPECT_FALSE(e2e::selectTab(tab, 4));
}

TEST_F(E2eDriverActions, ScreenshotShowsTheWindow) {
  HWND check = e2e::childById(main_, fixture::kCheckId);
  ASSERT_TRUE(e2e::pressButtonById(main_, fixture::kCheckId));
  ASSERT_TRUE(e2e::waitUntil([&] { return e2e::checkState(check) == BST_CHECKED; }));
  const std::wstring path = e2e::saveScreenshot(L"e2e_driver_fixture");
  ASSERT_FALSE(path.empty());
  bool ok = false;
  const auto png = e2e::readFileBytes(path, &ok);
  ASSERT_TRUE(ok);
  ASSERT_GT(png.size(), 33u);
  EXPECT_EQ(png[1], 'P');
  // The desktop capture has the virtual desktop's size.
  const e2e::Image screen = e2e::captureScreen();
  EXPECT_EQ(screen.width, GetSystemMetrics(SM_CXVIRTUALSCREEN));
  EXPECT_EQ(screen.height, GetSystemMetrics(SM_CYVIRTUALSCREEN));
  // A window capture is the window's size and not one flat colour.
  const e2e::Image window = e2e::captureWindow(main_);
  RECT rc;
  GetWindowRect(main_, &rc);
  ASSERT_EQ(window.width, rc.right - rc.left);
  ASSERT_EQ(window.height, rc.bottom - rc.top);
  bool varied = false;
  for (int y = 0; y < window.height && !varied; y += 7) {
    for (int x = 0; x < window.width && !varied; x += 7) varied = window.pixel(x, y) != window.pixel(0, 0);
  }
  EXPECT_TRUE(varied) << "window capture is blank";
  EXPECT_FALSE(e2e::saveScreenshot(L"e2e_driver_fixture_window", main_).empty());
}

TEST_F(E2eDriverActions, ClosingEndsTheProgram) {
  ASSERT_TRUE(e2e::closeWindow(main_));
  EXPECT_TRUE(e2e::waitForWindowGone(main_));
  const auto exit = process_.waitForExit();
  ASSERT_TRUE(exit.has_value());
  EXPECT_EQ(*exit, 0u);
}

}  // namespace
