// Reading and answering the fixture's message boxes.
#include <gtest/gtest.h>

#include "e2e/driver.h"
#include "fixture_support.h"

namespace {

struct AnswerCase {
  const wchar_t* arguments;
  const wchar_t* caption;
  const wchar_t* text;
  std::vector<std::wstring> buttons;
  e2e::MessageIcon icon;
  const wchar_t* answer;
  DWORD exitCode;
};

TEST(E2eDriverMessageBox, ReadsAndAnswers) {
  const AnswerCase cases[] = {
      {L"msgbox", fixture::kQuestionCaption, fixture::kQuestionText, {L"はい(&Y)", L"いいえ(&N)"},
       e2e::MessageIcon::Question, L"いいえ", IDNO},
      {L"msgbox", fixture::kQuestionCaption, fixture::kQuestionText, {L"はい(&Y)", L"いいえ(&N)"},
       e2e::MessageIcon::Question, L"はい(&Y)", IDYES},
      {L"msgbox warn", fixture::kWarningCaption, fixture::kWarningText, {L"OK", L"キャンセル"},
       e2e::MessageIcon::Warning, L"キャンセル", IDCANCEL},
      {L"msgbox warn", fixture::kWarningCaption, fixture::kWarningText, {L"OK", L"キャンセル"},
       e2e::MessageIcon::Warning, L"ok", IDOK},
  };
  int shot = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(e2e::toUtf8(c.arguments) + " -> " + e2e::toUtf8(c.answer));
    e2e::ProgramFolder folder;
    e2e::Process process;
    selftest::startFixture(folder, process, c.arguments);
    HWND box = e2e::waitForMessageBox(process.id());
    ASSERT_NE(box, nullptr);
    const e2e::MessageBoxInfo info = e2e::readMessageBox(box);
    EXPECT_EQ(info.caption, c.caption);
    EXPECT_EQ(info.text, c.text);
    EXPECT_EQ(info.buttons, c.buttons);
    EXPECT_EQ(info.icon, c.icon) << e2e::iconName(info.icon);
    if (shot++ % 2 == 0) {
      EXPECT_FALSE(e2e::saveScreenshot(L"e2e_driver_msgbox_" + std::to_wstring(shot)).empty());
    }
    ASSERT_TRUE(e2e::answerMessageBox(box, c.answer));
    EXPECT_TRUE(e2e::waitForWindowGone(box));
    const auto exit = process.waitForExit();
    ASSERT_TRUE(exit.has_value());
    EXPECT_EQ(*exit, c.exitCode);
  }
}

TEST(E2eDriverMessageBox, NoBoxMeansTimeoutAndUnknownAnswerIsRefused) {
  e2e::ProgramFolder folder;
  e2e::Process process;
  selftest::startFixture(folder, process);
  ASSERT_NE(selftest::waitForMain(process), nullptr);
  EXPECT_EQ(e2e::waitForMessageBox(process.id(), std::chrono::milliseconds(300)), nullptr);

  e2e::ProgramFolder folder2;
  e2e::Process boxProcess;
  selftest::startFixture(folder2, boxProcess, L"msgbox");
  HWND box = e2e::waitForMessageBox(boxProcess.id());
  ASSERT_NE(box, nullptr);
  EXPECT_FALSE(e2e::answerMessageBox(box, L"キャンセル"));
  EXPECT_TRUE(boxProcess.running());
}

}  // namespace
