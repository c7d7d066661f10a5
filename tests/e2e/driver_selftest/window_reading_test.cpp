// Reading every kind of control of the fixture from outside its process.
#include <gtest/gtest.h>

#include "e2e/driver.h"

#include <commctrl.h>
#include "fixture_support.h"

namespace {

class E2eDriverReading : public testing::Test {
protected:
  void SetUp() override {
    selftest::startFixture(folder_, process_);
    if (HasFatalFailure()) return;
    main_ = selftest::waitForMain(process_);
    ASSERT_NE(main_, nullptr) << "fixture window did not appear";
  }
  HWND child(int id) {
    HWND h = e2e::childById(main_, id);
    EXPECT_NE(h, nullptr) << "no control " << id;
    return h;
  }
  e2e::ProgramFolder folder_;
  e2e::Process process_;
  HWND main_ = nullptr;
};

TEST_F(E2eDriverReading, FindsTheMainWindowByCaptionClassAndProcess) {
  EXPECT_EQ(e2e::windowText(main_), fixture::kCaption);
  EXPECT_EQ(e2e::className(main_), fixture::kClass);

  e2e::WindowQuery byPart;
  byPart.captionPart = L"窓";
  byPart.processId = process_.id();
  EXPECT_EQ(e2e::waitForWindow(byPart), main_);

  e2e::WindowQuery otherProcess;
  otherProcess.caption = fixture::kCaption;
  otherProcess.processId = GetCurrentProcessId();
  EXPECT_EQ(e2e::waitForWindow(otherProcess, std::chrono::milliseconds(100)), nullptr);

  e2e::WindowQuery wrongClass;
  wrongClass.caption = fixture::kCaption;
  wrongClass.className = L"Button";
  EXPECT_EQ(e2e::waitForWindow(wrongClass, std::chrono::milliseconds(100)), nullptr);

  const auto windows = process_.topLevelWindows();
  ASSERT_EQ(windows.size(), 1u);
  EXPECT_EQ(windows[0], main_);
}

TEST_F(E2eDriverReading, EnumeratesChildrenWithTheirClasses) {
  const auto direct = e2e::childWindows(main_, false);
  const auto all = e2e::childWindows(main_, true);
  // Toolbar, tab, button, check box, edit, list box, combo box, list view, rich edit, status bar.
  EXPECT_EQ(direct.size(), 10u);
  // The list view's header is a grandchild.
  EXPECT_GT(all.size(), direct.size());
  const struct {
    int id;
    const wchar_t* cls;
  } expected[] = {
      {fixture::kTabId, WC_TABCONTROLW},       {fixture::kButtonId, L"Button"},
      {fixture::kCheckId, L"Button"},          {fixture::kRichEditId, L"RichEdit50W"},
      {fixture::kStatusId, STATUSCLASSNAMEW},  {fixture::kListId, L"ListBox"},
      {fixture::kComboId, L"ComboBox"},        {fixture::kToolbarId, TOOLBARCLASSNAMEW},
      {fixture::kEditId, L"Edit"},             {fixture::kListViewId, WC_LISTVIEWW},
  };
  for (const auto& e : expected) {
    HWND h = child(e.id);
    EXPECT_EQ(lstrcmpiW(e2e::className(h).c_str(), e.cls), 0) << e2e::toUtf8(e2e::className(h));
    EXPECT_EQ(e2e::controlId(h), e.id);
  }
  EXPECT_EQ(e2e::childById(main_, 999), nullptr);
  e2e::WindowQuery byText;
  byText.caption = fixture::kCheckText;
  EXPECT_EQ(e2e::findChild(main_, byText), child(fixture::kCheckId));
}

TEST_F(E2eDriverReading, ReadsButtonTextsAndRichEdit) {
  EXPECT_EQ(e2e::windowText(child(fixture::kButtonId)), fixture::kButtonText);
  EXPECT_EQ(e2e::windowText(child(fixture::kCheckId)), fixture::kCheckText);
  EXPECT_EQ(e2e::richEditText(child(fixture::kRichEditId)), L"日本語のテキストです。\n二行目：全角ＡＢＣ");
}

TEST_F(E2eDriverReading, ReadsTabItemsThroughTargetMemory) {
  HWND tab = child(fixture::kTabId);
  EXPECT_EQ(e2e::tabItems(tab), (std::vector<std::wstring>{L"readme.txt", L"[2] 説明.txt"}));
  EXPECT_EQ(e2e::tabSelection(tab), 0);
}

TEST_F(E2eDriverReading, ReadsStatusBarParts) {
  HWND status = child(fixture::kStatusId);
  EXPECT_EQ(e2e::statusBarPartEdges(status), (std::vector<int>{200, 400, -1}));
  EXPECT_EQ(e2e::statusBarTexts(status), (std::vector<std::wstring>{L"準備完了", L"押した: 0", L"CP932"}));
}

TEST_F(E2eDriverReading, ReadsListAndComboItems) {
  HWND list = child(fixture::kListId);
  EXPECT_EQ(e2e::listBoxItems(list), (std::vector<std::wstring>{L"りんご", L"みかん", L"ぶどう"}));
  EXPECT_EQ(e2e::listBoxSelection(list), 1);
  HWND combo = child(fixture::kComboId);
  EXPECT_EQ(e2e::comboBoxItems(combo), (std::vector<std::wstring>{L"一", L"二", L"三"}));
  EXPECT_EQ(e2e::comboBoxSelection(combo), 2);
}

TEST_F(E2eDriverReading, ReadsListViewRows) {
  HWND lv = child(fixture::kListViewId);
  EXPECT_EQ(e2e::listViewColumnCount(lv), 2);
  using Rows = std::vector<std::vector<std::wstring>>;
  EXPECT_EQ(e2e::listViewItems(lv), (Rows{{L"readme.txt", L"12"}, {L"説明.txt", L"3,456"}}));
  EXPECT_EQ(e2e::listViewSelection(lv), 1);
}

TEST_F(E2eDriverReading, TabItemRectsLieInsideTheTabControl) {
  HWND tab = child(fixture::kTabId);
  RECT whole;
  ASSERT_TRUE(GetWindowRect(tab, &whole));
  const RECT first = e2e::tabItemRect(tab, 0);
  const RECT second = e2e::tabItemRect(tab, 1);
  EXPECT_GT(first.right, first.left);
  EXPECT_GE(first.left, whole.left);
  EXPECT_GE(first.top, whole.top);
  EXPECT_LE(first.bottom, whole.bottom);
  EXPECT_GE(second.left, first.right - 4) << "second tab lies right of the first";
  EXPECT_LE(second.right, whole.right);
  const RECT none = e2e::tabItemRect(tab, 5);
  EXPECT_EQ(none.right - none.left, 0);
}

TEST_F(E2eDriverReading, ReadsToolbarButtons) {
  const auto buttons = e2e::toolbarButtons(child(fixture::kToolbarId));
  ASSERT_EQ(buttons.size(), 3u);
  EXPECT_EQ(buttons[0].commandId, fixture::kOpenCommand);
  EXPECT_EQ(buttons[0].text, L"開く");
  EXPECT_TRUE(buttons[0].state & TBSTATE_ENABLED);
  EXPECT_FALSE(buttons[0].state & TBSTATE_CHECKED);
  EXPECT_TRUE(buttons[1].style & BTNS_SEP);
  EXPECT_TRUE(buttons[1].text.empty());
  EXPECT_EQ(buttons[2].commandId, fixture::kFindCommand);
  EXPECT_EQ(buttons[2].text, L"検索");
  EXPECT_TRUE(buttons[2].state & TBSTATE_CHECKED);
}

}  // namespace
