// The viewer options window opened from the main options window: what it
// loads, the tab-name preview, the shortcut boxes written back into
// "ShortCutKey" by the main window's OK, and that opening and closing it
// untouched changes nothing in the INI file. At 150 % and 100 % DPI, with a
// screenshot at each.
#include <windows.h>

#include <gtest/gtest.h>

#include <e2e/registry.h>

#include "options_support.h"
#include "icon_customisation_dialog_ids.h"
#include "view_options_dialog_ids.h"

namespace {

using namespace std::chrono_literals;

// Every key in the order OK writes them, so that OK alone rewrites the same
// bytes. Viewer values away from the defaults; in "ShortCutKey" the 4th, 8th
// and 9th digits belong to no box of the window.
constexpr char kWrittenIni[] =
    "[Option]\r\nAllText=1\r\nNoText=0\r\nArcAplPath=\r\nTxtEdtPath=\r\nPrtToolPath=\r\nPrtToolParam=\r\n"
    "ParamAfterFile=0\r\nPrtConfirm=1\r\nTxtType=\r\nDocType=HLP DOC HTM HTML CHM\r\nOpenMax=5\r\nProgress=0\r\n"
    "InitDialog=1\r\nArcSelect=0\r\nPcBeep=0\r\nShellExecOpen=0\r\n"
    "[Viewer]\r\nInsideViewer=1\r\nMultiRow=1\r\nHighLightTab=0\r\nNoExt=1\r\nTabName=3\r\nNotToolbar=1\r\n"
    "StartUpPos=0\r\nStartUpSize=1\r\nReadmeFirst=0\r\nTextLoadMode=1\r\nHiperLink=7\r\nHiperLinkConfirm=1\r\n"
    "ExitAfterOpen=1\r\nTopMost=0\r\nSpaceContinue=1\r\nShortCutKey=110010001\r\nTabPos=0\r\n"
    "BackColor=12632256\r\nTextColor=128\r\nFontName=IPAゴシック\r\n"
    "Back1IconPath=\r\nBack2IconPath=\r\nForward1IconPath=\r\nForward2IconPath=\r\nText1IconPath=\r\n"
    "Text2IconPath=\r\nPrint1IconPath=\r\nPrint2IconPath=\r\nOpen1IconPath=\r\nOpen2IconPath=\r\n"
    "Exit1IconPath=\r\nExit2IconPath=\r\nSearch1IconPath=\r\nSearch2IconPath=\r\nFontSize=12\r\nHotImage=0\r\n";

class E2eViewOptions : public OptionsScenario {
protected:
    // Closes the viewer options with its close button, then OKs the main window.
    void CloseAndOk(HWND v) {
        ASSERT_TRUE(e2e::pressButtonById(v, IDCANCEL));
        ASSERT_TRUE(e2e::waitForWindowGone(v));
        ASSERT_TRUE(e2e::pressButtonById(w, IDOK));
        ASSERT_EQ(q().process().waitForExit(), std::optional<DWORD>(0));
    }
};

HWND SampleText(HWND v) { return GetDlgItem(GetDlgItem(v, IDC_VIEWOPT_LBLBACK), IDC_VIEWOPT_LBLTEXT); }

bool Ticked(HWND v, int id) { return e2e::checkState(GetDlgItem(v, id)) == std::optional<int>(BST_CHECKED); }

// Both tab-position options read `text`.
bool PreviewReads(HWND v, const std::wstring& text) {
    return e2e::waitUntil(
        [&] {
            return e2e::windowText(GetDlgItem(v, IDC_VIEWOPT_OPTTABPOS0)) == text &&
                   e2e::windowText(GetDlgItem(v, IDC_VIEWOPT_OPTTABPOS1)) == text;
        },
        5s);
}

TEST_F(E2eViewOptions, ShortcutBoxesPreviewAndUntouchedRoundTrip) {
    {
        // Opened and closed untouched: OK rewrites the very same bytes.
        e2e::PrefixDpi dpi(144);
        ASSERT_TRUE(Start(kWrittenIni)) << e2e::describeTopLevel(q().pid());
        const std::string before = IniBytes(q());
        ASSERT_EQ(before, Cp932(kWrittenIni));
        HWND v = OpenViewOptions();
        ASSERT_TRUE(v) << e2e::describeTopLevel(q().pid());
        // Digits 1, 2, 7, 5, 6 top to bottom: "1", "1", "0", "1", "0".
        EXPECT_TRUE(Ticked(v, IDC_VIEWOPT_CHKSCK0));
        EXPECT_TRUE(Ticked(v, IDC_VIEWOPT_CHKSCK1));
        EXPECT_FALSE(Ticked(v, IDC_VIEWOPT_CHKSCK2));
        EXPECT_FALSE(Ticked(v, IDC_VIEWOPT_CHKSCK6));
        EXPECT_TRUE(Ticked(v, IDC_VIEWOPT_CHKSCK4));
        EXPECT_FALSE(Ticked(v, IDC_VIEWOPT_CHKSCK5));
        EXPECT_TRUE(PreviewReads(v, L"Readme")) << "no extension, first letter upper";
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(v, IDC_VIEWOPT_BTNICON))) << "hidden with the toolbar";
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(v, IDC_VIEWOPT_CHKHIPERLINKCONFIRM)));
        EXPECT_EQ(e2e::windowText(SampleText(v)), L"IPAゴシック 12P");
        q().screenshot(L"view-options-150");
        CloseAndOk(v);
        EXPECT_EQ(IniBytes(q()), before);
    }

    ASSERT_TRUE(Start(kWrittenIni)) << e2e::describeTopLevel(q().pid());
    HWND v = OpenViewOptions();
    ASSERT_TRUE(v) << e2e::describeTopLevel(q().pid());
    HWND names = GetDlgItem(v, IDC_VIEWOPT_CMBTABNAME);
    ASSERT_TRUE(e2e::selectComboBoxItem(names, 1));  // すべて大文字で
    EXPECT_TRUE(PreviewReads(v, L"README"));
    ASSERT_TRUE(e2e::pressButtonById(v, IDC_VIEWOPT_CHKNOEXT));
    EXPECT_TRUE(PreviewReads(v, L"README.TXT")) << "the extension is back";
    ASSERT_TRUE(e2e::selectComboBoxItem(names, 2));  // すべて小文字で
    EXPECT_TRUE(PreviewReads(v, L"readme.txt"));

    // Digit 1 off, digits 3 and 6 on; 4, 8 and 9 stay as they were.
    for (int id : {IDC_VIEWOPT_CHKSCK0, IDC_VIEWOPT_CHKSCK2, IDC_VIEWOPT_CHKSCK5}) {
        const bool was = Ticked(v, id);
        ASSERT_TRUE(e2e::pressButtonById(v, id));
        ASSERT_TRUE(e2e::waitUntil([&] { return Ticked(v, id) != was; }, 5s)) << id;
    }
    ASSERT_TRUE(e2e::pressButtonById(v, IDC_VIEWOPT_CHKNOTTOOLBAR));
    EXPECT_TRUE(e2e::waitUntil([&] { return IsWindowVisible(GetDlgItem(v, IDC_VIEWOPT_BTNICON)) != FALSE; }, 5s));
    q().screenshot(L"view-options-100");

    // The toolbar button opens the icon customisation over this window; Esc closes it.
    ASSERT_TRUE(e2e::pressButtonById(v, IDC_VIEWOPT_BTNICON));
    HWND icons = WaitDialogWith(q().pid(), IDC_ICONCUST_CHKHOTIMAGE);
    ASSERT_TRUE(icons);
    EXPECT_EQ(GetWindow(icons, GW_OWNER), v);
    EXPECT_FALSE(IsWindowEnabled(v)) << "modal over the viewer options";
    q().screenshot(L"icon-customisation-from-view-options");
    ASSERT_TRUE(e2e::bringToFront(icons));
    e2e::sendKey(VK_ESCAPE);
    ASSERT_TRUE(e2e::waitForWindowGone(icons, 5s));

    // A right click on the shortcut frame, away from its boxes, explains the frame.
    ASSERT_TRUE(e2e::bringToFront(v));
    RECT frame{};
    GetWindowRect(GetDlgItem(v, IDC_VIEWOPT_PICXPSTYLE2), &frame);
    ASSERT_TRUE(e2e::rightClickAt({(frame.left + frame.right) / 2, frame.bottom - 4}));
    HWND popup = WaitHelpPopup(q().pid());
    ASSERT_TRUE(popup);
    EXPECT_NE(e2e::windowText(popup).find(L"ショートカットキーを、グループごとに有効にします"), std::wstring::npos);
    q().screenshot(L"view-options-help");
    e2e::sendKey(VK_ESCAPE);
    ASSERT_TRUE(e2e::waitForWindowGone(popup, 5s));

    // The readme box explains itself in two lines up to 300 pixels wide.
    RECT readme{};
    GetWindowRect(GetDlgItem(v, IDC_VIEWOPT_CHKREADME), &readme);
    HWND tip = HoverForTooltip(q().pid(), GetDlgItem(v, IDC_VIEWOPT_CHKREADME),
                               L"複数のﾃｷｽﾄ内に Readme.txt が\r\n存在すれば先頭のﾀﾌﾞに配置します");
    ASSERT_TRUE(tip);
    RECT tipRect{};
    GetWindowRect(tip, &tipRect);
    EXPECT_GT(tipRect.bottom - tipRect.top, (readme.bottom - readme.top) * 3 / 2) << "two lines";
    EXPECT_LE(tipRect.right - tipRect.left, 300 + 20);

    // The font dialog starts on the sample's font and size, and gives them back.
    ASSERT_TRUE(e2e::pressButtonById(v, IDC_VIEWOPT_BTNFONTCOLOR));
    HWND fonts = WaitDialogWith(q().pid(), 0x472);  // the size box (cmb3)
    ASSERT_TRUE(fonts) << e2e::describeTopLevel(q().pid());
    q().process().waitForInputIdle();
    EXPECT_EQ(e2e::windowText(GetDlgItem(fonts, 0x472)), L"12");
    q().screenshot(L"view-options-font");
    ASSERT_TRUE(e2e::pressButtonById(fonts, IDOK));
    ASSERT_TRUE(e2e::waitForWindowGone(fonts));
    EXPECT_TRUE(e2e::waitUntil([&] { return e2e::windowText(SampleText(v)) == L"IPAゴシック 12P"; }, 5s))
        << "chosen as it started, the sample stays";

    // Reset asks first, then puts back the viewer's default font and colours.
    ASSERT_TRUE(e2e::pressButtonById(v, IDC_VIEWOPT_BTNINITVALUE));
    HWND box = nullptr;
    e2e::MessageBoxInfo ask = q().waitMessage(&box);
    ASSERT_TRUE(box);
    EXPECT_EQ(ask.text,
              L"初期値に設定しますか？\r\n\r\n背景色\t： ウィンドウの背景色(システムカラー)\r\n"
              L"文字色\t： ウィンドウの文字の色(システムカラー)\r\nフォント\t： MS ゴシック 9ポイント");
    EXPECT_EQ(ask.icon, e2e::MessageIcon::Question);
    ASSERT_TRUE(e2e::answerMessageBox(box, L"はい"));
    ASSERT_TRUE(e2e::waitForWindowGone(box));
    EXPECT_TRUE(e2e::waitUntil([&] { return e2e::windowText(SampleText(v)) == L"ＭＳ ゴシック 9P"; }, 5s));
    CloseAndOk(v);
    const std::string after = IniBytes(q());
    EXPECT_NE(after.find("\r\nShortCutKey=011011001\r\n"), std::string::npos) << after;
    EXPECT_NE(after.find("\r\nNoExt=0\r\nTabName=2\r\nNotToolbar=0\r\n"), std::string::npos) << after;
    EXPECT_NE(after.find("\r\nHiperLink=7\r\n"), std::string::npos) << after;
    EXPECT_NE(after.find("\r\nBackColor=-2147483643\r\nTextColor=-2147483640\r\n"), std::string::npos) << after;
    EXPECT_NE(after.find("\r\nFontSize=9\r\n"), std::string::npos) << after;
}

}  // namespace
