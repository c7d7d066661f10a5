// The search window and F3 from outside, driven with real keys: found, not
// found, match case, the repeat, the proposal of the selected text, the
// viewer's drops switched off while the window is open; on a rich-edit text
// and on a text shown by the large-text view, with the same expectations.
#include <windows.h>

#include <richedit.h>

#include <gtest/gtest.h>

#include <e2e/remote_memory.h>

#include "viewer_support.h"

namespace {

using namespace std::chrono_literals;

constexpr int kSearchText = 5002;  // txtSearchString
constexpr int kMatchCase = 5003;   // chkCompare

CHARRANGE Sel(HWND box) {
    CHARRANGE r{-1, -1};
    e2e::RemoteBuffer remote(box, sizeof r);
    DWORD_PTR ignored = 0;
    if (remote.ok() &&
        SendMessageTimeoutW(box, EM_EXGETSEL, 0, remote.lparam(), SMTO_ABORTIFHUNG, 5000, &ignored))
        remote.read(&r, sizeof r);
    return r;
}

void SetSel(HWND box, LONG from, LONG to) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(box, EM_SETSEL, from, to, SMTO_ABORTIFHUNG, 5000, &ignored);
}

// The box's text with one character per line break, as positions count.
std::wstring BoxText(HWND box) {
    std::wstring text = e2e::richEditText(box);
    for (auto& c : text)
        if (c == L'\n') c = L'\r';
    return text;
}

// The positions of `what` in `text`, letters compared without case.
std::vector<LONG> Occurrences(const std::wstring& text, const std::wstring& what) {
    auto upper = [](std::wstring s) {
        for (auto& c : s) c = static_cast<wchar_t>(towupper(c));
        return s;
    };
    const std::wstring t = upper(text), w = upper(what);
    std::vector<LONG> at;
    for (size_t p = t.find(w); p != std::wstring::npos; p = t.find(w, p + 1)) at.push_back(static_cast<LONG>(p));
    return at;
}

bool Selected(HWND box, LONG at, size_t length) {
    return e2e::waitUntil([&] {
        CHARRANGE r = Sel(box);
        return r.cpMin == at && r.cpMax == at + static_cast<LONG>(length);
    }, 5s);
}

bool AcceptsFiles(HWND viewer) { return (GetWindowLongW(viewer, GWL_EXSTYLE) & WS_EX_ACCEPTFILES) != 0; }

// Ctrl+F in the viewer's text box; the search window once it shows.
HWND OpenSearch(QuibexSession& q, const ViewerParts& v) {
    e2e::bringToFront(v.window);
    e2e::sendKey('F', VK_CONTROL);
    return q.waitWindow(L"検索", L"#32770");
}

// The whole scenario on the first text of `archive`.
void SearchScenario(const std::wstring& archive, const std::wstring& screenshot) {
    QuibexSession q;
    e2e::ScreenshotAtEnd shot;
    ViewerParts v = StartViewer(q, shot, archive);
    ASSERT_TRUE(v.window) << e2e::describeTopLevel(q.pid());
    HWND box = TextBox(v, 0);
    ASSERT_TRUE(box);
    ASSERT_TRUE(e2e::waitUntil([&] { return Occurrences(BoxText(box), L"quibex").size() == 3; }, 30s));
    const std::wstring text = BoxText(box);
    const std::vector<LONG> hits = Occurrences(text, L"quibex");
    SetSel(box, 0, 0);
    // Drops are taken from right after the first paint.
    EXPECT_TRUE(e2e::waitUntil([&] { return AcceptsFiles(v.window); }, 5s));

    HWND search = OpenSearch(q, v);
    ASSERT_TRUE(search) << e2e::describeTopLevel(q.pid());
    EXPECT_EQ(GetWindow(search, GW_OWNER), v.window);
    EXPECT_FALSE(AcceptsFiles(v.window)) << "no drops on the viewer while the search window is open";
    // The first time: centred over the viewer.
    RECT vr{}, sr{};
    GetWindowRect(v.window, &vr);
    GetWindowRect(search, &sr);
    EXPECT_EQ(sr.left, vr.left + ((vr.right - vr.left) - (sr.right - sr.left)) / 2);
    EXPECT_EQ(sr.top, vr.top + ((vr.bottom - vr.top) - (sr.bottom - sr.top)) / 2);
    HWND input = GetDlgItem(search, kSearchText);
    EXPECT_EQ(e2e::windowText(input), L"") << "nothing selected, nothing remembered";

    // Typed in lower case: found in every letter case, one Enter after another.
    e2e::sendText(L"quibex");
    ASSERT_TRUE(e2e::waitUntil([&] { return e2e::windowText(input) == L"quibex"; }, 5s));
    for (LONG at : hits) {
        e2e::sendKey(VK_RETURN);
        EXPECT_TRUE(Selected(box, at, 6)) << "hit at " << at;
    }
    q.screenshot(screenshot);
    // Past the last one: the selection stays, no wrap to the top.
    e2e::sendKey(VK_RETURN);
    Sleep(500);  // a search that finds nothing changes nothing to wait for
    EXPECT_TRUE(Selected(box, hits.back(), 6));
    EXPECT_TRUE(IsWindowVisible(search));

    // With match case from the top, only the lower-case one.
    SetSel(box, 0, 0);
    e2e::pressButtonById(search, kMatchCase);
    ASSERT_TRUE(e2e::waitUntil([&] { return e2e::checkState(GetDlgItem(search, kMatchCase)) == BST_CHECKED; }, 5s));
    e2e::bringToFront(search);
    e2e::sendKey(VK_RETURN);
    const LONG lower = static_cast<LONG>(text.find(L"quibex"));
    EXPECT_TRUE(Selected(box, lower, 6));

    // Closing: drops come back, the position is kept.
    e2e::sendKey(VK_ESCAPE);
    ASSERT_TRUE(e2e::waitForWindowGone(search));
    EXPECT_TRUE(e2e::waitUntil([&] { return AcceptsFiles(v.window); }, 5s));

    // F3 repeats the last search (match case kept) from the caret.
    SetSel(box, 0, 0);
    e2e::bringToFront(v.window);
    e2e::sendKey(VK_F3);
    EXPECT_TRUE(Selected(box, lower, 6));

    // A selection is proposed, even though a string is remembered.
    const std::wstring proposal = text.substr(static_cast<size_t>(hits[0]) + 7, 4);
    SetSel(box, hits[0] + 7, hits[0] + 11);
    search = OpenSearch(q, v);
    ASSERT_TRUE(search);
    input = GetDlgItem(search, kSearchText);
    EXPECT_EQ(e2e::windowText(input), proposal);
    EXPECT_EQ(e2e::checkState(GetDlgItem(search, kMatchCase)), std::optional<int>(BST_CHECKED));
    RECT again{};
    GetWindowRect(search, &again);
    EXPECT_EQ(again.left, sr.left);
    EXPECT_EQ(again.top, sr.top);
    e2e::sendKey(VK_ESCAPE);
    ASSERT_TRUE(e2e::waitForWindowGone(search));
    EXPECT_EQ(CloseAndWait(q, v.window), std::optional<DWORD>(0));
}

TEST(E2eSearch, RichEditText) { SearchScenario(L"search.zip", L"search-window"); }

TEST(E2eSearch, LargeText) { SearchScenario(L"large.zip", L"search-window-large-text"); }

TEST(E2eSearch, CharactersOutsideCodePage932AreFound) {
    QuibexSession q;
    e2e::ScreenshotAtEnd shot;
    ViewerParts v = StartViewer(q, shot, L"search.zip");
    ASSERT_TRUE(v.window) << e2e::describeTopLevel(q.pid());
    const std::vector<std::wstring> captions = e2e::tabItems(v.tabs);
    const auto tab = std::find(captions.begin(), captions.end(), L"unicode.txt") - captions.begin();
    ASSERT_LT(static_cast<size_t>(tab), captions.size());
    ASSERT_TRUE(e2e::selectTab(v.tabs, static_cast<int>(tab)));
    HWND box = TextBox(v, static_cast<int>(tab));
    ASSERT_TRUE(e2e::waitUntil([&] { return BoxText(box).find(L"한국어") != std::wstring::npos; }, 10s));
    SetSel(box, 0, 0);
    HWND search = OpenSearch(q, v);
    ASSERT_TRUE(search);
    e2e::sendText(L"한국어");
    ASSERT_TRUE(e2e::waitUntil([&] { return e2e::windowText(GetDlgItem(search, kSearchText)) == L"한국어"; }, 5s));
    e2e::sendKey(VK_RETURN);
    EXPECT_TRUE(Selected(box, static_cast<LONG>(BoxText(box).find(L"한국어")), 3));
    e2e::sendKey(VK_ESCAPE);
    ASSERT_TRUE(e2e::waitForWindowGone(search));
    EXPECT_EQ(CloseAndWait(q, v.window), std::optional<DWORD>(0));
}

}  // namespace
