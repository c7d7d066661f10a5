// Texts too large for a rich-edit box: shown whole by the large-text view,
// read in steps while the window answers, scrolled, searched and copied
// through the same messages as a rich-edit box.
#include <windows.h>
#include <psapi.h>
#include <richedit.h>
#include <commdlg.h>

#include <algorithm>
#include <cstdio>

#include "core/app_state.h"
#include "viewer/text_view/large_text_store.h"
#include "viewer/text_view/large_text_view.h"
#include "viewer/viewer_control.h"
#include "viewer/viewer_texts.h"
#include "viewer/viewer_window.h"
#include "viewer_fixture.h"

using namespace quibex;

namespace {

class LargeText : public ViewerTest {};

size_t PeakMemory() {
    PROCESS_MEMORY_COUNTERS pmc{};
    pmc.cb = sizeof pmc;
    GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc);
    return pmc.PeakWorkingSetSize;
}

// Numbered Shift-JIS lines ("日本語 000042 ..."), 41 bytes each, so that
// read steps end inside double-byte characters and inside CR LF pairs.
std::string NumberedLine(size_t n) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%06zu", n);
    return std::string("\x93\xFA\x96\x7B\x8C\xEA ") + digits + " \x83\x65\x83\x4C\x83\x58\x83\x67 0123456789abc\r\n";
}
std::wstring NumberedBoxLine(size_t n) {
    wchar_t digits[16];
    std::swprintf(digits, 16, L"%06zu", n);
    return std::wstring(L"日本語 ") + digits + L" テキスト 0123456789abc\r";
}

size_t WriteNumberedText(const std::wstring& path, size_t bytes) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    std::string block;
    size_t n = 0, written = 0;
    while (written < bytes) {
        block.clear();
        while (block.size() < (1u << 20) && written + block.size() < bytes) block += NumberedLine(n++);
        DWORD w = 0;
        WriteFile(h, block.data(), static_cast<DWORD>(block.size()), &w, nullptr);
        written += block.size();
    }
    CloseHandle(h);
    return n;
}

// The box holds exactly lines 0 .. count-1, in order.
void ExpectAllLines(HWND box, size_t count) {
    GETTEXTLENGTHEX q{GTL_NUMCHARS | GTL_PRECISE, 1200};
    size_t length = static_cast<size_t>(SendMessageW(box, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&q), 0));
    size_t expected = 0;
    for (size_t n = 0; n < count; ++n) expected += NumberedBoxLine(n).size();  // past line 999999 a digit more
    ASSERT_EQ(length, expected);
    std::wstring text(length + 1, L'\0');
    TEXTRANGEW range{{0, -1}, text.data()};
    ASSERT_EQ(static_cast<size_t>(SendMessageW(box, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range))), length);
    for (size_t n = 0, at = 0; n < count; at += NumberedBoxLine(n).size(), ++n)
        ASSERT_EQ(text.compare(at, NumberedBoxLine(n).size(), NumberedBoxLine(n)), 0) << "line " << n;
}

LONG Caret(HWND box) {
    CHARRANGE sel{-1, -1};
    SendMessageW(box, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&sel));
    return sel.cpMin;
}

LONG FindText(HWND box, const wchar_t* what, LONG from, LONG to, WPARAM flags) {
    FINDTEXTEXW find{{from, to}, what, {0, 0}};
    return static_cast<LONG>(SendMessageW(box, EM_FINDTEXTEXW, flags, reinterpret_cast<LPARAM>(&find)));
}

TEST_F(LargeText, ShowsTheWholeTextOnceReadAndWhileReadingTheFirstPart) {
    size_t lines = WriteNumberedText(work + L"big.txt", 3 * 1024 * 1024 + 777);
    Open({L"big.txt"});
    HWND box = ViewerTextBox(0);
    ASSERT_TRUE(IsLargeTextView(box));
    EXPECT_TRUE(IsWindowVisible(box));
    EXPECT_EQ(GetFocus(), box);
    EXPECT_TRUE(TabTextPending(0));  // the rest is read from the message loop
    std::wstring first(NumberedBoxLine(0).size() + 1, L'\0');
    TEXTRANGEW range{{0, static_cast<LONG>(NumberedBoxLine(0).size())}, first.data()};
    SendMessageW(box, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range));
    EXPECT_EQ(first.c_str(), NumberedBoxLine(0));
    ASSERT_TRUE(PumpUntil([] { return !TabTextPending(0); }, 60000));
    ExpectAllLines(box, lines + 0);
    // The caret stayed at the start while the text came in.
    EXPECT_EQ(Caret(box), 0);
    EXPECT_EQ(SendMessageW(box, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
}

TEST_F(LargeText, LinesScrollingAndPagesBehaveAsInARichEditBox) {
    WriteNumberedText(work + L"big.txt", 1024 * 1024);
    AddText(L"small.txt", "small\r\n");
    AppSettings().TextLoadMode = 0;
    AppSettings().SpaceContinue = 1;
    Open({L"big.txt", L"small.txt"});
    HWND box = ViewerTextBox(0);
    ASSERT_TRUE(IsLargeTextView(box));
    EXPECT_FALSE(TabTextPending(0));  // "TextLoadMode" 0 reads it all first
    LONG lineLength = static_cast<LONG>(NumberedBoxLine(0).size());
    // The window is wide enough for a numbered line: rows are lines.
    EXPECT_EQ(SendMessageW(box, EM_LINEINDEX, 5, 0), 5 * lineLength);
    EXPECT_EQ(SendMessageW(box, EM_EXLINEFROMCHAR, 0, 5 * lineLength + 3), 5);
    EXPECT_EQ(SendMessageW(box, EM_LINELENGTH, 5 * lineLength, 0), lineLength - 1);
    // A page down moves the first line and puts the caret on it.
    ScrollPage(3);
    auto first = SendMessageW(box, EM_GETFIRSTVISIBLELINE, 0, 0);
    EXPECT_GT(first, 5);
    EXPECT_EQ(Caret(box), first * lineLength);
    ScrollPage(2);
    EXPECT_EQ(SendMessageW(box, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
    // At the bottom the next page goes on to the next text.
    SendMessageW(box, WM_VSCROLL, SB_BOTTOM, 0);
    auto bottom = SendMessageW(box, EM_GETFIRSTVISIBLELINE, 0, 0);
    EXPECT_GT(bottom, 1000);
    SendMessageW(box, EM_SCROLL, SB_PAGEDOWN, 0);
    EXPECT_EQ(SendMessageW(box, EM_GETFIRSTVISIBLELINE, 0, 0), bottom);  // no scrolling past the end
    ScrollPage(3);
    EXPECT_EQ(SelectedTabIndex(), 1);
}

TEST_F(LargeText, FindSelectAndCopy) {
    auto lines = static_cast<LONG>(WriteNumberedText(work + L"big.txt", 1024 * 1024));
    AppSettings().TextLoadMode = 0;
    Open({L"big.txt"});
    HWND box = ViewerTextBox(0);
    LONG lineLength = static_cast<LONG>(NumberedBoxLine(0).size());
    LONG at = FindText(box, L"001234 テキスト", 0, -1, FR_DOWN);
    EXPECT_EQ(at, 1234 * lineLength + 4);
    // Up from the end finds the last match; case matters only when asked.
    EXPECT_EQ(FindText(box, L"0123456789ABC", -1, 0, 0), (lines - 1) * lineLength + 16);
    EXPECT_EQ(FindText(box, L"0123456789ABC", 0, -1, FR_DOWN | FR_MATCHCASE), -1);
    EXPECT_EQ(FindText(box, L"日本語", 5, 2 * lineLength, FR_DOWN), lineLength);
    // Selecting shows the selection; copying gives it with CR LF.
    SendMessageW(box, EM_SETSEL, 1000 * lineLength, 1002 * lineLength);
    auto first = SendMessageW(box, EM_GETFIRSTVISIBLELINE, 0, 0);
    EXPECT_LE(first, 1002);
    EXPECT_GT(first, 900);
    Screenshot(L"viewer_large_text_selection");
    SendMessageW(box, WM_COPY, 0, 0);
    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    std::wstring copied = data ? static_cast<const wchar_t*>(GlobalLock(data)) : L"";
    if (data) GlobalUnlock(data);
    CloseClipboard();
    std::wstring expected = NumberedBoxLine(1000) + L"\n" + NumberedBoxLine(1001) + L"\n";
    EXPECT_EQ(copied, expected);
    // The text as WM_GETTEXT gives it: every break as CR LF.
    EXPECT_EQ(SendMessageW(box, WM_GETTEXTLENGTH, 0, 0), lines * (lineLength + 1));
}

// Long enough (about 9 M characters) to be laid out again in steps.
TEST_F(LargeText, NarrowerWindowWrapsAndKeepsTheFirstVisibleText) {
    auto lines = static_cast<LONG>(WriteNumberedText(work + L"big.txt", 12 * 1024 * 1024));
    AppSettings().TextLoadMode = 0;
    AppSettings().FontSize = 16;  // a line is then wider than the narrowest window
    Open({L"big.txt"});
    HWND box = ViewerTextBox(0);
    LONG lineLength = static_cast<LONG>(NumberedBoxLine(0).size());
    auto rowsBefore = SendMessageW(box, EM_GETLINECOUNT, 0, 0);
    auto row = SendMessageW(box, EM_EXLINEFROMCHAR, 0, 500 * lineLength);
    SendMessageW(box, EM_LINESCROLL, 0, row - SendMessageW(box, EM_GETFIRSTVISIBLELINE, 0, 0));
    ASSERT_EQ(SendMessageW(box, EM_LINEINDEX, SendMessageW(box, EM_GETFIRSTVISIBLELINE, 0, 0), 0), 500 * lineLength);
    RECT rc{};
    GetWindowRect(ViewerWindow(), &rc);
    SetWindowPos(ViewerWindow(), nullptr, 0, 0, 300, rc.bottom - rc.top, SWP_NOMOVE | SWP_NOZORDER);
    // The rows around the first visible line come at once, the rest later.
    EXPECT_TRUE(TabTextPending(0));
    ASSERT_TRUE(PumpUntil([] { return !TabTextPending(0); }, 30000));
    // Lines now take two rows or more; line 500 still starts the first row.
    auto first = SendMessageW(box, EM_GETFIRSTVISIBLELINE, 0, 0);
    EXPECT_GE(first, 1000);
    EXPECT_EQ(SendMessageW(box, EM_LINEINDEX, first, 0), 500 * lineLength);
    EXPECT_GE(SendMessageW(box, EM_GETLINECOUNT, 0, 0), 2 * lines);
    EXPECT_GT(2 * lines, rowsBefore);
}

TEST_F(LargeText, LoadModeOneSwapsTheBoxOnFirstSelectionAndKeepsItsCaret) {
    AddText(L"a.txt", "first\r\n");
    WriteNumberedText(work + L"big.txt", 1024 * 1024);
    Open({L"a.txt", L"big.txt"});
    EXPECT_FALSE(IsLargeTextView(ViewerTextBox(1)));
    EXPECT_FALSE(TabFileLoaded(1));
    SelectTab(1);
    HWND box = ViewerTextBox(1);
    ASSERT_TRUE(IsLargeTextView(box));
    EXPECT_TRUE(IsWindowVisible(box));
    EXPECT_FALSE(IsWindowVisible(ViewerTextBox(0)));
    EXPECT_EQ(GetFocus(), box);
    ASSERT_TRUE(PumpUntil([] { return !TabTextPending(1); }, 60000));
    SendMessageW(box, EM_SETSEL, 4321, 4321);
    SelectTab(0);
    SelectTab(1);
    EXPECT_EQ(ViewerTextBox(1), box);
    EXPECT_EQ(Caret(box), 4321);
}

TEST_F(LargeText, TextColourAndKeysOfAReadOnlyBox) {
    WriteNumberedText(work + L"big.txt", 1024 * 1024);
    AppSettings().TextLoadMode = 0;
    AppSettings().TextColor = RGB(0, 0, 200);
    Open({L"big.txt"});
    HWND box = ViewerTextBox(0);
    EXPECT_EQ(Caret(box), 0);
    LONG lineLength = static_cast<LONG>(NumberedBoxLine(0).size());
    SendMessageW(box, WM_KEYDOWN, VK_DOWN, 0);
    SendMessageW(box, WM_KEYDOWN, VK_DOWN, 0);
    SendMessageW(box, WM_KEYDOWN, VK_END, 0);
    EXPECT_EQ(Caret(box), 3 * lineLength - 1);  // before the line break
    SendMessageW(box, WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(Caret(box), 3 * lineLength);
    // A double click selects the word under the pointer: "テキスト" of line 3.
    POINTL at{};
    SendMessageW(box, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&at), 3 * lineLength + 12);
    SendMessageW(box, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(at.x + 2, at.y + 2));
    SendMessageW(box, WM_LBUTTONUP, 0, MAKELPARAM(at.x + 2, at.y + 2));
    CHARRANGE word{};
    SendMessageW(box, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&word));
    EXPECT_EQ(word.cpMin, 3 * lineLength + 11);
    EXPECT_EQ(word.cpMax, 3 * lineLength + 15);
    SendMessageW(box, WM_CHAR, L'x', 0);  // read-only: nothing changes
    EXPECT_EQ(SendMessageW(box, EM_LINEINDEX, 3, 0), 3 * lineLength);
    // The text is drawn in the chosen colour.
    Pump(50);
    HDC dc = GetDC(box);
    bool blue = false;
    for (int y = 0; y < 20 && !blue; ++y)
        for (int x = 0; x < 200 && !blue; ++x) {
            COLORREF c = GetPixel(dc, x, y);  // anti-aliased edges are lighter
            blue = GetBValue(c) > 150 && GetRValue(c) < 100 && GetGValue(c) < 100;
        }
    ReleaseDC(box, dc);
    EXPECT_TRUE(blue);
}

// A 50 MiB text: the first part shows at once, each read step holds the
// message loop briefly, and memory stays near the size of the text.
TEST_F(LargeText, FiftyMebibyteTextOpensAtOnceAndTheWindowAnswers) {
    size_t lines = WriteNumberedText(work + L"big.txt", 50u << 20);
    size_t peakBefore = PeakMemory();
    DWORD start = GetTickCount();
    Open({L"big.txt"});
    UpdateWindow(ViewerWindow());
    DWORD shown = GetTickCount() - start;
    EXPECT_TRUE(TabFileLoaded(0));
    // The caption tells how far the text has been read while it is read.
    auto caption = [] {
        wchar_t text[256] = {};
        GetWindowTextW(ViewerWindow(), text, 256);
        return std::wstring(text);
    };
    std::vector<int> percents;
    // The longest any one message kept the loop from the next.
    DWORD longest = 0;
    while (TabTextPending(0) && GetTickCount() - start < 120000) {
        std::wstring now = caption();
        if (size_t at = now.find(L" - 読み込み中 "); at != std::wstring::npos) {
            int percent = _wtoi(now.c_str() + at + 8);
            if (percents.empty() || percents.back() != percent) percents.push_back(percent);
        }
        MSG msg;
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            Sleep(1);
            continue;
        }
        DWORD before = GetTickCount();
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
        longest = std::max(longest, GetTickCount() - before);
    }
    ASSERT_FALSE(TabTextPending(0));
    DWORD whole = GetTickCount() - start;
    Pump(400);  // the progress timer's next turn
    EXPECT_EQ(caption().find(L"読み込み中"), std::wstring::npos) << "the plain caption comes back";
    ASSERT_FALSE(percents.empty());
    EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end()));
    EXPECT_LT(percents.front(), 50);
    EXPECT_LE(percents.back(), 99);
    size_t grown = PeakMemory() - peakBefore;
    HWND box = ViewerTextBox(0);
    ASSERT_TRUE(IsLargeTextView(box));
    ExpectAllLines(box, lines);
    EXPECT_EQ(Caret(box), 0);
    // Two bytes per character (the lines are mostly half-width, so about
    // twice the file) and four per row: nothing like the rich-edit box's
    // ninety per character.
    EXPECT_LT(grown, 2 * (size_t{50} << 20) + (size_t{16} << 20));
    std::printf("[ viewer ] 50 MiB text: first part after %lu ms, whole text after %lu ms, longest the message loop "
                "was held %lu ms, peak working set grew by %zu MiB\n",
                shown, whole, longest, grown >> 20);
}

// A text longer than the room a process can give is cut at a whole
// character, says so at its end, and the percentage read only grows.
TEST_F(LargeText, TextPastTheRoomIsCutAndSaysSo) {
    const std::wstring path = work + L"long.txt";
    size_t lines = WriteNumberedText(path, 12u << 20);
    LargeTextStore store;
    ASSERT_TRUE(store.Open(path, size_t{4} << 20));
    int percent = store.PercentRead();
    while (store.LoadStep(1u << 20)) {
        EXPECT_GE(store.PercentRead(), percent);
        percent = store.PercentRead();
    }
    ASSERT_TRUE(store.Complete());
    EXPECT_EQ(store.PercentRead(), 100);
    const std::wstring note = kCutNote;
    std::wstring text(store.Data(), store.Size());
    ASSERT_GT(text.size(), note.size());
    EXPECT_EQ(text.substr(text.size() - note.size()), note);
    // Whole lines, in order, then at most part of one before the note.
    size_t kept = text.size() - note.size(), at = 0, n = 0;
    for (; n < lines && at + NumberedBoxLine(n).size() <= kept; at += NumberedBoxLine(n++).size())
        ASSERT_EQ(text.compare(at, NumberedBoxLine(n).size(), NumberedBoxLine(n)), 0) << "line " << n;
    EXPECT_EQ(NumberedBoxLine(n).compare(0, kept - at, text, at, kept - at), 0);
    EXPECT_LT(n, lines);
    EXPECT_GE(kept, size_t{4} << 20);
}

}  // namespace
