// The first start's welcome window: its texts, the checks of the name, the
// links it makes in the prefix's Desktop and Send To folders, and what the
// program does with such a link.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <e2e/gtest_support.h>

#include "install/welcome_rules.h"
#include "link_file.h"
#include "quibex_session.h"
#include "setup_dialog_ids.h"
#include "shell_places.h"

namespace {

using namespace std::chrono_literals;
using quibex::ShortcutPlaces;

const std::wstring kDefaultName = L"書庫内のテキストを閲覧";

HWND Control(HWND welcome, int id) { return e2e::childById(welcome, id); }
std::wstring Message(HWND welcome) { return e2e::windowText(Control(welcome, IDC_SETUP_LBLMSG)); }
bool Enabled(HWND welcome, int id) { return IsWindowEnabled(Control(welcome, id)) != FALSE; }

HWND Focus(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus : nullptr;
}

void SetName(HWND welcome, const std::wstring& name) {
    ASSERT_TRUE(e2e::setWindowText(Control(welcome, IDC_SETUP_TXTSCNAME), name));
}

HWND StartWelcome(QuibexSession& q, e2e::ScreenshotAtEnd& shot) {
    if (!q.start()) return nullptr;
    shot.setProcess(q.pid());
    return q.waitWindow(L"Quibex へようこそ");
}

// The window that follows the welcome: a dialog of the process that is
// neither the welcome nor a message box.
HWND WaitNextWindow(QuibexSession& q, HWND welcome) {
    HWND next = nullptr;
    e2e::waitUntil([&] {
        for (HWND w : q.process().topLevelWindows()) {
            if (w != welcome && e2e::className(w) == L"#32770" && !e2e::childById(w, 0xFFFF)) next = w;
        }
        return next != nullptr;
    });
    return next;
}

// Closes the answered welcome window with "yes", then the options window
// that follows it, and waits for the program's end.
void CloseWelcomeThenOptions(QuibexSession& q, HWND welcome) {
    ASSERT_TRUE(e2e::pressButton(welcome, L"はい"));
    HWND options = WaitNextWindow(q, welcome);
    ASSERT_TRUE(options) << "no options window after the welcome";
    e2e::closeWindow(options);
    EXPECT_TRUE(q.process().waitForExit().has_value());
}

// Answers the box the welcome window shows next; its text.
e2e::MessageBoxInfo AnswerNextBox(QuibexSession& q, const std::wstring& button) {
    HWND box = nullptr;
    e2e::MessageBoxInfo info = q.waitMessage(&box);
    if (!box) return info;
    e2e::saveTestScreenshot(nullptr, L"box");
    e2e::answerMessageBox(box, button);
    e2e::waitForWindowGone(box);
    return info;
}

void ExpectQuibexLink(QuibexSession& q, const std::wstring& lnk) {
    SCOPED_TRACE(e2e::toUtf8(lnk));
    std::optional<quibex::ShellLinkFields> link = ReadLink(lnk);
    ASSERT_TRUE(link.has_value()) << "not a readable link";
    EXPECT_EQ(link->ExeFile, LongPath(q.folder().file(L"Quibex.exe")));
    EXPECT_EQ(link->WorkDir, LongPath(q.folder().path()));
    EXPECT_EQ(link->ExeArgs, L"");
    // No icon of its own: the shell shows the target's, Quibex.exe's first icon.
    EXPECT_TRUE(link->IconFile.empty() || link->IconFile == link->ExeFile) << e2e::toUtf8(link->IconFile);
    EXPECT_EQ(link->IconIdx, 0);
    EXPECT_EQ(link->Description, L"書庫ファイル内のテキストを閲覧します");
    auto bytes = e2e::readFileBytes(lnk);
    EXPECT_EQ(LinkShowCommand(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size())),
              static_cast<uint32_t>(SW_SHOW));
}

// Starts what a link starts, with an archive added as the Send To menu adds
// the file it was given; the viewer's process.
e2e::Process StartThroughLink(const quibex::ShellLinkFields& link, const std::wstring& archive) {
    e2e::Process p;
    std::wstring arguments = link.ExeArgs.empty() ? L"" : link.ExeArgs + L" ";
    p.start(link.ExeFile, arguments + L"\"" + archive + L"\"", link.WorkDir);
    return p;
}

TEST(E2eWelcome, FirstStartMakesBothLinksThenTheOptionsWindowAndTheSendToLinkOpensAnArchive) {
    e2e::ScreenshotAtEnd shot;
    QuibexSession q(nullptr);
    ScenarioShellFolders places(q.folder().path());
    HWND welcome = StartWelcome(q, shot);
    ASSERT_TRUE(welcome);

    EXPECT_EQ(Message(welcome), quibex::WelcomeText());
    EXPECT_EQ(e2e::windowText(Control(welcome, IDC_SETUP_TXTSCNAME)), kDefaultName);
    EXPECT_EQ(e2e::checkState(Control(welcome, IDC_SETUP_CHKSCDIR0)), BST_CHECKED);
    EXPECT_EQ(e2e::checkState(Control(welcome, IDC_SETUP_CHKSCDIR1)), BST_CHECKED);
    EXPECT_EQ(e2e::windowText(Control(welcome, IDC_SETUP_FRAME1)), L"作成場所");
    // The name box has the focus with its whole text selected.
    EXPECT_EQ(Focus(welcome), Control(welcome, IDC_SETUP_TXTSCNAME));
    DWORD selection = static_cast<DWORD>(SendMessageW(Control(welcome, IDC_SETUP_TXTSCNAME), EM_GETSEL, 0, 0));
    EXPECT_EQ(LOWORD(selection), 0);
    EXPECT_EQ(HIWORD(selection), kDefaultName.size());
    q.screenshot(L"welcome-first-start");

    ASSERT_TRUE(e2e::pressButton(welcome, L"はい"));
    const std::wstring done = quibex::ShortcutsResultText(kDefaultName, {true, true}, {});
    ASSERT_TRUE(e2e::waitUntil([&] { return Message(welcome) == done; })) << e2e::toUtf8(Message(welcome));
    EXPECT_TRUE(done.starts_with(L"デスクトップと「送る」メニューに「書庫内のテキストを閲覧」という名前で"));
    q.screenshot(L"welcome-links-made");
    EXPECT_EQ(e2e::listFolder(places.desktop()), std::vector<std::wstring>{kDefaultName + L".lnk"});
    EXPECT_EQ(e2e::listFolder(places.sendTo()), std::vector<std::wstring>{kDefaultName + L".lnk"});
    ExpectQuibexLink(q, places.desktop() + L"\\" + kDefaultName + L".lnk");
    ExpectQuibexLink(q, places.sendTo() + L"\\" + kDefaultName + L".lnk");

    // Answered: only "yes" is left, and it closes the window.
    for (int id : {IDC_SETUP_TXTSCNAME, IDC_SETUP_LABEL1, IDC_SETUP_FRAME1, IDC_SETUP_CHKSCDIR0, IDC_SETUP_CHKSCDIR1,
                   IDC_SETUP_BTNNO})
        EXPECT_FALSE(Enabled(welcome, id)) << id;
    EXPECT_TRUE(Enabled(welcome, IDC_SETUP_BTNYES));
    bool iniExists = true;
    q.folder().readIni(L"Quibex.ini", &iniExists);
    EXPECT_FALSE(iniExists) << "the welcome window writes nothing";
    ASSERT_TRUE(e2e::pressButton(welcome, L"はい"));
    ASSERT_TRUE(e2e::waitForWindowGone(welcome));

    HWND options = WaitNextWindow(q, welcome);
    ASSERT_TRUE(options) << "no options window after the welcome";
    q.folder().readIni(L"Quibex.ini", &iniExists);
    EXPECT_TRUE(iniExists) << "start-up writes the first INI once the welcome has closed";
    q.screenshot(L"welcome-then-options");
    e2e::closeWindow(options);
    ASSERT_TRUE(q.process().waitForExit().has_value());

    // The Send To menu starts the link's target with the file it was given.
    std::optional<quibex::ShellLinkFields> link = ReadLink(places.sendTo() + L"\\" + kDefaultName + L".lnk");
    ASSERT_TRUE(link.has_value());
    e2e::Process viewer = StartThroughLink(*link, e2e::hostToWinePath(QUIBEX_SOURCE_DIR "/samples/sample.lzh"));
    shot.setProcess(viewer.id());
    HWND window = e2e::waitForWindow(e2e::WindowQuery().withCaptionPart(L" - Quibex").inProcess(viewer.id()));
    ASSERT_TRUE(window) << "the link's target did not open the archive";
    HWND tabs = e2e::waitForChild(window, e2e::WindowQuery().withClass(WC_TABCONTROLW));
    ASSERT_TRUE(tabs);
    EXPECT_TRUE(e2e::waitUntil([&] { return !e2e::tabItems(tabs).empty(); }));
    e2e::saveTestScreenshot(nullptr, L"viewer");
    e2e::closeWindow(window);
    EXPECT_TRUE(viewer.waitForExit().has_value());
}

TEST(E2eWelcome, InvalidNamesAreRefusedAndAnUntickedPlaceGetsNothing) {
    e2e::ScreenshotAtEnd shot;
    QuibexSession q(nullptr);
    ScenarioShellFolders places(q.folder().path());
    HWND welcome = StartWelcome(q, shot);
    ASSERT_TRUE(welcome);
    HWND name = Control(welcome, IDC_SETUP_TXTSCNAME);

    struct Refusal {
        const wchar_t* name;
        const wchar_t* message;
    };
    const Refusal refusals[] = {
        {L"書庫:閲覧", L"ショートカット名に \\ / : * ? \" < > | は使えません。"},
        {L"a|b", L"ショートカット名に \\ / : * ? \" < > | は使えません。"},
        {L"タブ\tあり", L"ショートカット名に不正な文字（改行コード等）が含まれています。"},
    };
    for (const Refusal& r : refusals) {
        SCOPED_TRACE(e2e::toUtf8(r.name));
        SetName(welcome, r.name);
        ASSERT_TRUE(e2e::pressButton(welcome, L"はい"));
        e2e::MessageBoxInfo box = AnswerNextBox(q, L"OK");
        EXPECT_EQ(box.text, r.message);
        EXPECT_EQ(box.caption, L"Quibex");
        EXPECT_EQ(box.icon, e2e::MessageIcon::Warning) << e2e::iconName(box.icon);
        EXPECT_EQ(box.buttons.size(), 1u);
        EXPECT_TRUE(e2e::waitUntil([&] { return Focus(welcome) == name; })) << "the focus goes back to the name";
        EXPECT_EQ(Message(welcome), quibex::WelcomeText()) << "still asking";
    }

    // "Yes" needs a name that is more than spaces and at least one place.
    SetName(welcome, L"   ");
    EXPECT_TRUE(e2e::waitUntil([&] { return !Enabled(welcome, IDC_SETUP_BTNYES); }));
    SetName(welcome, L"  送るだけ  ");
    EXPECT_TRUE(e2e::waitUntil([&] { return Enabled(welcome, IDC_SETUP_BTNYES); }));
    ASSERT_TRUE(e2e::pressButtonById(welcome, IDC_SETUP_CHKSCDIR0));
    ASSERT_TRUE(e2e::pressButtonById(welcome, IDC_SETUP_CHKSCDIR1));
    EXPECT_TRUE(e2e::waitUntil([&] { return !Enabled(welcome, IDC_SETUP_BTNYES); })) << "no place ticked";
    ASSERT_TRUE(e2e::pressButtonById(welcome, IDC_SETUP_CHKSCDIR1));
    EXPECT_TRUE(e2e::waitUntil([&] { return Enabled(welcome, IDC_SETUP_BTNYES); }));
    EXPECT_EQ(e2e::checkState(Control(welcome, IDC_SETUP_CHKSCDIR0)), BST_UNCHECKED);

    ASSERT_TRUE(e2e::pressButton(welcome, L"はい"));
    const std::wstring done = quibex::ShortcutsResultText(L"送るだけ", {false, true}, {});
    ASSERT_TRUE(e2e::waitUntil([&] { return Message(welcome) == done; })) << e2e::toUtf8(Message(welcome));
    EXPECT_TRUE(done.starts_with(L"「送る」メニューに「送るだけ」"));
    q.screenshot(L"welcome-send-to-only");
    EXPECT_TRUE(e2e::listFolder(places.desktop()).empty()) << "the desktop was not ticked";
    EXPECT_EQ(e2e::listFolder(places.sendTo()), std::vector<std::wstring>{L"送るだけ.lnk"});
    ExpectQuibexLink(q, places.sendTo() + L"\\送るだけ.lnk");
    CloseWelcomeThenOptions(q, welcome);
}

TEST(E2eWelcome, AShortcutOfThatNameIsReplacedOnlyWhenTheUserSaysSo) {
    e2e::ScreenshotAtEnd shot;
    QuibexSession q(nullptr);
    ScenarioShellFolders places(q.folder().path());
    const std::wstring own = places.desktop() + L"\\" + kDefaultName + L".lnk";
    ASSERT_TRUE(e2e::writeFileBytes(own, "the user's own shortcut"));
    HWND welcome = StartWelcome(q, shot);
    ASSERT_TRUE(welcome);

    ASSERT_TRUE(e2e::pressButton(welcome, L"はい"));
    e2e::MessageBoxInfo box = AnswerNextBox(q, L"いいえ");
    EXPECT_EQ(box.text, L"デスクトップに「書庫内のテキストを閲覧」という名前のショートカットが既にあります。\r\n置き換えますか？");
    EXPECT_EQ(box.icon, e2e::MessageIcon::Question) << e2e::iconName(box.icon);
    // Declined: nothing was written anywhere and the window still asks.
    auto bytes = e2e::readFileBytes(own);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "the user's own shortcut");
    EXPECT_TRUE(e2e::listFolder(places.sendTo()).empty());
    EXPECT_EQ(Message(welcome), quibex::WelcomeText());
    EXPECT_TRUE(Enabled(welcome, IDC_SETUP_BTNNO));
    EXPECT_TRUE(e2e::waitUntil([&] { return Focus(welcome) == Control(welcome, IDC_SETUP_TXTSCNAME); }));

    ASSERT_TRUE(e2e::pressButton(welcome, L"はい"));
    AnswerNextBox(q, L"はい");
    const std::wstring done = quibex::ShortcutsResultText(kDefaultName, {true, true}, {});
    ASSERT_TRUE(e2e::waitUntil([&] { return Message(welcome) == done; })) << e2e::toUtf8(Message(welcome));
    ExpectQuibexLink(q, own);
    ExpectQuibexLink(q, places.sendTo() + L"\\" + kDefaultName + L".lnk");
    CloseWelcomeThenOptions(q, welcome);
}

TEST(E2eWelcome, APlaceThatCannotBeWrittenIsReportedAndTheOtherIsStillMade) {
    e2e::ScreenshotAtEnd shot;
    QuibexSession q(nullptr);
    ScenarioShellFolders places(q.folder().path(), /*sendToExists=*/false);
    HWND welcome = StartWelcome(q, shot);
    ASSERT_TRUE(welcome);
    ASSERT_TRUE(e2e::pressButton(welcome, L"はい"));
    const std::wstring done = quibex::ShortcutsResultText(kDefaultName, {true, false}, {false, true});
    ASSERT_TRUE(e2e::waitUntil([&] { return Message(welcome) == done; })) << e2e::toUtf8(Message(welcome));
    EXPECT_NE(done.find(L"「送る」メニューに「書庫内のテキストを閲覧」という名前のショートカットを作成できませんでした。"),
              std::wstring::npos);
    q.screenshot(L"welcome-send-to-failed");
    ExpectQuibexLink(q, places.desktop() + L"\\" + kDefaultName + L".lnk");
    EXPECT_FALSE(e2e::pathExists(places.sendTo()));
    CloseWelcomeThenOptions(q, welcome);
}

// Started under another name with no Quibex.exe beside it: the link would
// point at nothing, so none is made and the user is told.
TEST(E2eWelcome, WithoutQuibexExeInTheFolderNoLinkIsMade) {
    e2e::ScreenshotAtEnd shot;
    QuibexSession q(nullptr);
    ScenarioShellFolders places(q.folder().path());
    ASSERT_TRUE(MoveFileW(q.folder().file(L"Quibex.exe").c_str(), q.folder().file(L"Renamed.exe").c_str()));
    e2e::Process renamed;
    ASSERT_TRUE(renamed.start(q.folder().file(L"Renamed.exe"), L"", q.folder().path()));
    shot.setProcess(renamed.id());
    HWND welcome = e2e::waitForWindow(e2e::WindowQuery().withCaption(L"Quibex へようこそ").inProcess(renamed.id()));
    ASSERT_TRUE(welcome);
    ASSERT_TRUE(e2e::pressButton(welcome, L"はい"));
    const std::wstring done = quibex::ShortcutsResultText(kDefaultName, {}, {true, true});
    ASSERT_TRUE(e2e::waitUntil([&] { return Message(welcome) == done; })) << e2e::toUtf8(Message(welcome));
    EXPECT_TRUE(e2e::listFolder(places.desktop()).empty());
    EXPECT_TRUE(e2e::listFolder(places.sendTo()).empty());
    e2e::closeWindow(welcome);
    ASSERT_TRUE(e2e::waitForWindowGone(welcome));
    renamed.kill();
}

}  // namespace
