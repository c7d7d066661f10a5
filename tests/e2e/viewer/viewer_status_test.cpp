// The status bar's three panels, and the page shown when an archive holds
// documents but no text.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <e2e/gtest_support.h>

#include "viewer_support.h"

namespace {

using namespace std::chrono_literals;

std::wstring LongPath(const std::wstring& path) {
    wchar_t buf[MAX_PATH] = {};
    DWORD n = GetLongPathNameW(path.c_str(), buf, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::wstring(buf, n) : path;
}

// Width in pixels of a text in the status bar's font (9-point "MS UI Gothic").
int StatusTextWidth(const std::wstring& text, int dpi = ScreenDpi()) {
    HDC dc = GetDC(nullptr);
    HFONT font = CreateFontW(-MulDiv(9, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"MS UI Gothic");
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    DeleteObject(font);
    ReleaseDC(nullptr, dc);
    return size.cx;
}

TEST(E2eViewerStatus, PanelsShowPathKindAndTextCount) {
    e2e::ScreenshotAtEnd shot;
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"kinds.lzh", L"LHA"}, {L"kinds.zip", L"ZIP"}, {L"kinds.cab", L"CAB"}};
    for (auto [archive, kind] : cases) {
        SCOPED_TRACE(e2e::toUtf8(archive));
        QuibexSession q;
        const std::wstring path = ViewerArchive(archive);
        ASSERT_TRUE(q.start(L"\"" + path + L"\""));
        shot.setProcess(q.pid());
        ViewerParts v = WaitBuiltViewer(q);
        ASSERT_TRUE(v.window) << e2e::describeTopLevel(q.pid());
        EXPECT_EQ(e2e::statusBarTexts(v.status), (std::vector<std::wstring>{LongPath(path), kind, L"2"}));
        EXPECT_EQ(CloseAndWait(q, v.window), std::optional<DWORD>(0));
    }
}

TEST(E2eViewerStatus, LongPathIsShortenedToItsPanelUntilTheWindowIsWidened) {
    QuibexSession q;
    e2e::ScreenshotAtEnd shot;
    std::wstring folder = q.folder().path();
    for (const wchar_t* part : {L"a-rather-long-folder-name-for-the-status-bar-panel",
                                L"and-another-long-folder-name-below-it", L"最後のフォルダ"}) {
        folder += L"\\" + std::wstring(part);
        ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    }
    const std::wstring archive = folder + L"\\six.zip";
    ASSERT_TRUE(CopyFileW(ViewerArchive(L"six.zip").c_str(), archive.c_str(), FALSE));
    const std::wstring full = LongPath(archive);
    ASSERT_TRUE(q.start(L"\"" + archive + L"\""));
    shot.setProcess(q.pid());
    ViewerParts v = WaitBuiltViewer(q);
    ASSERT_TRUE(v.window) << e2e::describeTopLevel(q.pid());

    const std::wstring shown = e2e::statusBarTexts(v.status).at(0);
    const std::vector<int> edges = e2e::statusBarPartEdges(v.status);
    ASSERT_EQ(edges.size(), 3u);
    ASSERT_GT(StatusTextWidth(full), edges[0]) << "the path must be too long for the first panel";
    EXPECT_NE(shown.find(L"..."), std::wstring::npos) << e2e::toUtf8(shown);
    EXPECT_EQ(shown.substr(0, 3), full.substr(0, 3)) << "the drive side stays: " << e2e::toUtf8(shown);
    EXPECT_TRUE(shown.ends_with(L"\\six.zip")) << "the file name stays: " << e2e::toUtf8(shown);
    EXPECT_LE(StatusTextWidth(shown), edges[0]) << "the shortened path fits its panel: " << e2e::toUtf8(shown);
    e2e::saveTestScreenshot(nullptr, L"narrow");

    RECT r{};
    GetWindowRect(v.window, &r);
    const int wide = StatusTextWidth(full) + 200;
    ASSERT_LE(wide, GetSystemMetrics(SM_CXSCREEN)) << "the screen must hold the widened window";
    SetWindowPos(v.window, nullptr, 0, r.top, wide, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(e2e::waitUntil([&] { return e2e::statusBarTexts(v.status).at(0) == full; }, 10s))
        << "after widening: " << e2e::toUtf8(e2e::statusBarTexts(v.status).at(0));
    EXPECT_EQ(CloseAndWait(q, v.window), std::optional<DWORD>(0));
}

// At 200 %: the kind and a three-digit count fit their panels (the last one
// also holds the size grip).
TEST(E2eViewerStatus, PanelsHoldKindAndCountAt200PercentDpi) {
    e2e::PrefixDpi dpi(192);
    QuibexSession q;
    e2e::ScreenshotAtEnd shot;
    ViewerParts v = StartViewer(q, shot, L"kinds.cab");
    ASSERT_TRUE(v.window) << e2e::describeTopLevel(q.pid());
    const std::vector<int> edges = e2e::statusBarPartEdges(v.status);
    ASSERT_EQ(edges.size(), 3u);
    RECT bar{};
    GetClientRect(v.status, &bar);
    const int margins = 8, grip = MulDiv(GetSystemMetrics(SM_CXVSCROLL), 192, ScreenDpi());
    EXPECT_GE(edges[1] - edges[0], StatusTextWidth(L"CAB", 192) + margins);
    EXPECT_GE(bar.right - edges[1], StatusTextWidth(L"999", 192) + margins + grip);
    EXPECT_EQ(e2e::statusBarTexts(v.status).at(1), L"CAB");
    e2e::saveTestScreenshot(nullptr, L"200-percent");
    EXPECT_EQ(CloseAndWait(q, v.window), std::optional<DWORD>(0));
}

// The box's text positions count a line end as one character; the body's
// text counts CR LF as two. Returns the body as the box holds it.
std::wstring AsInBox(const std::wstring& text) {
    std::wstring out;
    for (size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n')) out += text[i] == L'\r' ? L'\n' : text[i];
    return out;
}

TEST(E2eViewerStatus, DocumentsWithoutTextShowTheNoTextPageWithItsRedSentence) {
    QuibexSession q;
    e2e::ScreenshotAtEnd shot;
    ViewerParts v = StartViewer(q, shot, L"onlyhtm.zip");
    ASSERT_TRUE(v.window) << e2e::describeTopLevel(q.pid());
    EXPECT_EQ(e2e::tabItems(v.tabs), std::vector<std::wstring>{L"これはテキストファイルではありません"});
    EXPECT_EQ(e2e::statusBarTexts(v.status).at(2), L"0");
    HWND box = TextBox(v, 0);
    ASSERT_TRUE(box);
    const std::wstring body = AsInBox(
        L"\r\n"
        L"　指定された条件に合うテキストファイルは見つかりませんでしたが、"
        L"他の形式のドキュメントファイルが格納されています。"
        L"\r\n\r\n"
        L"　ツールバーの▼ボタンをクリックしたらメニューが表示されますので、閲覧したいファイルをクリックしてください。");
    EXPECT_EQ(e2e::richEditText(box), body);

    std::wstring red, other;
    for (size_t i = 0; i < body.size(); ++i) {
        const COLORREF c = CharColour(box, static_cast<LONG>(i));
        ASSERT_NE(c, CLR_INVALID) << "character colour unreadable at " << i;
        (c == RGB(255, 0, 0) ? red : other) += body[i];
    }
    EXPECT_EQ(red, L"他の形式のドキュメントファイルが格納されています。");
    EXPECT_EQ(other.find(L"他の形式"), std::wstring::npos);
    EXPECT_EQ(CloseAndWait(q, v.window), std::optional<DWORD>(0));
}

}  // namespace
