// The search window in process over a stand-in for the viewer: where it goes
// the first time and afterwards (kept on the screen), what it proposes, an
// empty search, and the drop switch it asks for while it is open.
#include <windows.h>

#include <richedit.h>

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "resource.h"
#include "search/search_window.h"

namespace {

using namespace quibex;

HWND g_box = nullptr;
std::vector<int> g_dropModes;
HWND CurrentBox() { return g_box; }
void RecordDropMode(int mode) { g_dropModes.push_back(mode); }

class WinSearchWindow : public ::testing::Test {
protected:
    void SetUp() override {
        LoadLibraryW(L"Msftedit.dll");
        ForgetSearch();
        g_dropModes.clear();
        viewer_ = CreateWindowExW(0, L"STATIC", L"viewer", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 120, 600, 400,
                                  nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        g_box = CreateWindowExW(0, MSFTEDIT_CLASS, L"", WS_CHILD | WS_VISIBLE | ES_MULTILINE, 0, 0, 500, 300, viewer_,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
        SetWindowTextW(g_box, L"書庫のテキストを検索します。テキストは一つではありません。");
    }
    void TearDown() override {
        if (SearchWindow()) Close();
        DestroyWindow(viewer_);
        g_box = nullptr;
    }
    HWND Open() {
        OpenSearchWindow({viewer_, CurrentBox, RecordDropMode});
        return SearchWindow();
    }
    static void Close() {
        SendMessageW(SearchWindow(), WM_COMMAND, IDCANCEL, 0);
        EXPECT_EQ(SearchWindow(), nullptr);
    }
    static std::wstring Proposal(HWND search) {
        wchar_t text[256] = {};
        GetDlgItemTextW(search, IDC_SEARCH_TXTSEARCHSTRING, text, 256);
        return text;
    }
    static CHARRANGE Sel() {
        CHARRANGE r{};
        SendMessageW(g_box, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&r));
        return r;
    }
    HWND viewer_ = nullptr;
};

TEST_F(WinSearchWindow, CentredTheFirstTimeThenWhereItWasKeptOnTheScreen) {
    HWND search = Open();
    ASSERT_TRUE(search);
    EXPECT_EQ(g_dropModes, std::vector<int>{0});
    RECT v{}, s{};
    GetWindowRect(viewer_, &v);
    GetWindowRect(search, &s);
    const int w = s.right - s.left, h = s.bottom - s.top;
    EXPECT_EQ(s.left, v.left + ((v.right - v.left) - w) / 2);
    EXPECT_EQ(s.top, v.top + ((v.bottom - v.top) - h) / 2);

    // Dragged half off the bottom: it comes back at nine tenths of the
    // highest place where it is whole.
    const int screenH = GetSystemMetrics(SM_CYSCREEN);
    SetWindowPos(search, nullptr, 40, screenH - h / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Close();
    EXPECT_EQ(g_dropModes, (std::vector<int>{0, 1}));
    search = Open();
    ASSERT_TRUE(search);
    GetWindowRect(search, &s);
    EXPECT_EQ(s.left, 40);
    EXPECT_EQ(s.top, static_cast<int>(std::nearbyint((screenH - h) * 0.9)));

    // Off the left and top edges: pulled back to 0.
    SetWindowPos(search, nullptr, -50, -30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Close();
    search = Open();
    GetWindowRect(search, &s);
    EXPECT_EQ(s.left, 0);
    EXPECT_EQ(s.top, 0);
}

TEST_F(WinSearchWindow, ProposesTheSelectionElseTheLastStringAndIgnoresAnEmptySearch) {
    HWND search = Open();
    EXPECT_EQ(Proposal(search), L"");
    // Enter with nothing typed: nothing happens, nothing is remembered.
    CHARRANGE caret{3, 3};
    SendMessageW(g_box, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&caret));
    SendMessageW(search, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(Sel().cpMin, 3);
    EXPECT_EQ(Sel().cpMax, 3);
    EXPECT_FALSE(SearchRemembered());

    SetDlgItemTextW(search, IDC_SEARCH_TXTSEARCHSTRING, L"テキスト");
    SendMessageW(search, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(Sel().cpMin, 3);
    EXPECT_EQ(Sel().cpMax, 7);
    Close();
    EXPECT_TRUE(SearchRemembered());
    EXPECT_TRUE(RepeatLastSearch(g_box));  // F3
    EXPECT_EQ(Sel().cpMin, 14);
    EXPECT_FALSE(RepeatLastSearch(g_box)) << "no third one, no wrap";
    EXPECT_EQ(Sel().cpMin, 14);

    CHARRANGE none{0, 0};
    SendMessageW(g_box, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&none));
    search = Open();
    EXPECT_EQ(Proposal(search), L"テキスト") << "nothing selected: the remembered string";
    Close();
    CHARRANGE word{0, 2};
    SendMessageW(g_box, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&word));
    search = Open();
    EXPECT_EQ(Proposal(search), L"書庫") << "the selection comes first";
}

}  // namespace
