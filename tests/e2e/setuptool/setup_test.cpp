// Quibexsetup seen from outside: its window, the entries it writes below
// HKEY_CLASSES_ROOT, the report, and the viewer that an entry starts.
#include <windows.h>
#include <shellapi.h>

#include <e2e/gtest_support.h>

#include "../../../res/setuptool/setup_resource.h"
#include "classes_guard.h"
#include "setup_session.h"

namespace {

using namespace std::chrono_literals;

const wchar_t* const kAdded = L"追加処理に成功しました。";
const wchar_t* const kUpdated = L"更新処理に成功しました。";
const wchar_t* const kUpdateFailed = L"更新処理に失敗しました。";
const wchar_t* const kRemoved = L"削除処理に成功しました。";
const wchar_t* const kSkipped = L"処理をスキップしました。";
const wchar_t* const kDefaultName = L"書庫内のテキストを閲覧(&L)";

// Every key a scenario may write, cleared for it and restored after it.
ClassesGuard Guard() {
    return ClassesGuard({L".lzh", L".zip", L".cab", L".7z", L".rar", L".exe", L"LzhFile", L"ZipFile", L"CabFile",
                         L"7zFile", L"RarFile", L"exefile\\shell\\Quibex", L"QuibexE2eZip"});
}

std::optional<std::wstring> Text(const std::wstring& key) { return e2e::regString(HKEY_CLASSES_ROOT, key, L""); }

// Writes default texts below HKEY_CLASSES_ROOT, as {key, text}.
bool Prepare(std::initializer_list<std::pair<std::wstring, std::wstring>> texts) {
    for (const auto& [key, text] : texts) {
        if (!e2e::regSetString(HKEY_CLASSES_ROOT, key, L"", text)) return false;
    }
    return true;
}

// The entry of one class as the tool writes it.
void ExpectEntry(const std::wstring& cls, const std::wstring& name, const std::wstring& command) {
    EXPECT_EQ(Text(cls + L"\\shell\\Quibex"), name) << e2e::toUtf8(cls);
    EXPECT_EQ(Text(cls + L"\\shell\\Quibex\\command"), command) << e2e::toUtf8(cls);
}

// Hovers over a control until the process shows a tooltip with `text`.
bool TooltipShows(DWORD pid, HWND control, const std::wstring& text) {
    RECT r{};
    GetWindowRect(control, &r);
    const POINT middle{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    e2e::moveMouseTo(POINT{middle.x - 2, middle.y});
    e2e::moveMouseTo(middle);
    return e2e::waitUntil(
        [&] {
            for (HWND tip : e2e::findWindows(e2e::WindowQuery().withClass(L"tooltips_class32").inProcess(pid)))
                if (e2e::windowText(tip) == text) return true;
            return false;
        },
        10s);
}

TEST(E2eSetup, MissingViewerIsReportedAndTheToolEnds) {
    SetupSession s(/*toolOnly=*/true);
    e2e::ScreenshotAtEnd shot;
    ASSERT_TRUE(s.start());
    shot.setProcess(s.process().id());
    HWND box = e2e::waitForMessageBox(s.process().id());
    ASSERT_TRUE(box);
    const e2e::MessageBoxInfo m = e2e::readMessageBox(box);
    e2e::saveTestScreenshot(nullptr, L"message");
    EXPECT_EQ(m.caption, L"Quibex Setup");
    EXPECT_EQ(m.text, s.folder().file(L"Quibex.exe") +
                          L" が見つかりません。\r\n\r\nこのプログラムは Quibex.exe と同じ場所で実行してください。");
    EXPECT_EQ(m.icon, e2e::MessageIcon::Error);
    e2e::answerMessageBox(box, L"OK");
    EXPECT_TRUE(s.process().waitForExit().has_value());
    EXPECT_TRUE(s.process().topLevelWindows().empty());
}

// A prefix without any of the classes: the window as it starts, its
// tooltips, LZH, ZIP, CAB, 7Z and RAR added with their classes, and EXE refused: the
// tool never makes a class for executables.
TEST(E2eSetup, FirstRunAddsClassesAndVerbs) {
    ClassesGuard guard = Guard();
    ASSERT_TRUE(guard.clean());
    SetupSession s;
    e2e::ScreenshotAtEnd shot;
    ASSERT_TRUE(s.open(&shot));

    EXPECT_EQ(e2e::windowText(s.control(IDC_LABEL1)), L"チェックされた拡張子の書庫ファイルの\r\n右クリックメニューに");
    EXPECT_EQ(e2e::windowText(s.control(IDC_LABEL2)),
              L"という項目を追加します。既存の場合は更新\r\nしますので項目名を変更できます。\r\n\r\n"
              L"チェックをはずせば右クリックメニューから\r\n削除します。");
    EXPECT_EQ(e2e::windowText(s.control(IDC_FRAME1)), L"拡張子");
    EXPECT_EQ(e2e::windowText(s.control(IDC_LABEL9)), L"NT4/2000/XPの場合は管理者権限が必要です。");
    EXPECT_EQ(e2e::windowText(s.control(IDC_BTNOK)), L"OK");
    EXPECT_EQ(e2e::windowText(s.control(IDC_BTNCANCEL)), L"ｷｬﾝｾﾙ");
    EXPECT_EQ(s.itemName(), kDefaultName);
    EXPECT_EQ(s.ticks(), L"000000");
    for (int i = 0; i < 6; ++i) EXPECT_EQ(e2e::windowText(s.control(IDC_CHKEXT + i)), kCaptions[i]);
    e2e::saveTestScreenshot(s.window(), L"window");

    const std::wstring tips[] = {L"LHA形式書庫", L"ZIP形式書庫", L"CAB形式書庫",
                                 L"7Z形式書庫",  L"RAR形式書庫", L"実行ﾌｧｲﾙ(自己解凍書庫に限りません)"};
    e2e::bringToFront(s.window());
    for (int i = 0; i < 6; ++i)
        EXPECT_TRUE(TooltipShows(s.process().id(), s.control(IDC_CHKEXT + i), tips[i])) << "tooltip of " << i;
    e2e::saveTestScreenshot(nullptr, L"tooltip");

    for (size_t i = 0; i < 6; ++i) ASSERT_TRUE(s.tick(i, true));
    HWND box = nullptr;
    const e2e::MessageBoxInfo report = s.pressOk(&box, /*leaveOpen=*/true);
    ASSERT_TRUE(box);
    e2e::saveTestScreenshot(nullptr, L"report");
    EXPECT_EQ(report.caption, L"処理結果");
    EXPECT_EQ(report.icon, e2e::MessageIcon::Information);
    EXPECT_EQ(report.text, Report({kAdded, kAdded, kAdded, kAdded, kAdded, L"追加処理に失敗しました。"}));
    e2e::answerMessageBox(box, L"OK");
    EXPECT_EQ(s.process().waitForExit(), std::optional<DWORD>(0));

    for (const wchar_t* cls : {L"LzhFile", L"ZipFile", L"CabFile", L"7zFile", L"RarFile"}) {
        EXPECT_EQ(Text(cls), cls);
        ExpectEntry(cls, kDefaultName, s.verbCommand());
    }
    EXPECT_EQ(Text(L".lzh"), L"LzhFile");
    EXPECT_EQ(Text(L".zip"), L"ZipFile");
    EXPECT_EQ(Text(L".cab"), L"CabFile");
    EXPECT_EQ(Text(L".7z"), L"7zFile");
    EXPECT_EQ(Text(L".rar"), L"RarFile");
    EXPECT_FALSE(e2e::regKeyExists(HKEY_CLASSES_ROOT, L".exe"));
    EXPECT_FALSE(e2e::regKeyExists(HKEY_CLASSES_ROOT, L"exefile\\shell\\Quibex"));
}

// A second run finds the entries by their verb texts and ticks them, keeps the
// default item name (an existing entry's text would be copied to every other
// ticked extension on OK), updates with a new name and removes an unticked
// entry, and only that.
TEST(E2eSetup, SecondRunFindsUpdatesAndRemoves) {
    ClassesGuard guard = Guard();
    ASSERT_TRUE(guard.clean());
    // ZIP files belong to a class of another program, with a verb of its own.
    ASSERT_TRUE(Prepare({{L".zip", L"QuibexE2eZip"},
                         {L"QuibexE2eZip", L"ZIP 書庫"},
                         {L"QuibexE2eZip\\shell\\open\\command", L"other.exe \"%1\""}}));
    {
        SetupSession first;
        ASSERT_TRUE(first.open());
        // Spaces around the name are not written.
        ASSERT_TRUE(e2e::setWindowText(first.control(IDC_TXTITEMNAME), L"  テキストを見る(&T)  "));
        ASSERT_TRUE(first.tick(0, true) && first.tick(1, true));
        EXPECT_EQ(first.pressOk().text, Report({kAdded, kAdded, kSkipped, kSkipped, kSkipped, kSkipped}));
        EXPECT_TRUE(first.process().waitForExit().has_value());
        ExpectEntry(L"QuibexE2eZip", L"テキストを見る(&T)", first.verbCommand());
    }
    EXPECT_EQ(Text(L"QuibexE2eZip"), L"ZIP 書庫") << "another program's class keeps its description";

    SetupSession second;
    e2e::ScreenshotAtEnd shot;
    ASSERT_TRUE(second.open(&shot));
    EXPECT_EQ(second.ticks(), L"110000");
    EXPECT_EQ(second.itemName(), kDefaultName);
    e2e::saveTestScreenshot(second.window(), L"window");
    ASSERT_TRUE(e2e::setWindowText(second.control(IDC_TXTITEMNAME), L"書庫を開く"));
    ASSERT_TRUE(second.tick(1, false));
    EXPECT_EQ(second.pressOk().text, Report({kUpdated, kRemoved, kSkipped, kSkipped, kSkipped, kSkipped}));
    EXPECT_TRUE(second.process().waitForExit().has_value());

    ExpectEntry(L"LzhFile", L"書庫を開く", second.verbCommand());
    EXPECT_FALSE(e2e::regKeyExists(HKEY_CLASSES_ROOT, L"QuibexE2eZip\\shell\\Quibex"));
    EXPECT_EQ(e2e::regSubkeys(HKEY_CLASSES_ROOT, L"QuibexE2eZip\\shell"), std::vector<std::wstring>{L"open"});
    EXPECT_EQ(Text(L"QuibexE2eZip\\shell\\open\\command"), L"other.exe \"%1\"");
    EXPECT_EQ(Text(L"QuibexE2eZip"), L"ZIP 書庫");
    EXPECT_EQ(Text(L".zip"), L"QuibexE2eZip");
}

// The control that has the keyboard focus in the process's GUI thread.
HWND FocusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus : nullptr;
}

// A bad name gets a warning and the focus back, the window stays and nothing
// is written; a verb without text is no entry, so OK skips it.
TEST(E2eSetup, BadItemNamesAreRefusedAndAnEmptyVerbIsNoEntry) {
    ClassesGuard guard = Guard();
    ASSERT_TRUE(guard.clean());
    ASSERT_TRUE(Prepare({{L".lzh", L"LzhFile"}, {L"LzhFile\\shell\\Quibex", L""}}));
    SetupSession s;
    e2e::ScreenshotAtEnd shot;
    ASSERT_TRUE(s.open(&shot));
    EXPECT_EQ(s.ticks(), L"000000");
    ASSERT_TRUE(s.tick(0, true));

    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"   ", L"項目名が入力されていません。"},
        {L"閲覧\tする", L"項目名に不正な文字（改行コード等）が含まれています。"},
        {L"閲覧\r\nする", L"項目名に不正な文字（改行コード等）が含まれています。"},
    };
    for (auto [name, message] : cases) {
        SCOPED_TRACE(e2e::toUtf8(name));
        ASSERT_TRUE(e2e::setWindowText(s.control(IDC_TXTITEMNAME), name));
        HWND box = nullptr;
        const e2e::MessageBoxInfo m = s.pressOk(&box, /*leaveOpen=*/true);
        ASSERT_TRUE(box);
        EXPECT_EQ(m.caption, L"Quibex Setup");
        EXPECT_EQ(m.text, message);
        EXPECT_EQ(m.icon, e2e::MessageIcon::Warning);
        e2e::saveTestScreenshot(nullptr, L"warning");
        e2e::answerMessageBox(box, L"OK");
        // The focus is back in the name, which is selected whole for retyping.
        HWND edit = s.control(IDC_TXTITEMNAME);
        EXPECT_TRUE(e2e::waitUntil([&] { return FocusOf(s.window()) == edit; }));
        DWORD_PTR selection = 0;
        SendMessageTimeoutW(edit, EM_GETSEL, 0, 0, SMTO_ABORTIFHUNG, 5000, &selection);
        EXPECT_EQ(LOWORD(selection), 0u);
        EXPECT_EQ(static_cast<size_t>(HIWORD(selection)), wcslen(name));
        EXPECT_TRUE(IsWindowVisible(s.window()));
    }
    EXPECT_FALSE(e2e::regKeyExists(HKEY_CLASSES_ROOT, L"LzhFile\\shell\\Quibex\\command"));

    ASSERT_TRUE(s.tick(0, false));
    ASSERT_TRUE(e2e::setWindowText(s.control(IDC_TXTITEMNAME), L"閲覧"));
    EXPECT_EQ(s.pressOk().text, Report({kSkipped, kSkipped, kSkipped, kSkipped, kSkipped, kSkipped}));
    EXPECT_TRUE(s.process().waitForExit().has_value());
    EXPECT_EQ(Text(L"LzhFile\\shell\\Quibex"), L"") << "a skipped extension is left as it was";
}

// The written verb, run the way Explorer runs it, opens an archive whose
// folder and name hold spaces and Japanese in the viewer.
TEST(E2eSetup, VerbOpensTheArchiveInTheViewer) {
    ClassesGuard guard = Guard();
    ASSERT_TRUE(guard.clean());
    SetupSession s;
    e2e::ScreenshotAtEnd shot;
    ASSERT_TRUE(s.open());
    ASSERT_TRUE(s.tick(0, true));
    EXPECT_EQ(s.pressOk().text, Report({kAdded, kSkipped, kSkipped, kSkipped, kSkipped, kSkipped}));
    EXPECT_TRUE(s.process().waitForExit().has_value());

    const std::wstring folder = s.folder().file(L"書庫 置き場");
    const std::wstring archive = folder + L"\\日本語 の書庫.lzh";
    ASSERT_TRUE(e2e::createFolders(folder));
    ASSERT_TRUE(CopyFileW(e2e::hostToWinePath(QUIBEX_SOURCE_DIR "/samples/sample.lzh").c_str(), archive.c_str(), TRUE));

    SHELLEXECUTEINFOW run{};
    run.cbSize = sizeof run;
    run.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    run.lpVerb = L"Quibex";
    run.lpFile = archive.c_str();
    run.nShow = SW_SHOWNORMAL;
    ASSERT_TRUE(ShellExecuteExW(&run)) << GetLastError();
    ASSERT_TRUE(run.hProcess) << "the verb started no program";
    e2e::UniqueHandle viewerProcess(run.hProcess);
    const DWORD pid = GetProcessId(run.hProcess);
    shot.setProcess(pid);

    HWND viewer = e2e::waitForWindow(e2e::WindowQuery().withCaption(L"日本語 の書庫.lzh - Quibex").inProcess(pid));
    ASSERT_TRUE(viewer) << e2e::describeTopLevel(pid);
    HWND tabs = e2e::waitForChild(viewer, e2e::WindowQuery().withClass(L"SysTabControl32"));
    ASSERT_TRUE(tabs);
    EXPECT_TRUE(e2e::waitUntil([&] { return !e2e::tabItems(tabs).empty(); })) << "the archive's texts are shown";
    e2e::saveTestScreenshot(nullptr, L"viewer");
    e2e::closeWindow(viewer);
    EXPECT_EQ(WaitForSingleObject(run.hProcess, 20000), WAIT_OBJECT_0);
}

// Where the user may not write, the entry is still found, and a failed update
// is reported as a failure while the other extensions go on.
TEST(E2eSetup, AnEntryWithoutWriteRightsReportsAFailure) {
    ClassesGuard guard = Guard();
    ASSERT_TRUE(guard.clean());
    ASSERT_TRUE(Prepare({{L".cab", L"CabFile"},
                         {L"CabFile", L"CabFile"},
                         {L"CabFile\\shell\\Quibex", L"旧い名前"},
                         {L"CabFile\\shell\\Quibex\\command", L"old.exe"}}));
    KeyLock verb(HKEY_CLASSES_ROOT, L"CabFile\\shell\\Quibex");
    KeyLock command(HKEY_CLASSES_ROOT, L"CabFile\\shell\\Quibex\\command");
    ASSERT_TRUE(verb.locked() && command.locked());

    SetupSession s;
    e2e::ScreenshotAtEnd shot;
    ASSERT_TRUE(s.open(&shot));
    EXPECT_EQ(s.ticks(), L"001000");
    EXPECT_EQ(s.itemName(), kDefaultName);
    ASSERT_TRUE(s.tick(0, true));
    ASSERT_TRUE(e2e::setWindowText(s.control(IDC_TXTITEMNAME), L"新しい名前"));
    EXPECT_EQ(s.pressOk().text, Report({kAdded, kSkipped, kUpdateFailed, kSkipped, kSkipped, kSkipped}));
    EXPECT_TRUE(s.process().waitForExit().has_value());
    EXPECT_EQ(Text(L"CabFile\\shell\\Quibex"), L"旧い名前");
    EXPECT_EQ(Text(L"CabFile\\shell\\Quibex\\command"), L"old.exe");
    ExpectEntry(L"LzhFile", L"新しい名前", s.verbCommand());
}

}  // namespace
