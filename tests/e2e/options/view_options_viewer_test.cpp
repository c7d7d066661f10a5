// What the viewer options and the icon customisation choose reaches the next
// viewer once the main options window is confirmed: the text's size and
// colour, and an icon file in place of a toolbar image until it is reset.
#include <windows.h>

#include <richedit.h>

#include <algorithm>

#include <gtest/gtest.h>

#include <e2e/remote_memory.h>

#include "icon_customisation_dialog_ids.h"
#include "options_support.h"
#include "toolbar_support.h"
#include "view_options_dialog_ids.h"

namespace {

using namespace std::chrono_literals;

struct ViewerLook {
    LONG heightTwips = 0;
    COLORREF colour = CLR_INVALID;
    std::vector<std::uint8_t> backButton;  // the pixels of the first toolbar button
};

// The format of the first character of a rich-edit box of another process.
CHARFORMAT2W FirstCharFormat(HWND box) {
    CHARFORMAT2W cf{};
    cf.cbSize = sizeof cf;
    SendWithTimeout(box, EM_SETSEL, 0, 1);
    e2e::RemoteBuffer buf(box, sizeof cf);
    if (buf.ok() && buf.write(&cf, sizeof cf)) {
        SendWithTimeout(box, EM_GETCHARFORMAT, SCF_SELECTION, buf.lparam());
        buf.read(&cf, sizeof cf);
    }
    return cf;
}

class E2eViewOptionsReachTheViewer : public OptionsScenario {
protected:
    // Opens the bundled sample in the same program folder and reads what the viewer shows.
    ViewerLook LookAtViewer() {
        ViewerLook look;
        if (!q().start(L"\"" + e2e::hostToWinePath(QUIBEX_SOURCE_DIR "/samples/sample.lzh") + L"\"")) return look;
        ViewerParts v = WaitBuiltViewer(q());
        if (!v.window) return look;
        e2e::moveMouseTo({0, 0});  // no button pointed at
        q().process().waitForInputIdle();
        const CHARFORMAT2W cf = FirstCharFormat(TextBox(v, 0));
        look.heightTwips = cf.yHeight;
        look.colour = cf.crTextColor;
        RECT button = ButtonOnScreen(Toolbar(v.window), 0);
        InflateRect(&button, -3, -3);  // the image, not the button's edge
        look.backButton = e2e::captureRect(button).rgb;
        CloseAndWait(q(), v.window);
        return look;
    }
    HWND OpenIcons(HWND viewOptions) {
        if (!e2e::pressButtonById(viewOptions, IDC_VIEWOPT_BTNICON)) return nullptr;
        return WaitDialogWith(q().pid(), IDC_ICONCUST_CHKHOTIMAGE);
    }
    // Closes the icon window and the viewer options, then OKs the main window.
    void CloseAllWithOk(HWND icons, HWND viewOptions) {
        ASSERT_TRUE(e2e::pressButtonById(icons, IDC_ICONCUST_BTNCLOSE));
        ASSERT_TRUE(e2e::waitForWindowGone(icons));
        ASSERT_TRUE(e2e::pressButtonById(viewOptions, IDCANCEL));
        ASSERT_TRUE(e2e::waitForWindowGone(viewOptions));
        ASSERT_TRUE(e2e::pressButtonById(w, IDOK));
        ASSERT_EQ(q().process().waitForExit(), std::optional<DWORD>(0));
    }
};

TEST_F(E2eViewOptionsReachTheViewer, FontColourAndIconThenTheIconReset) {
    ASSERT_TRUE(Start(IniWith({"Viewer.FontSize=9", "Viewer.TextColor=-2147483640"}).c_str()));
    CloseAndExpectExit();
    const ViewerLook before = LookAtViewer();
    ASSERT_EQ(before.heightTwips, 9 * 20);
    ASSERT_FALSE(before.backButton.empty());

    ASSERT_TRUE(StartAgain()) << e2e::describeTopLevel(q().pid());
    HWND v = OpenViewOptions();
    ASSERT_TRUE(v) << e2e::describeTopLevel(q().pid());
    // The font dialog: 16 points in the colour of its tenth entry.
    ASSERT_TRUE(e2e::pressButtonById(v, IDC_VIEWOPT_BTNFONTCOLOR));
    HWND fonts = WaitDialogWith(q().pid(), 0x472);  // the size box (cmb3)
    ASSERT_TRUE(fonts);
    q().process().waitForInputIdle();
    HWND colours = GetDlgItem(fonts, 0x473);  // cmb4
    ASSERT_TRUE(e2e::selectComboBoxItem(colours, 9));
    const auto chosen = static_cast<COLORREF>(SendWithTimeout(colours, CB_GETITEMDATA, 9, 0));
    // Picked from the size list, as a click would: the dialog takes the list's selection.
    HWND sizes = GetDlgItem(fonts, 0x472);
    const std::vector<std::wstring> listed = e2e::comboBoxItems(sizes);
    const auto sixteen = std::find(listed.begin(), listed.end(), L"16");
    ASSERT_NE(sixteen, listed.end());
    ASSERT_TRUE(e2e::selectComboBoxItem(sizes, static_cast<int>(sixteen - listed.begin())));
    ASSERT_TRUE(e2e::pressButtonById(fonts, IDOK));
    ASSERT_TRUE(e2e::waitForWindowGone(fonts));
    EXPECT_TRUE(e2e::waitUntil(
        [&] {
            return e2e::windowText(GetDlgItem(GetDlgItem(v, IDC_VIEWOPT_LBLBACK), IDC_VIEWOPT_LBLTEXT))
                .ends_with(L" 16P");
        },
        5s));
    // The back button's normal image: our program icon, picked in the chooser.
    HWND icons = OpenIcons(v);
    ASSERT_TRUE(icons);
    RECT image{};
    GetWindowRect(GetDlgItem(icons, IDC_ICONCUST_IMAGE1), &image);
    ASSERT_TRUE(e2e::bringToFront(icons));
    PostMessageW(GetDlgItem(icons, IDC_ICONCUST_IMAGE1), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(4, 4));
    ASSERT_TRUE(ChooseFile(q(), L"アイコンの選択", e2e::hostToWinePath(QUIBEX_SOURCE_DIR "/res/quibex.ico")));
    q().screenshot(L"icon-customisation-icon-chosen");
    CloseAllWithOk(icons, v);

    const ViewerLook changed = LookAtViewer();
    EXPECT_EQ(changed.heightTwips, 16 * 20);
    EXPECT_EQ(changed.colour, chosen);
    EXPECT_NE(changed.backButton, before.backButton) << "the icon file replaces the built-in image";

    // Reset in the icon window brings the built-in image back.
    ASSERT_TRUE(StartAgain());
    v = OpenViewOptions();
    ASSERT_TRUE(v);
    icons = OpenIcons(v);
    ASSERT_TRUE(icons);
    ASSERT_TRUE(e2e::pressButtonById(icons, IDC_ICONCUST_BTNRESET));
    HWND box = nullptr;
    q().waitMessage(&box);
    ASSERT_TRUE(box);
    ASSERT_TRUE(e2e::answerMessageBox(box, L"はい"));
    ASSERT_TRUE(e2e::waitForWindowGone(box));
    CloseAllWithOk(icons, v);
    EXPECT_EQ(LookAtViewer().backButton, before.backButton);
}

}  // namespace
