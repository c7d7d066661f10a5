// Start-up scenarios: Quibex.exe started under Wine in a fresh program folder.
#include <gtest/gtest.h>

#include "quibex_session.h"
#include "setup_dialog_ids.h"

namespace {

using namespace std::chrono_literals;

constexpr const char* kFirstRunIni =
    "[Option]\nAllText=1\nNoText=0\nOpenMax=5\nProgress=0\nInitDialog=1\nArcSelect=0\nArcAplPath=\nTxtEdtPath=\n"
    "PrtToolPath=\nPrtToolParam=\nParamAfterFile=\nPrtConfirm=\nTxtType=\nDocType=HLP DOC HTM HTML CHM\n"
    "ShellExecOpen=0\n"
    "[Viewer]\nInsideViewer=1\nMultiRow=0\nHighLightTab=1\nNoExt=0\nTabName=0\nNotToolbar=0\nStartUpPos=1\n"
    "StartUpSize=1\nReadmeFirst=1\nTextLoadMode=1\nHiperLink=0\nHiperLinkConfirm=0\nExitAfterOpen=0\n"
    "ShortCutKey=111110111\nTabPos=1\nBackColor=-2147483643\nTextColor=-2147483640\nFontName=ＭＳ ゴシック\n"
    "FontSize=9\nBack1IconPath=\nBack2IconPath=\nForward1IconPath=\nForward2IconPath=\nText1IconPath=\n"
    "Text2IconPath=\nPrint1IconPath=\nPrint2IconPath=\nOpen1IconPath=\nOpen2IconPath=\nExit1IconPath=\n"
    "Exit2IconPath=\nSearch1IconPath=\nSearch2IconPath=\nHotImage=0\n";

std::string WithoutBlankLines(std::string text) {
    for (size_t p; (p = text.find("\n\n")) != std::string::npos;) text.erase(p, 1);
    return text;
}

TEST(E2eStartup, FirstStartShowsWelcomeThenOptionsAndLeavesTheFirstRunIni) {
    QuibexSession q(nullptr);
    ASSERT_TRUE(q.start());
    HWND welcome = q.waitWindow(L"Quibex へようこそ");
    ASSERT_TRUE(welcome);
    q.screenshot(L"startup-welcome");
    // Nothing is written before the welcome window closes.
    bool exists = true;
    q.folder().readIni(L"Quibex.ini", &exists);
    EXPECT_FALSE(exists);
    // "No" makes no shortcut and says so; "yes" then closes the window.
    ASSERT_TRUE(e2e::pressButton(welcome, L"いいえ"));
    EXPECT_TRUE(e2e::waitUntil([&] {
        return e2e::windowText(e2e::childById(welcome, IDC_SETUP_LBLMSG)).starts_with(L"「いいえ」が選択されたので");
    }));
    ASSERT_TRUE(e2e::pressButton(welcome, L"はい"));

    HWND options = q.waitWindow(L"Quibex", L"#32770");
    ASSERT_TRUE(options);
    // The options window itself, showing the settings just written.
    HWND viewerBox = e2e::findButton(options, L"ビューア(&V)");
    ASSERT_TRUE(viewerBox) << e2e::describeWindowTree(options);
    EXPECT_EQ(e2e::checkState(viewerBox), std::optional<int>(BST_CHECKED));
    EXPECT_TRUE(e2e::findButton(options, L"参照(&B)..."));
    q.screenshot(L"startup-options");
    std::string ini = q.folder().readIni();
    EXPECT_EQ(WithoutBlankLines(ini), kFirstRunIni);
    // FontName is stored in Shift-JIS.
    auto bytes = e2e::readFileBytes(q.folder().file(L"Quibex.ini"));
    std::string raw(bytes.begin(), bytes.end());
    EXPECT_NE(raw.find("FontName=\x82\x6c\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4e\r\n"), std::string::npos);

    // Closed without OK: the file stays as the first run left it.
    e2e::closeWindow(options);
    EXPECT_EQ(q.process().waitForExit(), std::optional<DWORD>(0));
    auto after = e2e::readFileBytes(q.folder().file(L"Quibex.ini"));
    EXPECT_EQ(std::string(after.begin(), after.end()), raw);
}

TEST(E2eStartup, QuotedMissingPathIsReportedWithoutQuotes) {
    QuibexSession q;
    ASSERT_TRUE(q.start(L"\"C:\\存在しない\\書庫.lzh\""));
    HWND box = nullptr;
    e2e::MessageBoxInfo m = q.waitMessage(&box);
    ASSERT_TRUE(box);
    q.screenshot(L"startup-missing-file");
    EXPECT_EQ(m.caption, L"Quibex");
    EXPECT_EQ(m.text, L"C:\\存在しない\\書庫.lzh は存在しないファイルです。");
    EXPECT_EQ(m.icon, e2e::MessageIcon::Error);
    e2e::answerMessageBox(box, L"OK");
    EXPECT_TRUE(q.process().waitForExit().has_value());
}

TEST(E2eStartup, TwoPathsOnOneCommandLineAreOnePath) {
    QuibexSession q;
    std::wstring a = q.folder().file(L"a.lzh"), b = q.folder().file(L"b.lzh");
    e2e::writeFileBytes(a, "x");
    e2e::writeFileBytes(b, "x");
    ASSERT_TRUE(q.start(L"\"" + a + L"\" \"" + b + L"\""));
    HWND box = nullptr;
    e2e::MessageBoxInfo m = q.waitMessage(&box);
    ASSERT_TRUE(box);
    EXPECT_EQ(m.text, a + L"\" \"" + b + L" は存在しないファイルです。");
    e2e::answerMessageBox(box, L"OK");
    EXPECT_TRUE(q.process().waitForExit().has_value());
}

TEST(E2eStartup, SecondPlainStartIsRefusedAndBringsTheFirstForward) {
    QuibexSession q;
    ASSERT_TRUE(q.start());
    HWND firstWindow = q.waitWindow(L"Quibex", L"#32770");
    ASSERT_TRUE(firstWindow);

    e2e::Process second;
    ASSERT_TRUE(second.start(q.folder().file(L"Quibex.exe"), L"", q.folder().path()));
    HWND box = e2e::waitForMessageBox(second.id());
    ASSERT_TRUE(box);
    e2e::MessageBoxInfo m = e2e::readMessageBox(box);
    e2e::saveScreenshot(L"startup-already-running");
    EXPECT_EQ(m.text, L"Quibex は既に起動されています");
    EXPECT_EQ(m.caption, L"Quibex");
    EXPECT_EQ(m.icon, e2e::MessageIcon::Information);
    e2e::answerMessageBox(box, L"OK");
    EXPECT_EQ(second.waitForExit(), std::optional<DWORD>(0));
    EXPECT_TRUE(e2e::waitUntil([&] { return GetForegroundWindow() == firstWindow; }, 10s));
    EXPECT_TRUE(q.process().running());
    e2e::closeWindow(firstWindow);
    EXPECT_TRUE(q.process().waitForExit().has_value());
}

TEST(E2eStartup, HandOverFlagLetsOneSecondStartThroughAndIsReset) {
    QuibexSession q;
    ASSERT_TRUE(q.start());
    HWND firstWindow = q.waitWindow(L"Quibex", L"#32770");
    ASSERT_TRUE(firstWindow);
    WritePrivateProfileStringW(L"Option", L"DroppedArcFile", L"1", q.folder().file(L"Quibex.ini").c_str());

    e2e::Process second;
    ASSERT_TRUE(second.start(q.folder().file(L"Quibex.exe"), L"", q.folder().path()));
    e2e::WindowQuery options;
    options.caption = L"Quibex";
    options.className = L"#32770";
    options.processId = second.id();
    HWND secondWindow = e2e::waitForWindow(options);
    EXPECT_TRUE(secondWindow) << "the second start should have been let through";
    EXPECT_EQ(q.folder().iniValue(L"Option", L"DroppedArcFile"), L"0");
    if (secondWindow) e2e::closeWindow(secondWindow);
    EXPECT_TRUE(second.waitForExit().has_value());
    e2e::closeWindow(firstWindow);
    EXPECT_TRUE(q.process().waitForExit().has_value());
}

TEST(E2eStartup, ArcSelectAsksAndOffersTheOpenDialog) {
    std::string ini = std::string(kDefaultIni);
    ini.replace(ini.find("ArcSelect=0"), 11, "ArcSelect=1");
    {
        QuibexSession q(ini.c_str());
        ASSERT_TRUE(q.start());
        HWND box = nullptr;
        e2e::MessageBoxInfo m = q.waitMessage(&box);
        ASSERT_TRUE(box);
        EXPECT_EQ(m.text, L"書庫を選択しますか？\r\n\r\n「いいえ」でオプション画面を表示します。");
        EXPECT_EQ(m.icon, e2e::MessageIcon::Question);
        EXPECT_EQ(m.buttons.size(), 3u);
        q.screenshot(L"startup-arcselect-question");
        ASSERT_TRUE(e2e::answerMessageBox(box, L"はい"));
        HWND dialog = q.waitWindow(L"書庫ﾌｧｲﾙの選択");
        ASSERT_TRUE(dialog);
        q.screenshot(L"startup-open-dialog");
        // Cancelled: the program ends. The dialog may still be setting
        // itself up, so press Cancel until it is gone.
        EXPECT_TRUE(e2e::waitUntil([&] {
            if (IsWindow(dialog)) PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
            return q.process().waitForExit(std::chrono::milliseconds(500)).has_value();
        }));
    }
    {
        QuibexSession q(ini.c_str());
        ASSERT_TRUE(q.start());
        HWND box = nullptr;
        q.waitMessage(&box);
        ASSERT_TRUE(box);
        ASSERT_TRUE(e2e::answerMessageBox(box, L"いいえ"));
        // The question box shares the options window's caption and class.
        ASSERT_TRUE(e2e::waitForWindowGone(box));
        HWND options = q.waitWindow(L"Quibex", L"#32770");
        ASSERT_TRUE(options);
        e2e::closeWindow(options);
        EXPECT_TRUE(q.process().waitForExit().has_value());
    }
}

}  // namespace
