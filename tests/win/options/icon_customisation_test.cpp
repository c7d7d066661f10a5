// The toolbar icon customisation window in process over a stand-in for the
// viewer options window, driven from inside its modal loop: what the image
// boxes show for a good, a missing and a broken icon file, the reset
// question answered Yes and No, the icon chooser, and "HotImage" taken back
// when Esc closes it.
#include <windows.h>

#include <commctrl.h>
#include <commdlg.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "core/app_state.h"
#include "options/icon_customisation_window.h"
#include "resource.h"
#include "test_folder.h"
#include "ui/help_popup.h"
#include "ui/help_topics.h"
#include "ui/toolbar_images.h"

#ifdef OPTIONS_SCREENSHOTS
#include "e2e/screenshot.h"
#endif

namespace {

using namespace quibex;
using Pixels = std::vector<uint32_t>;

// The visible dialog owned by `owner` (a message box, the file chooser), or nullptr.
HWND DialogOwnedBy(HWND owner) {
    for (HWND w = FindWindowExW(nullptr, nullptr, L"#32770", nullptr); w;
         w = FindWindowExW(nullptr, w, L"#32770", nullptr))
        if (IsWindowVisible(w) && GetWindow(w, GW_OWNER) == owner) return w;
    return nullptr;
}

std::wstring TextOf(HWND w) {
    wchar_t text[1024] = {};
    GetWindowTextW(w, text, 1024);
    return text;
}

// Meets the next dialog over `owner` (a message box, the file chooser) from
// a second thread while the window's thread runs its modal loop: keeps its
// caption, its message and whether it asked Yes/No, then answers it.
class NextDialog {
public:
    NextDialog(HWND owner, std::function<void(HWND)> answer)
        : worker_([this, owner, answer = std::move(answer)] { Meet(owner, answer); }) {}
    ~NextDialog() { Join(); }
    std::wstring Title() { return Join(), title_; }
    std::wstring Text() { return Join(), text_; }
    bool AskedYesNo() { return Join(), yesNo_; }
    std::wstring Folder() { return Join(), folder_; }  // where a file chooser started

    static std::function<void(HWND)> Press(int button) {
        return [button](HWND box) { PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0); };
    }
    // Picks `path` in the file chooser, or cancels it when `path` is empty.
    static std::function<void(HWND)> Pick(std::wstring path) {
        return [path](HWND chooser) {
            // The chooser may still be setting itself up: again until it goes.
            for (int i = 0; i < 50 && IsWindow(chooser); ++i, Sleep(100)) {
                HWND name = GetDlgItem(chooser, 0x47C);  // the file name box (cmb13), or its edit (edt1)
                if (!name) name = GetDlgItem(chooser, 0x480);
                if (!path.empty()) SetWindowTextW(name, path.c_str());
                PostMessageW(chooser, WM_COMMAND, path.empty() ? IDCANCEL : IDOK, 0);
            }
        };
    }

private:
    void Join() {
        if (worker_.joinable()) worker_.join();
    }
    void Meet(HWND owner, const std::function<void(HWND)>& answer) {
        for (const ULONGLONG end = GetTickCount64() + 10000; GetTickCount64() < end; Sleep(10)) {
            HWND dialog = DialogOwnedBy(owner);
            if (!dialog) continue;
            title_ = TextOf(dialog);
            text_ = TextOf(GetDlgItem(dialog, 0xFFFF));
            yesNo_ = GetDlgItem(dialog, IDYES) && GetDlgItem(dialog, IDNO) && !GetDlgItem(dialog, IDOK);
            wchar_t folder[MAX_PATH] = {};
            if (SendMessageW(dialog, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(folder)) > 0)
                folder_ = folder;
            answer(dialog);
            return;
        }
    }
    std::wstring title_, text_, folder_;
    bool yesNo_ = false;
    std::thread worker_;
};

// What `draw` leaves on a w × h canvas of the window's face, 0xRRGGBB row by row.
Pixels Paint(int w, int h, const std::function<void(HDC)>& draw) {
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof bi.bmiHeader, w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    UniqueBitmap canvas(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    HGDIOBJ old = SelectObject(dc.get(), canvas.get());
    RECT all{0, 0, w, h};
    FillRect(dc.get(), &all, GetSysColorBrush(COLOR_BTNFACE));
    draw(dc.get());
    GdiFlush();
    Pixels pixels(static_cast<const uint32_t*>(bits), static_cast<const uint32_t*>(bits) + w * h);
    for (uint32_t& p : pixels) p &= 0xFFFFFF;
    SelectObject(dc.get(), old);
    return pixels;
}

int ScreenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

class IconCustomisation : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = AppSettings();
        savedIni_ = App().IniPath;
        savedHelp_ = App().BuiltInHelp;
        App().IniPath = folder_.file(L"Quibex.ini");
        owner_ = CreateWindowExW(0, L"STATIC", L"viewer options", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 500, 400,
                                 nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    void TearDown() override {
        DestroyWindow(owner_);
        AppSettings() = saved_;
        App().IniPath = savedIni_;
        App().BuiltInHelp = savedHelp_;
    }

    // Opens the window over the owner and runs `scenario` inside its modal
    // loop once it shows; returns when the window has closed. A scenario
    // that leaves the window open fails, and the window is closed for it.
    void Run(std::function<void(HWND)> scenario) {
        scenario_ = std::move(scenario);
        current_ = this;
        SetTimer(nullptr, 0, 50, StartScenario);
        const UINT_PTR watchdog = SetTimer(nullptr, 0, 20000, CloseLeftOpen);
        ShowIconCustomisationWindow(owner_);
        KillTimer(nullptr, watchdog);
        EXPECT_FALSE(IsWindow(dialog_));
    }

    static void CALLBACK StartScenario(HWND, UINT, UINT_PTR id, DWORD) {
        HWND dialog = DialogOwnedBy(current_->owner_);
        if (!dialog) return;
        KillTimer(nullptr, id);
        current_->dialog_ = dialog;
        current_->scenario_(dialog);
    }
    static void CALLBACK CloseLeftOpen(HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        ADD_FAILURE() << "the window was still open";
        PostMessageW(current_->dialog_, WM_COMMAND, IDCANCEL, 0);
    }

    // Box k as drawn.
    static Pixels Shown(HWND dialog, int k) {
        HWND box = GetDlgItem(dialog, IDC_ICONCUST_IMAGE1 + k);
        RECT r{};
        GetClientRect(box, &r);
        return Paint(r.right, r.bottom,
                     [box](HDC dc) { SendMessageW(box, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT); });
    }
    // The built-in image of box k, or the icon file, in the middle of the box
    // at the toolbar's size (32 pixels square at 96 DPI).
    static Pixels Expected(HWND dialog, int k, const std::wstring& iconFile = L"") {
        RECT r{};
        GetClientRect(GetDlgItem(dialog, IDC_ICONCUST_IMAGE1 + k), &r);
        const int size = ToolbarImageSize(ScreenDpi());
        const int x = (r.right - size) / 2, y = (r.bottom - size) / 2;
        if (!iconFile.empty()) {
            UniqueIcon icon(
                static_cast<HICON>(LoadImageW(nullptr, iconFile.c_str(), IMAGE_ICON, size, size, LR_LOADFROMFILE)));
            return Paint(r.right, r.bottom,
                         [&](HDC dc) { DrawIconEx(dc, x, y, icon.get(), size, size, 0, nullptr, DI_NORMAL); });
        }
        UniqueImageList builtIn = BuildToolbarImageList(k % 2 == 1, size, {});
        return Paint(r.right, r.bottom, [&](HDC dc) { ImageList_Draw(builtIn.get(), k / 2, dc, x, y, ILD_NORMAL); });
    }
    static void Click(HWND dialog, int id) { SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

    TestFolder folder_{L"iconcust"};
    HWND owner_ = nullptr, dialog_ = nullptr;
    Settings saved_;
    std::wstring savedIni_;
    bool savedHelp_ = false;
    std::function<void(HWND)> scenario_;
    static inline IconCustomisation* current_ = nullptr;
};

TEST_F(IconCustomisation, ShowsFileOrBuiltInImagesResetsOnYesChoosesIconsAndTakesHotImageBack) {
    const std::wstring icon = folder_.file(L"quibex.ico"), notIcon = folder_.file(L"not.ico");
    const std::wstring missing = folder_.file(L"gone\\back.ico"), sub = folder_.file(L"sub");
    CreateDirectoryW(sub.c_str(), nullptr);
    ASSERT_TRUE(CopyFileW((std::wstring(L"Z:") + QUIBEX_SOURCE_DIR L"/res/quibex.ico").c_str(), icon.c_str(), FALSE));
    WriteBytes(notIcon, "this is no icon");
    Settings& s = AppSettings();
    s.IconPaths = {};
    s.IconPaths[0] = icon;                 // 戻る, normal
    s.IconPaths[1] = icon;                 // 戻る, pointed at
    s.IconPaths[2] = missing;              // 進む, normal
    s.IconPaths[4] = notIcon;              // テキストを開く, normal
    s.IconPaths[5] = sub + L"\\gone.ico";  // テキストを開く, pointed at
    s.IconPaths[13] = missing;             // 文字列の検索, pointed at
    s.HotImage = 0;

    Run([&](HWND dialog) {
        EXPECT_EQ(App().MessageOwner, dialog);
        for (int k = 0; k < static_cast<int>(kIconCount); ++k) {
            const bool file = k == 0 || k == 1;
            EXPECT_TRUE(Shown(dialog, k) == Expected(dialog, k, file ? icon : L"")) << "image box " << k;
        }
        ASSERT_NE(Expected(dialog, 0, icon), Expected(dialog, 0)) << "the icon file must differ from the built-in";
        ASSERT_NE(Expected(dialog, 0), Expected(dialog, 1)) << "normal and pointed-at images must differ";
        EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_ICONCUST_CHKHOTIMAGE), BST_UNCHECKED);
#ifdef OPTIONS_SCREENSHOTS
        RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        e2e::saveScreenshot(L"icon-customisation-dpi" + std::to_wstring(ScreenDpi()), dialog);
#endif

        {  // No to 「進む」: nothing changes.
            NextDialog box(dialog, NextDialog::Press(IDNO));
            Click(dialog, IDC_ICONCUST_BTNRESET + 1);
            EXPECT_EQ(box.Text(), L"「進む」ボタンを内蔵のイメージに戻しますか？");
            EXPECT_TRUE(box.AskedYesNo());
            EXPECT_EQ(s.IconPaths[2], missing);
        }
        {  // Yes to 「戻る」: both its images built in again, both its paths gone, nothing else touched.
            NextDialog box(dialog, NextDialog::Press(IDYES));
            Click(dialog, IDC_ICONCUST_BTNRESET + 0);
            EXPECT_EQ(box.Text(), L"「戻る」ボタンを内蔵のイメージに戻しますか？");
            EXPECT_EQ(s.IconPaths[0], L"");
            EXPECT_EQ(s.IconPaths[1], L"");
            EXPECT_TRUE(Shown(dialog, 0) == Expected(dialog, 0));
            EXPECT_TRUE(Shown(dialog, 1) == Expected(dialog, 1));
            EXPECT_EQ(s.IconPaths[2], missing);
            EXPECT_EQ(s.IconPaths[4], notIcon);
            EXPECT_EQ(s.IconPaths[13], missing);
        }

        // Box 3 (進む, pointed at, no file yet): a file that is no icon is
        // ignored; an icon file shows and is stored at once. Box 5's file is
        // gone but its folder is there: the chooser starts in it (not where
        // the last choice was); cancelled, nothing changes. Box 2's folder is
        // gone too: the chooser opens all the same.
        const std::pair<int, std::wstring> rounds[] = {{3, notIcon}, {3, icon}, {5, L""}, {2, L""}};
        for (const auto& [k, pick] : rounds) {
            NextDialog chooser(dialog, NextDialog::Pick(pick));
            SendMessageW(GetDlgItem(dialog, IDC_ICONCUST_IMAGE1 + k), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(4, 4));
            EXPECT_EQ(chooser.Title(), L"アイコンの選択");
            if (k == 5) {
                EXPECT_EQ(_wcsicmp(chooser.Folder().c_str(), sub.c_str()), 0) << chooser.Folder();
            }
        }
        EXPECT_EQ(s.IconPaths[3], icon);
        EXPECT_TRUE(Shown(dialog, 3) == Expected(dialog, 3, icon));
        EXPECT_EQ(s.IconPaths[2], missing);
        EXPECT_EQ(s.IconPaths[5], sub + L"\\gone.ico");

        // A right click on a reset button, an image box or the check box explains it.
        App().BuiltInHelp = true;
        const std::pair<int, int> topics[] = {{IDC_ICONCUST_BTNRESET + 3, 90},
                                              {IDC_ICONCUST_IMAGE1 + 6, 91},
                                              {IDC_ICONCUST_IMAGE1 + 7, 92},
                                              {IDC_ICONCUST_CHKHOTIMAGE, 93}};
        for (auto [id, topic] : topics) {
            SendMessageW(GetDlgItem(dialog, id), WM_RBUTTONUP, 0, MAKELPARAM(4, 4));
            ASSERT_NE(HelpTopicText(topic), nullptr);
            EXPECT_EQ(TextOf(HelpPopupWindow()), HelpTopicText(topic)) << "control " << id;
            CloseHelpPopup();
        }

        Click(dialog, IDC_ICONCUST_CHKHOTIMAGE);
        EXPECT_EQ(s.HotImage, 0) << "taken back only when the window closes";
        PostMessageW(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0);
    });

    EXPECT_EQ(s.HotImage, 1);
    // Missing and broken files showed the built-in image but keep their paths.
    EXPECT_EQ(s.IconPaths[2], missing);
    EXPECT_EQ(s.IconPaths[4], notIcon);
    EXPECT_EQ(s.IconPaths[13], missing);
    EXPECT_EQ(GetFileAttributesW(App().IniPath.c_str()), INVALID_FILE_ATTRIBUTES) << "the window writes no INI file";
}

}  // namespace
