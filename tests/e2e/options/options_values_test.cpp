// The main options window's values from outside: the limit box typed into
// and stepped, the archiver tool's browse loop, the enabled states, what OK
// writes to the INI file and that the other ways out write nothing.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include "options_support.h"

namespace {

using namespace std::chrono_literals;

class E2eOptions : public OptionsScenario {};

HWND FocusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus : nullptr;
}

bool WaitText(HWND control, const std::wstring& text) {
    return e2e::waitUntil([&] { return e2e::windowText(control) == text; }, 5s);
}

TEST_F(E2eOptions, LimitBoxTakesDigitsIsPutRightOnLeavingAndFollowsTheArrows) {
    ASSERT_TRUE(Start()) << e2e::describeTopLevel(q().pid());
    HWND box = Item(w, IDC_OPTIONS_TXTOPENMAX);
    EXPECT_EQ(e2e::windowText(box), L"5");
    EXPECT_EQ(SpinPosition(w), 5);
    ASSERT_TRUE(Click(w, IDC_OPTIONS_TXTOPENMAX));
    ASSERT_TRUE(e2e::waitUntil([&] { return FocusOf(w) == box; }, 5s));
    auto clear = [] {
        e2e::sendKey(VK_END);
        e2e::sendKey(VK_BACK);
        e2e::sendKey(VK_BACK);
    };

    clear();
    e2e::sendText(L"25");
    ASSERT_TRUE(WaitText(box, L"25"));
    e2e::sendKey(VK_TAB);
    EXPECT_TRUE(WaitText(box, L"10")) << "25 is lowered to 10 when the box loses the focus";
    EXPECT_EQ(SpinPosition(w), 10);

    // Away from the first click, which a second one there could make a double click.
    RECT boxRect{};
    GetWindowRect(box, &boxRect);
    ASSERT_TRUE(e2e::clickAt({boxRect.left + 4, (boxRect.top + boxRect.bottom) / 2}));
    ASSERT_TRUE(e2e::waitUntil([&] { return FocusOf(w) == box; }, 5s)) << e2e::describeWindow(FocusOf(w));
    clear();
    e2e::sendText(L"a3");
    EXPECT_TRUE(WaitText(box, L"3")) << "the letter is not taken";
    e2e::sendKey(VK_BACK);
    ASSERT_TRUE(WaitText(box, L""));
    e2e::sendKey(VK_TAB);
    EXPECT_TRUE(WaitText(box, L"1")) << "an emptied box becomes 1";
    EXPECT_EQ(SpinPosition(w), 1);

    // The arrows: the upper half raises, the lower half lowers, within 1..10.
    RECT spin{};
    GetWindowRect(Item(w, IDC_OPTIONS_VSCROLL1), &spin);
    const POINT up{(spin.left + spin.right) / 2, spin.top + (spin.bottom - spin.top) / 4};
    const POINT down{up.x, spin.bottom - (spin.bottom - spin.top) / 4 - 1};
    ASSERT_TRUE(e2e::clickAt(up));
    EXPECT_TRUE(WaitText(box, L"2"));
    EXPECT_EQ(SpinPosition(w), 2);
    ASSERT_TRUE(e2e::clickAt(down));
    ASSERT_TRUE(WaitText(box, L"1"));
    ASSERT_TRUE(e2e::clickAt(down));
    Sleep(300);  // a step below 1 must not happen; nothing to wait for
    EXPECT_EQ(e2e::windowText(box), L"1");
    EXPECT_EQ(SpinPosition(w), 1);
    CloseAndExpectExit();
}

TEST_F(E2eOptions, ChoosingQuibexAsTheArchiverToolShowsTheNoticeAndTheChooserAgain) {
    ASSERT_TRUE(Start()) << e2e::describeTopLevel(q().pid());
    const std::wstring quibex = q().folder().file(L"Quibex.exe");
    const std::wstring noticeStart = L"<<重要な注意事項>>\r\n\r\nアーカイバツールを登録する前に";

    ASSERT_TRUE(e2e::pressButtonById(w, IDC_OPTIONS_BTNBR0));
    for (int round = 0; round < 2; ++round) {
        HWND box = nullptr;
        e2e::MessageBoxInfo notice = q().waitMessage(&box);
        ASSERT_TRUE(box) << "round " << round;
        EXPECT_EQ(notice.text.substr(0, noticeStart.size()), noticeStart);
        EXPECT_NE(notice.text.find(L"1. Quibex 自身を登録しないでください。"), std::wstring::npos);
        EXPECT_EQ(notice.icon, e2e::MessageIcon::Warning);
        if (round == 1) {
            q().screenshot(L"options-archiver-notice");
        }
        ASSERT_TRUE(e2e::answerMessageBox(box, L"OK"));
        ASSERT_TRUE(e2e::waitForWindowGone(box));
        if (round == 0) {
            ASSERT_TRUE(ChooseFile(q(), L"ｱｰｶｲﾊﾞﾂｰﾙの選択", quibex));
        }
    }
    // The chooser again; cancelled, the box stays as it was.
    HWND chooser = q().waitWindow(L"ｱｰｶｲﾊﾞﾂｰﾙの選択");
    ASSERT_TRUE(chooser);
    EXPECT_TRUE(e2e::waitUntil([&] {
        if (IsWindow(chooser)) PostMessageW(chooser, WM_COMMAND, IDCANCEL, 0);
        return !IsWindow(chooser) || !IsWindowVisible(chooser);
    }));
    EXPECT_EQ(e2e::windowText(Item(w, IDC_OPTIONS_TXTAPLPATH)), L"");

    // The editor may be anything, Quibex too.
    ASSERT_TRUE(e2e::pressButtonById(w, IDC_OPTIONS_BTNBR1));
    ASSERT_TRUE(ChooseFile(q(), L"ﾃｷｽﾄｴﾃﾞｨﾀの選択", quibex));
    EXPECT_TRUE(WaitText(Item(w, IDC_OPTIONS_TXTEDTPATH), quibex));
    CloseAndExpectExit();
}

// The colour in the middle of a box's right end, where no text is.
std::uint32_t BoxFace(HWND box) {
    RECT r{};
    GetWindowRect(box, &r);
    e2e::Image image = e2e::captureRect(r);
    return image.pixel(image.width - 6, image.height / 2);
}

std::uint32_t Rgb(int sysColour) {
    COLORREF c = GetSysColor(sysColour);
    return (static_cast<std::uint32_t>(GetRValue(c)) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

TEST_F(E2eOptions, ViewerOffAndReadmeOnlyGreyWhatTheyDoNotUse) {
    ASSERT_TRUE(Start()) << e2e::describeTopLevel(q().pid());
    for (int id : {IDC_OPTIONS_BTNVIEWER, IDC_OPTIONS_LBLDOCTYPE, IDC_OPTIONS_TXTDOCTYPE, IDC_OPTIONS_LBLTXTTYPE,
                   IDC_OPTIONS_TXTTXTTYPE})
        EXPECT_TRUE(Enabled(w, id)) << id;
    auto face = [&](int id, int colour) {
        return e2e::waitUntil([&] { return BoxFace(Item(w, id)) == Rgb(colour); }, 5s);
    };
    EXPECT_TRUE(face(IDC_OPTIONS_TXTDOCTYPE, COLOR_WINDOW)) << std::hex << BoxFace(Item(w, IDC_OPTIONS_TXTDOCTYPE));

    ASSERT_TRUE(Click(w, IDC_OPTIONS_CHKVIEWER));
    ASSERT_TRUE(e2e::waitUntil([&] { return !Enabled(w, IDC_OPTIONS_BTNVIEWER); }, 5s));
    EXPECT_FALSE(Enabled(w, IDC_OPTIONS_LBLDOCTYPE));
    EXPECT_FALSE(Enabled(w, IDC_OPTIONS_TXTDOCTYPE));
    EXPECT_TRUE(Enabled(w, IDC_OPTIONS_TXTTXTTYPE));
    ASSERT_TRUE(Click(w, IDC_OPTIONS_OPTION1_0));
    ASSERT_TRUE(e2e::waitUntil([&] { return !Enabled(w, IDC_OPTIONS_TXTTXTTYPE); }, 5s));
    EXPECT_FALSE(Enabled(w, IDC_OPTIONS_LBLTXTTYPE));
    q().screenshot(L"options-greyed");
    EXPECT_TRUE(face(IDC_OPTIONS_TXTDOCTYPE, COLOR_BTNFACE)) << std::hex << BoxFace(Item(w, IDC_OPTIONS_TXTDOCTYPE));
    EXPECT_TRUE(face(IDC_OPTIONS_TXTTXTTYPE, COLOR_BTNFACE)) << std::hex << BoxFace(Item(w, IDC_OPTIONS_TXTTXTTYPE));

    // And back.
    ASSERT_TRUE(Click(w, IDC_OPTIONS_CHKVIEWER));
    ASSERT_TRUE(Click(w, IDC_OPTIONS_OPTION1_1));
    EXPECT_TRUE(
        e2e::waitUntil([&] { return Enabled(w, IDC_OPTIONS_TXTDOCTYPE) && Enabled(w, IDC_OPTIONS_TXTTXTTYPE); }, 5s));
    CloseAndExpectExit();
}

// Sets every control away from the INI's values; the beep test is declined.
void ChangeEverything(QuibexSession& q, HWND w) {
    e2e::setWindowText(Item(w, IDC_OPTIONS_TXTAPLPATH), L"C:\\tools\\lha.exe");
    e2e::setWindowText(Item(w, IDC_OPTIONS_TXTEDTPATH), L"  C:\\エディタ\\edit.exe  ");
    e2e::setWindowText(Item(w, IDC_OPTIONS_TXTPRTPARAM), L"/p");
    e2e::setWindowText(Item(w, IDC_OPTIONS_TXTTXTTYPE), L"DOC ME");
    e2e::setWindowText(Item(w, IDC_OPTIONS_TXTDOCTYPE), L"HLP HTM");
    e2e::setWindowText(Item(w, IDC_OPTIONS_TXTOPENMAX), L"7");  // still in the box: OK takes it as it is
    e2e::selectComboBoxItem(Item(w, IDC_OPTIONS_CMBNOTEXT), 2);
    for (int id :
         {IDC_OPTIONS_CHKPARAMAFTERFILE, IDC_OPTIONS_CHKPRTCONFIRM, IDC_OPTIONS_OPTION1_0, IDC_OPTIONS_CHKPROGRESS,
          IDC_OPTIONS_CHKINIT, IDC_OPTIONS_CHKSELECT, IDC_OPTIONS_CHKVIEWER, IDC_OPTIONS_CHKSHELLEXECOPEN})
        e2e::pressButtonById(w, id);
    e2e::pressButtonById(w, IDC_OPTIONS_CHKBEEP);
    HWND box = nullptr;
    q.waitMessage(&box);
    if (box) e2e::answerMessageBox(box, L"いいえ");
    e2e::waitForWindowGone(box);
    e2e::waitUntil([&] { return e2e::checkState(Item(w, IDC_OPTIONS_CHKSHELLEXECOPEN)) == BST_CHECKED; }, 5s);
}

TEST_F(E2eOptions, OkWritesEverySettingInOrderAndNothingElse) {
    // A file missing most keys, so that the order of the writes shows; a key
    // and a section of no setting stay as they are.
    ASSERT_TRUE(Start("[Option]\nInitDialog=1\n[Viewer]\nStartUpLeft=1200\n[Other]\nKeep=あ\n"))
        << e2e::describeTopLevel(q().pid());
    ChangeEverything(q(), w);
    q().screenshot(L"options-changed");
    ASSERT_TRUE(e2e::pressButtonById(w, IDOK));
    ASSERT_EQ(q().process().waitForExit(), std::optional<DWORD>(0));
    const std::string expected = Cp932(
        "[Option]\r\nInitDialog=0\r\nAllText=0\r\nNoText=2\r\nArcAplPath=C:\\tools\\lha.exe\r\n"
        "TxtEdtPath=C:\\エディタ\\edit.exe\r\nPrtToolPath=\r\nPrtToolParam=/p\r\nParamAfterFile=1\r\nPrtConfirm=0\r\n"
        "TxtType=DOC ME\r\nDocType=HLP HTM\r\nOpenMax=7\r\nProgress=1\r\nArcSelect=1\r\nPcBeep=1\r\n"
        "ShellExecOpen=1\r\n"
        "[Viewer]\r\nStartUpLeft=1200\r\nInsideViewer=0\r\nMultiRow=0\r\nHighLightTab=1\r\nNoExt=0\r\nTabName=0\r\n"
        "NotToolbar=0\r\nStartUpPos=1\r\nStartUpSize=1\r\nReadmeFirst=1\r\nTextLoadMode=1\r\nHiperLink=0\r\n"
        "HiperLinkConfirm=0\r\nExitAfterOpen=0\r\nTopMost=0\r\nSpaceContinue=0\r\nShortCutKey=111110111\r\n"
        "TabPos=1\r\nBackColor=-2147483643\r\nTextColor=-2147483640\r\nFontName=ＭＳ ゴシック\r\n"
        "Back1IconPath=\r\nBack2IconPath=\r\nForward1IconPath=\r\nForward2IconPath=\r\nText1IconPath=\r\n"
        "Text2IconPath=\r\nPrint1IconPath=\r\nPrint2IconPath=\r\nOpen1IconPath=\r\nOpen2IconPath=\r\n"
        "Exit1IconPath=\r\nExit2IconPath=\r\nSearch1IconPath=\r\nSearch2IconPath=\r\nFontSize=9\r\nHotImage=0\r\n"
        "[Other]\r\nKeep=あ\r\n");
    EXPECT_EQ(IniBytes(q()), expected);
}

TEST_F(E2eOptions, CancelEscAndTheCloseBoxWriteNothing) {
    enum class Way { Cancel, Esc, CloseBox };
    for (Way way : {Way::Cancel, Way::Esc, Way::CloseBox}) {
        ASSERT_TRUE(Start()) << e2e::describeTopLevel(q().pid());
        const std::string before = IniBytes(q());  // reading settings writes nothing
        ASSERT_FALSE(before.empty());
        ChangeEverything(q(), w);
        switch (way) {
        case Way::Cancel: e2e::pressButtonById(w, IDCANCEL); break;
        case Way::Esc:
            ASSERT_TRUE(e2e::bringToFront(w));
            e2e::sendKey(VK_ESCAPE);
            break;
        case Way::CloseBox: e2e::closeWindow(w); break;
        }
        ASSERT_EQ(q().process().waitForExit(), std::optional<DWORD>(0)) << static_cast<int>(way);
        EXPECT_EQ(IniBytes(q()), before) << static_cast<int>(way);
    }
}

TEST_F(E2eOptions, BeepTestAsksRepeatsAndLeavesTheBoxOn) {
    // Loading the box on asks nothing; turning it on by hand does.
    ASSERT_TRUE(Start("[Option]\nInitDialog=1\nPcBeep=1\n")) << e2e::describeTopLevel(q().pid());
    EXPECT_EQ(e2e::checkState(Item(w, IDC_OPTIONS_CHKBEEP)), std::optional<int>(BST_CHECKED));
    EXPECT_FALSE(e2e::waitForMessageBox(q().pid(), 1s));
    ASSERT_TRUE(Click(w, IDC_OPTIONS_CHKBEEP));
    ASSERT_TRUE(e2e::waitUntil([&] { return e2e::checkState(Item(w, IDC_OPTIONS_CHKBEEP)) == BST_UNCHECKED; }, 5s));
    EXPECT_FALSE(e2e::waitForMessageBox(q().pid(), 700ms)) << "turning it off asks nothing";  // and no double click next
    ASSERT_TRUE(Click(w, IDC_OPTIONS_CHKBEEP));
    HWND box = nullptr;
    e2e::MessageBoxInfo ask = q().waitMessage(&box);
    ASSERT_TRUE(box);
    EXPECT_EQ(ask.text,
              L"ビープ音の再生テストを実行しますか？\r\n\r\n"
              L"[はい]をクリックしたら、パソコンの内蔵スピーカーでの再生を試みます。");
    EXPECT_EQ(ask.icon, e2e::MessageIcon::Question);
    ASSERT_TRUE(e2e::answerMessageBox(box, L"はい"));
    ASSERT_TRUE(e2e::waitForWindowGone(box));
    for (const wchar_t* answer : {L"再試行", L"キャンセル"}) {
        e2e::MessageBoxInfo again = q().waitMessage(&box);
        ASSERT_TRUE(box);
        EXPECT_EQ(again.text.substr(0, 15), L"ビープ音の再生を試みました。\r");
        EXPECT_NE(again.text.find(L"[再試行]をクリックしたら、もう一度再生テストを実行します。"), std::wstring::npos);
        EXPECT_EQ(again.icon, e2e::MessageIcon::Warning);
        HWND cancel = e2e::findButton(box, L"キャンセル");
        ASSERT_TRUE(cancel);
        EXPECT_EQ(GetWindowLongW(cancel, GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON) << "Cancel is the default";
        ASSERT_TRUE(e2e::answerMessageBox(box, answer));
        ASSERT_TRUE(e2e::waitForWindowGone(box));
    }
    EXPECT_EQ(e2e::checkState(Item(w, IDC_OPTIONS_CHKBEEP)), std::optional<int>(BST_CHECKED));
    CloseAndExpectExit();
}

TEST_F(E2eOptions, AccessKeySelectsTheWholeBoxAClickLeavesTheCaret) {
    ASSERT_TRUE(Start()) << e2e::describeTopLevel(q().pid());
    HWND box = Item(w, IDC_OPTIONS_TXTAPLPATH);
    const std::wstring path = L"C:\\tools\\lha.exe";
    e2e::setWindowText(box, path);
    ASSERT_TRUE(e2e::bringToFront(w));
    ASSERT_TRUE(e2e::sendKey('X', VK_MENU));  // アーカイバツール(&X)
    ASSERT_TRUE(e2e::waitUntil([&] { return FocusOf(w) == box; }, 5s));
    auto selection = [&] {
        DWORD_PTR r = 0;
        SendMessageTimeoutW(box, EM_GETSEL, 0, 0, SMTO_ABORTIFHUNG, 5000, &r);
        return std::pair<int, int>(LOWORD(r), HIWORD(r));
    };
    EXPECT_EQ(selection(), std::make_pair(0, static_cast<int>(path.size())));
    q().screenshot(L"options-window");

    e2e::sendKey(VK_TAB);
    ASSERT_TRUE(e2e::waitUntil([&] { return FocusOf(w) != box; }, 5s));
    RECT r{};
    GetWindowRect(box, &r);
    ASSERT_TRUE(e2e::clickAt({r.left + 30, (r.top + r.bottom) / 2}));
    ASSERT_TRUE(e2e::waitUntil([&] { return FocusOf(w) == box; }, 5s));
    const auto caret = selection();
    EXPECT_EQ(caret.first, caret.second) << "nothing selected after a click";
    EXPECT_GT(caret.first, 0);
    EXPECT_LT(caret.first, static_cast<int>(path.size()));
    CloseAndExpectExit();
}

TEST_F(E2eOptions, ReadmeThatCannotBeOpenedIsReported) {
    ASSERT_TRUE(Start()) << e2e::describeTopLevel(q().pid());
    ASSERT_TRUE(e2e::pressButtonById(w, IDC_OPTIONS_BTNREADME));
    HWND box = nullptr;
    e2e::MessageBoxInfo m = q().waitMessage(&box);
    ASSERT_TRUE(box);
    EXPECT_EQ(m.text, q().folder().file(L"Readme.txt") + L" の関連付け起動に失敗しました。");
    EXPECT_EQ(m.icon, e2e::MessageIcon::Error);
    e2e::answerMessageBox(box, L"OK");
    ASSERT_TRUE(e2e::waitForWindowGone(box));
    EXPECT_TRUE(IsWindow(w));
    CloseAndExpectExit();
}

}  // namespace
