// The viewer's toolbar in process: its seven buttons and their images, the
// hints the settings decide and their place in status panel 1, Shift at a
// click, the ▼ part when the archive has documents, "NotToolbar"; the
// system-menu items with their guard and the always-on-top warning.
#include <windows.h>

#include <commctrl.h>

#include <array>
#include <thread>

#include "core/app_state.h"
#include "ui/toolbar_images.h"
#include "viewer/viewer_control.h"
#include "viewer/viewer_form.h"
#include "viewer/viewer_ids.h"
#include "viewer/viewer_texts.h"
#include "viewer/viewer_window.h"
#include "next_box.h"
#include "viewer_fixture.h"

using namespace quibex;

namespace {

class ViewerToolbar : public ViewerTest {
protected:
    static RECT ButtonRect(int index) {
        RECT r{};
        SendMessageW(quibex::ViewerToolbar(), TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
        return r;
    }
    static void MoveOverToolbar(POINT p) {
        SendMessageW(quibex::ViewerToolbar(), WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y));
    }
};

// The pixels of one image of a list, 0xAARRGGBB, row by row.
std::vector<uint32_t> ImagePixels(HIMAGELIST list, int index) {
    IMAGEINFO info{};
    if (!ImageList_GetImageInfo(list, index, &info)) return {};
    const int w = info.rcImage.right - info.rcImage.left, h = info.rcImage.bottom - info.rcImage.top;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    void* bits = nullptr;
    HBITMAP target = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, target);
    // Drawn over magenta, so what is see-through shows.
    HBRUSH magenta = CreateSolidBrush(RGB(255, 0, 255));
    RECT all{0, 0, w, h};
    FillRect(dc, &all, magenta);
    ImageList_Draw(list, index, dc, 0, 0, ILD_NORMAL);
    GdiFlush();
    std::vector<uint32_t> pixels(static_cast<const uint32_t*>(bits), static_cast<const uint32_t*>(bits) + w * h);
    for (uint32_t& p : pixels) p &= 0xFFFFFF;
    SelectObject(dc, old);
    DeleteObject(magenta);
    DeleteObject(target);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return pixels;
}

BOOL CALLBACK CountOwnBoxes(HWND w, LPARAM count) {
    HWND found = nullptr;
    if (!FindOwnBox(w, reinterpret_cast<LPARAM>(&found))) ++*reinterpret_cast<int*>(count);
    return TRUE;
}

// A 32 × 32 icon file of one colour, written the way icon editors do.
void WriteIconFile(const std::wstring& path, uint32_t rgb) {
    constexpr int kSide = 32;
    std::string bytes;
    auto put16 = [&](uint16_t v) { bytes.append(reinterpret_cast<const char*>(&v), 2); };
    auto put32 = [&](uint32_t v) { bytes.append(reinterpret_cast<const char*>(&v), 4); };
    const uint32_t pixelBytes = kSide * kSide * 4, maskBytes = kSide * kSide / 8;
    put16(0), put16(1), put16(1);  // an icon file with one image
    bytes += static_cast<char>(kSide), bytes += static_cast<char>(kSide), bytes += '\0', bytes += '\0';
    put16(1), put16(32), put32(40 + pixelBytes + maskBytes), put32(22);
    put32(40), put32(kSide), put32(kSide * 2), put16(1), put16(32), put32(0), put32(pixelBytes + maskBytes);
    put32(0), put32(0), put32(0), put32(0);
    for (int i = 0; i < kSide * kSide; ++i) put32(0xFF000000u | rgb);
    bytes.append(maskBytes, '\0');
    WriteBytes(path, bytes);
}

TEST_F(ViewerToolbar, SevenButtonsInOrderWithTheirImagesAndHints) {
    OpenTexts(2);
    HWND tb = quibex::ViewerToolbar();
    ASSERT_NE(tb, nullptr);
    EXPECT_TRUE(IsWindowVisible(tb));
    ASSERT_EQ(SendMessageW(tb, TB_BUTTONCOUNT, 0, 0), kToolbarButtonCount);
    const int ids[] = {kToolbarLeft,  kToolbarRight, kToolbarSearch, kToolbarText,
                       kToolbarPrint, kToolbarOpen,  kToolbarExit};
    const ToolbarGlyph images[] = {ToolbarGlyph::Left,  ToolbarGlyph::Right, ToolbarGlyph::Search, ToolbarGlyph::Text,
                                   ToolbarGlyph::Print, ToolbarGlyph::Open,  ToolbarGlyph::Exit};
    for (int i = 0; i < kToolbarButtonCount; ++i) {
        TBBUTTON b{};
        SendMessageW(tb, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&b));
        EXPECT_EQ(b.idCommand, ids[i]);
        EXPECT_EQ(b.iBitmap, static_cast<int>(images[i]));
        EXPECT_FALSE(b.fsStyle & BTNS_DROPDOWN) << "no documents, no ▼";
    }
    EXPECT_EQ(ToolbarHint(0), L"前のテキストに戻る (Alt + ←)");
    EXPECT_EQ(ToolbarHint(1), L"次のテキストに進む (Alt + →)");
    EXPECT_EQ(ToolbarHint(2), L"文字列の検索 (Ctrl + F)");
    EXPECT_EQ(ToolbarHint(6), L"終了 (Esc)");
    // The toolbar sits centred between the tab strip and the status bar.
    RECT bar{}, tabs{}, status{}, client{};
    GetWindowRect(tb, &bar);
    GetWindowRect(ViewerTabStrip(), &tabs);
    GetWindowRect(ViewerStatusBar(), &status);
    GetWindowRect(ViewerWindow(), &client);
    EXPECT_GT(bar.top, tabs.bottom);
    EXPECT_LT(bar.bottom, status.top);
    EXPECT_NEAR((bar.left + bar.right) / 2, (tabs.left + tabs.right) / 2, 2);
    Screenshot(L"viewer-toolbar");
}

TEST_F(ViewerToolbar, HintsOfOpenTextAndPrintFollowTheSettings) {
    struct Case {
        const wchar_t* tool;
        int exitAfterOpen;
        const wchar_t *open, *text, *print;
    } cases[] = {
        {L"", 0, L"書庫ファイルを関連付けで開く (Ctrl + O)", L"テキストファイルを関連付けで開く (Ctrl + T)",
         L"テキストを関連付けで印刷する (Ctrl + P)"},
        {L"C:\\tool.exe", 1, L"書庫ファイルを外部ツールで開いて終了する (Ctrl + O)",
         L"テキストファイルを外部ツールで開く (Ctrl + T)", L"テキストを外部ツールで印刷する (Ctrl + P)"},
        {L"", 1, L"書庫ファイルを関連付けで開いて終了する (Ctrl + O)", L"テキストファイルを関連付けで開く (Ctrl + T)",
         L"テキストを関連付けで印刷する (Ctrl + P)"},
        {L"C:\\tool.exe", 0, L"書庫ファイルを外部ツールで開く (Ctrl + O)",
         L"テキストファイルを外部ツールで開く (Ctrl + T)", L"テキストを外部ツールで印刷する (Ctrl + P)"},
    };
    for (const Case& c : cases) {
        if (ViewerWindow()) CloseAndWait();
        AppSettings().ArcAplPath = AppSettings().TxtEdtPath = AppSettings().PrtToolPath = c.tool;
        AppSettings().ExitAfterOpen = static_cast<int16_t>(c.exitAfterOpen);
        OpenTexts(1);
        EXPECT_EQ(ToolbarHint(5), c.open);
        EXPECT_EQ(ToolbarHint(3), c.text);
        EXPECT_EQ(ToolbarHint(4), c.print);
    }
}

// Over a button (its edges too) the hint replaces the path; elsewhere on
// the toolbar nothing changes; over a text the path comes back.
TEST_F(ViewerToolbar, HintInTheStatusBarWhileThePointerIsOverAButton) {
    OpenTexts(1);
    const std::wstring path = Panel(1);
    ASSERT_FALSE(path.empty());
    for (int i = 0; i < kToolbarButtonCount; ++i) {
        RECT r = ButtonRect(i);
        MoveOverToolbar({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
        EXPECT_EQ(Panel(1), ToolbarHint(i)) << i;
    }
    RECT last = ButtonRect(kToolbarButtonCount - 1);
    MoveOverToolbar({last.right, last.bottom});
    EXPECT_EQ(Panel(1), ToolbarHint(kToolbarButtonCount - 1)) << "the edges belong to the button";
    RECT first = ButtonRect(0);
    MoveOverToolbar({first.left, first.top});
    EXPECT_EQ(Panel(1), ToolbarHint(0));
    SendMessageW(ViewerTextBox(0), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    EXPECT_EQ(Panel(1), path) << "the path the first hint replaced";
    // A second round keeps the path, not a hint, to come back to.
    MoveOverToolbar({(first.left + first.right) / 2, (first.top + first.bottom) / 2});
    MoveOverToolbar({(last.left + last.right) / 2, (last.top + last.bottom) / 2});
    SendMessageW(ViewerTabStrip(), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    EXPECT_EQ(Panel(1), path);
}

// Left and Right move between the texts; a release with Shift held over
// the toolbar inverts "ExitAfterOpen" for the Open that follows.
TEST_F(ViewerToolbar, ButtonsMoveBetweenTextsAndShiftAtTheClickInvertsTheCloseRule) {
    archive.selfExtracting = true;  // no archiver tool: Open gives a message, then the close rule
    archive.extension = L"EXE";
    OpenTexts(3);
    auto click = [&](int id, bool shift) {
        HWND tb = quibex::ViewerToolbar();
        SendMessageW(tb, WM_LBUTTONUP, shift ? MK_SHIFT : 0, MAKELPARAM(1, 1));
        SendMessageW(ViewerWindow(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(tb));
    };
    click(kToolbarRight, false);
    EXPECT_EQ(SelectedTabIndex(), 1);
    EXPECT_EQ(GetFocus(), ViewerTextBox(1)) << "a click gives the text the focus";
    click(kToolbarLeft, false);
    click(kToolbarLeft, false);
    EXPECT_EQ(SelectedTabIndex(), 2) << "from the first text to the last";
    click(kToolbarSearch, false);
    Pump(50);
    EXPECT_NE(ViewerWindow(), nullptr);

    for (bool shift : {false, true}) {
        NextBox box(IDOK);
        click(kToolbarOpen, shift);
        EXPECT_EQ(box.Text(), kSfxNeedsArchiverTool);
        EXPECT_EQ(PumpUntil([] { return ViewerWindow() == nullptr; }, 300), shift) << "Shift " << shift;
    }
    OpenTexts(1);
    click(kToolbarExit, false);
    EXPECT_TRUE(PumpUntil([] { return ViewerWindow() == nullptr; }));
}

TEST_F(ViewerToolbar, OpenGetsItsDropDownPartWhenTheArchiveHasDocuments) {
    documents = {DocumentEntry{L"manual.htm", L"\\"}, DocumentEntry{L"guide.htm", L"doc\\"}};
    OpenTexts(1);
    HWND tb = quibex::ViewerToolbar();
    const int before = ButtonRect(kToolbarButtonCount - 1).right;
    TBBUTTON open{};
    SendMessageW(tb, TB_GETBUTTON, 5, reinterpret_cast<LPARAM>(&open));
    EXPECT_TRUE(open.fsStyle & BTNS_DROPDOWN);
    RECT bar{};
    GetClientRect(tb, &bar);
    EXPECT_GE(bar.right, before) << "the toolbar grew to hold the ▼ part";
}

TEST_F(ViewerToolbar, NotToolbarLeavesItOutAndTheTabsReachTheStatusBar) {
    AppSettings().NotToolbar = 1;
    OpenTexts(1);
    EXPECT_EQ(quibex::ViewerToolbar(), nullptr);
    RECT tabs{}, status{};
    GetWindowRect(ViewerTabStrip(), &tabs);
    GetWindowRect(ViewerStatusBar(), &status);
    EXPECT_EQ(tabs.bottom, status.top);
}

// "HotImage" 1 shows the pointed-at images always, with no hot list.
TEST_F(ViewerToolbar, HotImageChoosesTheListsShown) {
    for (int hot : {0, 1}) {
        if (ViewerWindow()) CloseAndWait();
        AppSettings().HotImage = static_cast<int16_t>(hot);
        OpenTexts(1);
        auto hotListOf = [] {
            return reinterpret_cast<HIMAGELIST>(SendMessageW(quibex::ViewerToolbar(), TB_GETHOTIMAGELIST, 0, 0));
        };
        // The pointed-at images come once the first text is on the screen.
        if (hot == 0) {
            EXPECT_TRUE(PumpUntil([&] { return hotListOf() != nullptr; }));
        }
        auto shown = reinterpret_cast<HIMAGELIST>(SendMessageW(quibex::ViewerToolbar(), TB_GETIMAGELIST, 0, 0));
        auto hotList = hotListOf();
        const int size = ToolbarImageSize(ScreenDpi());
        UniqueBitmap pointed = BuiltInImageBitmap(ToolbarGlyph::Exit, true, size);
        UniqueImageList expected(ImageList_Create(size, size, ILC_COLOR32, 1, 0));
        ImageList_Add(expected.get(), pointed.get(), nullptr);
        EXPECT_EQ(ImagePixels(shown, static_cast<int>(ToolbarGlyph::Exit)) == ImagePixels(expected.get(), 0), hot == 1);
        if (hot == 1)
            EXPECT_EQ(hotList, nullptr);
        else
            EXPECT_EQ(ImagePixels(hotList, static_cast<int>(ToolbarGlyph::Exit)), ImagePixels(expected.get(), 0));
    }
}

// An icon file replaces its image; a missing file, a file that is no icon
// or an empty path leave the built-in image, without a word.
TEST_F(ViewerToolbar, IconFilesReplaceImagesAndBrokenOnesFallBackSilently) {
    const std::wstring icon = work + L"red.ico", notIcon = work + L"not.ico";
    WriteIconFile(icon, 0xFF0000);
    WriteBytes(notIcon, "this is not an icon");
    std::array<std::wstring, kIconCount> paths;
    paths[IconPathIndex(ToolbarGlyph::Left, false)] = icon;
    paths[IconPathIndex(ToolbarGlyph::Right, true)] = L"\"" + icon + L"\"";  // quoted as the option window may store it
    paths[IconPathIndex(ToolbarGlyph::Text, false)] = work + L"missing.ico";
    paths[IconPathIndex(ToolbarGlyph::Print, false)] = notIcon;
    for (bool pointed : {false, true}) {
        UniqueImageList list = BuildToolbarImageList(pointed, 32, paths);
        ASSERT_EQ(ImageList_GetImageCount(list.get()), kToolbarGlyphCount);
        for (int i = 0; i < kToolbarGlyphCount; ++i) {
            auto glyph = static_cast<ToolbarGlyph>(i);
            std::vector<uint32_t> got = ImagePixels(list.get(), i);
            const bool replaced =
                (glyph == ToolbarGlyph::Left && !pointed) || (glyph == ToolbarGlyph::Right && pointed);
            if (replaced) {
                EXPECT_EQ(got.at(16 * 32 + 16), 0xFF0000u) << "the icon's red, image " << i;
                continue;
            }
            UniqueBitmap builtIn = BuiltInImageBitmap(glyph, pointed, 32);
            UniqueImageList one(ImageList_Create(32, 32, ILC_COLOR32, 1, 0));
            ImageList_Add(one.get(), builtIn.get(), nullptr);
            EXPECT_EQ(got, ImagePixels(one.get(), 0)) << "image " << i << (pointed ? " pointed at" : " normal");
        }
    }
    // The viewer shows what the settings name, and says nothing about the broken ones.
    AppSettings().IconPaths = paths;
    OpenTexts(1);
    auto shown = reinterpret_cast<HIMAGELIST>(SendMessageW(quibex::ViewerToolbar(), TB_GETIMAGELIST, 0, 0));
    EXPECT_EQ(ImagePixels(shown, 0).at(16 * 32 + 16), 0xFF0000u);
    HWND box = nullptr;
    EnumWindows(FindOwnBox, reinterpret_cast<LPARAM>(&box));
    EXPECT_EQ(box, nullptr);
}

// With always-on-top on, the system-menu items warn instead; the handler
// does not run twice at once, whatever arrives while its box is open.
TEST_F(ViewerToolbar, SystemMenuItemsWarnWhileOnTopAndDoNotNest) {
    OpenTexts(1);
    AppSettings().TopMost = 1;
    std::wstring text;
    int boxesSeen = 0;
    std::thread answer([&] {
        HWND box = nullptr;
        for (int i = 0; i < 1000 && !box; ++i, Sleep(10)) EnumWindows(FindOwnBox, reinterpret_cast<LPARAM>(&box));
        if (!box) return;
        wchar_t buffer[256] = {};
        GetWindowTextW(GetDlgItem(box, 0xFFFF), buffer, 256);
        text = buffer;
        // Both items again while the warning shows.
        PostMessageW(ViewerWindow(), WM_SYSCOMMAND, kSysMenuAbout, 0);
        PostMessageW(ViewerWindow(), WM_SYSCOMMAND, kSysMenuKeyList, 0);
        Sleep(500);
        EnumWindows(CountOwnBoxes, reinterpret_cast<LPARAM>(&boxesSeen));
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    });
    SendMessageW(ViewerWindow(), WM_SYSCOMMAND, kSysMenuKeyList, 0);
    answer.join();
    EXPECT_EQ(text, L"ウィンドウが最前面に表示されています。\r\n[Alt] + [A] で一旦解除してください。");
    EXPECT_EQ(boxesSeen, 1);
    EXPECT_FALSE(Form()->inSysCommand);

    // Not on top: the windows would open (they come later); drops are
    // refused only while they are open.
    AppSettings().TopMost = 0;
    SendMessageW(ViewerWindow(), WM_SYSCOMMAND, kSysMenuAbout, 0);
    EXPECT_EQ(ViewerDropMode(), 1);
    EXPECT_TRUE(GetWindowLongPtrW(ViewerWindow(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
}

}  // namespace

// Moved to a monitor of twice the scale: the window takes the rectangle
// Windows suggests, the buttons and the kind/count panels grow with it, and the
// layout stays whole (status bar at the bottom, toolbar above it).
TEST_F(ViewerToolbar, AMonitorOfAnotherScaleRescalesTheParts) {
    OpenTexts(2);
    HWND viewer = ViewerWindow(), tb = quibex::ViewerToolbar();
    ASSERT_NE(tb, nullptr);
    auto buttonHeight = [&] { return HIWORD(SendMessageW(tb, TB_GETBUTTONSIZE, 0, 0)); };
    auto panelWidths = [&] {
        int parts[3]{};
        SendMessageW(ViewerStatusBar(), SB_GETPARTS, 3, reinterpret_cast<LPARAM>(parts));
        RECT c{};
        GetClientRect(ViewerStatusBar(), &c);
        return std::array<int, 2>{parts[1] - parts[0], c.right - parts[1]};
    };
    const int dpi = ScreenDpi(), button = buttonHeight();
    const auto panels = panelWidths();
    RECT before{};
    GetWindowRect(viewer, &before);
    // Within the test screen: Windows keeps a window's size inside it.
    RECT suggested{0, 0, before.right - before.left + 120, before.bottom - before.top + 60};
    SendMessageW(viewer, WM_DPICHANGED, MAKEWPARAM(2 * dpi, 2 * dpi), reinterpret_cast<LPARAM>(&suggested));
    Pump();
    RECT after{};
    GetWindowRect(viewer, &after);
    EXPECT_EQ(after.right - after.left, suggested.right - suggested.left);
    EXPECT_EQ(after.bottom - after.top, suggested.bottom - suggested.top);
    EXPECT_GE(buttonHeight(), button * 3 / 2);
    EXPECT_GE(panelWidths()[0], panels[0] * 3 / 2);
    EXPECT_GE(panelWidths()[1], panels[1] * 3 / 2);
    RECT client{}, status{}, bar{};
    GetClientRect(viewer, &client);
    MapWindowPoints(viewer, nullptr, reinterpret_cast<POINT*>(&client), 2);
    GetWindowRect(ViewerStatusBar(), &status);
    GetWindowRect(tb, &bar);
    EXPECT_EQ(status.bottom, client.bottom);
    EXPECT_LE(bar.bottom, status.top);
    Screenshot(L"viewer-after-dpi-change");
}
