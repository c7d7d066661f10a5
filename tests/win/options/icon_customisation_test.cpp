// The toolbar icon customisation window in process over a stand-in for the
// viewer options window, driven from inside its modal loop: what the image
// boxes show for a good, a missing and a broken icon file, the reset
// question answered Yes and No, and "HotImage" taken back when Esc closes it.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "core/app_state.h"
#include "options/icon_customisation_window.h"
#include "resource.h"
#include "test_folder.h"
#include "ui/toolbar_images.h"

#ifdef OPTIONS_SCREENSHOTS
#include "e2e/screenshot.h"
#endif

namespace {

using namespace quibex;
using Pixels = std::vector<uint32_t>;

bool IsDialogOwnedBy(HWND w, HWND owner) {
    wchar_t cls[16] = {};
    GetClassNameW(w, cls, 16);
    return wcscmp(cls, L"#32770") == 0 && IsWindowVisible(w) && GetWindow(w, GW_OWNER) == owner;
}

struct OwnedSearch {
    HWND owner, found;
};

BOOL CALLBACK FindOwned(HWND w, LPARAM lp) {
    auto* search = reinterpret_cast<OwnedSearch*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid != GetCurrentProcessId() || !IsDialogOwnedBy(w, search->owner)) return TRUE;
    search->found = w;
    return FALSE;
}

// The first visible dialog of this process owned by `owner`, or nullptr.
HWND DialogOwnedBy(HWND owner) {
    OwnedSearch search{owner, nullptr};
    EnumWindows(FindOwned, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Answers the next message box over `owner` from a second thread while the
// window's thread runs the box's modal loop; keeps the box's text and
// whether it asked Yes/No.
class BoxAnswer {
public:
    BoxAnswer(HWND owner, int answer) : worker_([this, owner, answer] { Answer(owner, answer); }) {}
    ~BoxAnswer() { Join(); }
    std::wstring Text() {
        Join();
        return text_;
    }
    bool AskedYesNo() {
        Join();
        return yesNo_;
    }

private:
    void Join() {
        if (worker_.joinable()) worker_.join();
    }
    void Answer(HWND owner, int answer) {
        for (const ULONGLONG end = GetTickCount64() + 10000; GetTickCount64() < end; Sleep(10)) {
            HWND box = DialogOwnedBy(owner);
            if (!box) continue;
            wchar_t text[256] = {};
            GetWindowTextW(GetDlgItem(box, 0xFFFF), text, 256);
            text_ = text;
            yesNo_ = GetDlgItem(box, IDYES) && GetDlgItem(box, IDNO) && !GetDlgItem(box, IDOK);
            PostMessageW(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
            return;
        }
    }
    std::wstring text_;
    bool yesNo_ = false;
    std::thread worker_;
};

// What `draw` leaves on a w × h canvas of the window's face, 0xRRGGBB row by row.
Pixels Paint(int w, int h, const std::function<void(HDC)>& draw) {
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof bi.bmiHeader, w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP canvas = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, canvas);
    RECT all{0, 0, w, h};
    FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
    draw(dc);
    GdiFlush();
    Pixels pixels(static_cast<const uint32_t*>(bits), static_cast<const uint32_t*>(bits) + w * h);
    for (uint32_t& p : pixels) p &= 0xFFFFFF;
    SelectObject(dc, old);
    DeleteObject(canvas);
    DeleteDC(dc);
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
        App().IniPath = folder_.file(L"Quibex.ini");
        owner_ = CreateWindowExW(0, L"STATIC", L"viewer options", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 500, 400,
                                 nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    void TearDown() override {
        DestroyWindow(owner_);
        AppSettings() = saved_;
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
    std::function<void(HWND)> scenario_;
    static inline IconCustomisation* current_ = nullptr;
};

TEST_F(IconCustomisation, ShowsFilesOrBuiltInImagesResetsOnYesAndTakesHotImageBackOnClose) {
    const std::wstring icon = folder_.file(L"quibex.ico"), notIcon = folder_.file(L"not.ico");
    const std::wstring missing = folder_.file(L"gone\\back.ico");
    ASSERT_TRUE(CopyFileW((std::wstring(L"Z:") + QUIBEX_SOURCE_DIR L"/res/quibex.ico").c_str(), icon.c_str(), FALSE));
    WriteBytes(notIcon, "this is no icon");
    Settings& s = AppSettings();
    s.IconPaths = {};
    s.IconPaths[0] = icon;      // 戻る, normal
    s.IconPaths[1] = icon;      // 戻る, pointed at
    s.IconPaths[2] = missing;   // 進む, normal
    s.IconPaths[4] = notIcon;   // テキストを開く, normal
    s.IconPaths[13] = missing;  // 文字列の検索, pointed at
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
            BoxAnswer box(dialog, IDNO);
            Click(dialog, IDC_ICONCUST_BTNRESET + 1);
            EXPECT_EQ(box.Text(), L"「進む」ボタンを内蔵のイメージに戻しますか？");
            EXPECT_TRUE(box.AskedYesNo());
            EXPECT_EQ(s.IconPaths[2], missing);
        }
        {  // Yes to 「戻る」: both its images built in again, both its paths gone, nothing else touched.
            BoxAnswer box(dialog, IDYES);
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
