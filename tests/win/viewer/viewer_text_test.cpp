// Loading texts: when, in which encoding, large ones, colour, page scrolling.
#include <windows.h>
#include <psapi.h>
#include <richedit.h>

#include <cstdio>

#include "core/app_state.h"
#include "viewer/viewer_control.h"
#include "viewer/viewer_window.h"
#include "viewer_fixture.h"

using namespace quibex;

namespace {

class ViewerText : public ViewerTest {};

TEST_F(ViewerText, LoadModeOneLoadsOnFirstSelectionAndKeepsTheCaret) {
    for (const wchar_t* n : {L"a.txt", L"b.txt", L"c.txt"}) AddText(n, "line one\r\nline two\r\nline three\r\n");
    Open({L"a.txt", L"b.txt", L"c.txt"});
    EXPECT_TRUE(TabFileLoaded(0));
    EXPECT_FALSE(TabFileLoaded(1));
    EXPECT_FALSE(TabFileLoaded(2));
    EXPECT_EQ(BoxText(2), L"");
    SelectTab(2);
    EXPECT_TRUE(TabFileLoaded(2));
    EXPECT_FALSE(TabFileLoaded(1));
    EXPECT_EQ(BoxText(2), L"line one\rline two\rline three\r");
    EXPECT_EQ(GetFocus(), ViewerTextBox(2));
    SendMessageW(ViewerTextBox(2), EM_SETSEL, 12, 12);
    SelectTab(0);
    SelectTab(2);
    DWORD from = 0, to = 0;
    SendMessageW(ViewerTextBox(2), EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    EXPECT_EQ(from, 12u);  // not reloaded, caret kept
    EXPECT_TRUE(IsWindowVisible(ViewerTextBox(2)));
    EXPECT_FALSE(IsWindowVisible(ViewerTextBox(0)));
}

TEST_F(ViewerText, LoadModeZeroLoadsEverythingFirst) {
    for (const wchar_t* n : {L"a.txt", L"b.txt", L"c.txt"}) AddText(n, "text\r\n");
    AppSettings().TextLoadMode = 0;
    Open({L"a.txt", L"b.txt", L"c.txt"});
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(TabFileLoaded(i));
        EXPECT_EQ(BoxText(i), L"text\r");
    }
}

TEST_F(ViewerText, TabStripKeySourceKeepsFocusOnTheStrip) {
    for (const wchar_t* n : {L"a.txt", L"b.txt"}) AddText(n, "x");
    Open({L"a.txt", L"b.txt"});
    SetFocus(ViewerTabStrip());
    SelectTab(1, 2);
    EXPECT_EQ(GetFocus(), ViewerTabStrip());
}

struct EncodingCase {
    const char* name;
    std::string bytes;
};

// "日本語のテキストです。" CR LF "ｶﾅ ABC" in each encoding (made by Python's codecs).
std::vector<EncodingCase> Encodings() {
    return {
        {"Shift-JIS", "\x93\xFA\x96\x7B\x8C\xEA\x82\xCC\x83\x65\x83\x4C\x83\x58\x83\x67\x82\xC5\x82\xB7\x81\x42\r\n"
                      "\xB6\xC5 ABC"},
        {"UTF-8", "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE3\x81\xAE\xE3\x83\x86\xE3\x82\xAD\xE3\x82\xB9\xE3\x83\x88\xE3"
                  "\x81\xA7\xE3\x81\x99\xE3\x80\x82\r\n\xEF\xBD\xB6\xEF\xBE\x85 ABC"},
        {"UTF-8 BOM", "\xEF\xBB\xBF\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE3\x81\xAE\xE3\x83\x86\xE3\x82\xAD\xE3\x82\xB9"
                      "\xE3\x83\x88\xE3\x81\xA7\xE3\x81\x99\xE3\x80\x82\r\n\xEF\xBD\xB6\xEF\xBE\x85 ABC"},
        {"EUC-JP", "\xC6\xFC\xCB\xDC\xB8\xEC\xA4\xCE\xA5\xC6\xA5\xAD\xA5\xB9\xA5\xC8\xA4\xC7\xA4\xB9\xA1\xA3\r\n"
                   "\x8E\xB6\x8E\xC5 ABC"},
        {"ISO-2022-JP", "\x1B\x24\x42\x46\x7C\x4B\x5C\x38\x6C\x24\x4E\x25\x46\x25\x2D\x25\x39\x25\x48\x24\x47\x24\x39"
                        "\x21\x23\x1B\x28\x42\r\n\x1B(I\x36\x45\x1B(B ABC"},
    };
}

std::string Utf16(const std::wstring& text, bool le) {
    std::string s;
    auto put = [&](unsigned v) {
        char a = static_cast<char>(v & 0xFF), b = static_cast<char>(v >> 8);
        s += le ? std::string{a, b} : std::string{b, a};
    };
    put(0xFEFF);
    for (wchar_t c : text) put(static_cast<unsigned>(c));
    return s;
}

TEST_F(ViewerText, EveryEncodingReadsBackAsUnicode) {
    const std::wstring expected = L"日本語のテキストです。\rｶﾅ ABC";
    auto cases = Encodings();
    cases.push_back({"UTF-16LE", Utf16(L"日本語のテキストです。\r\nｶﾅ ABC", true)});
    cases.push_back({"UTF-16BE", Utf16(L"日本語のテキストです。\r\nｶﾅ ABC", false)});
    std::vector<std::wstring> names;
    for (size_t i = 0; i < cases.size(); ++i) {
        names.push_back(L"t" + std::to_wstring(i) + L".txt");
        AddText(names.back(), cases[i].bytes);
    }
    AppSettings().OpenMax = 10;
    AppSettings().TextLoadMode = 0;
    Open(names);
    ASSERT_EQ(LastTabIndex(), static_cast<int>(cases.size()) - 1);
    for (size_t i = 0; i < cases.size(); ++i) EXPECT_EQ(BoxText(static_cast<int>(i)), expected) << cases[i].name;
}

TEST_F(ViewerText, BinaryJunkShowsWithoutTrouble) {
    std::string junk;
    unsigned seed = 7;
    for (int i = 0; i < 300000; ++i) {
        seed = seed * 1103515245u + 12345u;
        junk.push_back(static_cast<char>(seed >> 16));
    }
    AddText(L"junk.txt", junk);
    Open({L"junk.txt"});
    ASSERT_TRUE(PumpUntil([] { return !TabTextPending(0); }, 30000));
    std::wstring text = BoxText(0);
    EXPECT_GT(text.size(), 1000u);
    EXPECT_EQ(text.find(L'\0'), std::wstring::npos);
}

TEST_F(ViewerText, TextColourColoursEveryCharacter) {
    AddText(L"a.txt", "red text\r\nmore\r\n");
    AppSettings().TextColor = RGB(0, 0, 200);
    Open({L"a.txt"});
    HWND box = ViewerTextBox(0);
    CHARRANGE all{0, -1};
    SendMessageW(box, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&all));
    CHARFORMAT2W cf{};
    cf.cbSize = sizeof cf;
    SendMessageW(box, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
    EXPECT_TRUE(cf.dwMask & CFM_COLOR);  // one colour over the whole text
    EXPECT_EQ(cf.crTextColor, RGB(0, 0, 200));
    EXPECT_FALSE(cf.dwEffects & CFE_AUTOCOLOR);
}

TEST_F(ViewerText, DefaultTextColourLeavesTheControlColour) {
    AddText(L"a.txt", "plain\r\n");
    Open({L"a.txt"});
    HWND box = ViewerTextBox(0);
    CHARRANGE first{0, 1};
    SendMessageW(box, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&first));
    CHARFORMAT2W cf{};
    cf.cbSize = sizeof cf;
    SendMessageW(box, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
    EXPECT_TRUE(cf.dwEffects & CFE_AUTOCOLOR);
}

std::string ManyLines(int n, const char* tag) {
    std::string s;
    for (int i = 0; i < n; ++i) s += std::string(tag) + " line " + std::to_string(i) + "\r\n";
    return s;
}

TEST_F(ViewerText, SpaceContinueWalksThroughTheTexts) {
    AddText(L"a.txt", ManyLines(200, "a"));
    AddText(L"b.txt", "short b\r\n");
    AddText(L"c.txt", "short c\r\n");
    AppSettings().SpaceContinue = 1;
    Open({L"a.txt", L"b.txt", L"c.txt"});
    HWND a = ViewerTextBox(0);
    ScrollPage(3);
    auto first = SendMessageW(a, EM_GETFIRSTVISIBLELINE, 0, 0);
    EXPECT_GT(first, 0);
    DWORD from = 0, to = 0;
    SendMessageW(a, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    EXPECT_EQ(static_cast<LRESULT>(from), SendMessageW(a, EM_LINEINDEX, first, 0));  // caret on the first visible line
    for (int i = 0; i < 100 && SelectedTabIndex() == 0; ++i) ScrollPage(3);
    EXPECT_EQ(SelectedTabIndex(), 1);
    ScrollPage(3);
    EXPECT_EQ(SelectedTabIndex(), 2);
    ScrollPage(3);
    EXPECT_EQ(SelectedTabIndex(), 0);  // wraps around
    SendMessageW(a, EM_SETSEL, 0, 0);
    SendMessageW(a, EM_SCROLLCARET, 0, 0);
    ScrollPage(2);
    EXPECT_EQ(SelectedTabIndex(), 2);  // page up at the top goes back, from the first to the last
}

TEST_F(ViewerText, WithoutSpaceContinueTheEndStays) {
    AddText(L"a.txt", "short\r\n");
    AddText(L"b.txt", "short\r\n");
    Open({L"a.txt", L"b.txt"});
    ScrollPage(3);
    ScrollPage(2);
    EXPECT_EQ(SelectedTabIndex(), 0);
}

size_t PeakMemory() {
    PROCESS_MEMORY_COUNTERS pmc{};
    pmc.cb = sizeof pmc;
    GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc);
    return pmc.PeakWorkingSetSize;
}

// Numbered Shift-JIS lines ("日本語 000042 ..."), 41 bytes each, so page
// boundaries fall inside double-byte characters.
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

// The box's text is whole lines in order, apart from a cut line at either
// end of a partly loaded text; returns the first and last whole line numbers.
void CheckConsecutive(const std::wstring& text, size_t& firstLine, size_t& lastLine) {
    size_t at = 0, expected = 0;
    bool first = true;
    while (at < text.size()) {
        size_t end = text.find(L'\r', at);
        if (end == std::wstring::npos) {
            // The last loaded page ends inside a line (its CR goes with the next page).
            std::wstring rest = text.substr(at);
            ASSERT_EQ(rest, NumberedBoxLine(expected).substr(0, rest.size()));
            return;
        }
        std::wstring line = text.substr(at, end + 1 - at);
        size_t n = std::wcstoul(line.c_str() + 4, nullptr, 10);
        if (first) {
            firstLine = n;
            first = false;
            if (line != NumberedBoxLine(n)) {  // the first loaded page starts inside a line
                at = end + 1;
                first = true;
                continue;
            }
        } else {
            ASSERT_EQ(n, expected) << "lines out of order at char " << at;
        }
        ASSERT_EQ(line, NumberedBoxLine(n));
        expected = n + 1;
        lastLine = n;
        at = end + 1;
    }
}

TEST_F(ViewerText, LargeTextGrowsAsTheReaderNearsItsEnd) {
    size_t lines = WriteNumberedText(work + L"big.txt", 3 * 1024 * 1024 + 777);
    Open({L"big.txt"});
    ASSERT_TRUE(PumpUntil([] { return !TabTextPending(0); }, 60000));
    EXPECT_TRUE(TabTextPartial(0));
    size_t firstLine = 99, lastLine = 0;
    CheckConsecutive(BoxText(0), firstLine, lastLine);
    EXPECT_EQ(firstLine, 0u);
    EXPECT_LT(lastLine, lines - 1);  // only the first window is loaded
    HWND box = ViewerTextBox(0);
    // Down to the end: each time the view reaches the last page another comes.
    for (int i = 0; i < 40 && lastLine < lines - 1; ++i) {
        SendMessageW(box, WM_VSCROLL, SB_BOTTOM, 0);
        Pump(200);
        CheckConsecutive(BoxText(0), firstLine, lastLine);
    }
    EXPECT_EQ(lastLine, lines - 1);
    EXPECT_EQ(firstLine, 0u);
    EXPECT_FALSE(TabTextPartial(0));
}

// Milliseconds a minimal top-level window takes to be created, shown and
// painted in this process: the yardstick for the viewer's figures.
DWORD MinimalWindowMs() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = L"QuibexBenchMinimal";
    RegisterClassW(&wc);
    DWORD start = GetTickCount();
    HWND w = CreateWindowExW(0, wc.lpszClassName, L"minimal", WS_OVERLAPPEDWINDOW, 0, 0, 640, 480, nullptr, nullptr,
                             wc.hInstance, nullptr);
    ShowWindow(w, SW_SHOWNORMAL);
    UpdateWindow(w);
    DWORD took = GetTickCount() - start;
    DestroyWindow(w);
    return took;
}

TEST_F(ViewerText, SmallTextFigures) {
    AddText(L"readme.txt", "\x82\xB1\x82\xEA\x82\xCD\x90\xE0\x96\xBE\x8F\x91\x82\xC5\x82\xB7\x81\x42\r\n");
    DWORD minimal = MinimalWindowMs();
    DWORD start = GetTickCount();
    Open({L"readme.txt"});
    UpdateWindow(ViewerWindow());
    DWORD shown = GetTickCount() - start;
    EXPECT_EQ(BoxText(0), L"これは説明書です。\r");
    std::printf("[ viewer ] small text: first text after %lu ms; minimal window %lu ms\n", shown, minimal);
}

TEST_F(ViewerText, FiftyMebibyteTextOpensAtOnceAndTheWindowAnswers) {
    size_t lines = WriteNumberedText(work + L"big.txt", 50u << 20);
    DWORD minimal = MinimalWindowMs();
    size_t before = PeakMemory();
    DWORD start = GetTickCount();
    Open({L"big.txt"});
    UpdateWindow(ViewerWindow());
    DWORD shown = GetTickCount() - start;
    EXPECT_TRUE(TabFileLoaded(0));
    EXPECT_EQ(BoxText(0).substr(0, NumberedBoxLine(0).size()), NumberedBoxLine(0));
    // The longest time the message loop was held by one piece of loading.
    DWORD longest = 0, last = GetTickCount();
    ASSERT_TRUE(PumpUntil(
        [&] {
            DWORD now = GetTickCount();
            longest = std::max(longest, now - last);
            last = now;
            return !TabTextPending(0);
        },
        120000));
    DWORD filled = GetTickCount() - start;
    size_t firstLine = 99, lastLine = 0;
    CheckConsecutive(BoxText(0), firstLine, lastLine);
    EXPECT_EQ(firstLine, 0u);
    EXPECT_LT(lastLine, lines / 10);
    DWORD caretFrom = 1, caretTo = 1;
    SendMessageW(ViewerTextBox(0), EM_GETSEL, reinterpret_cast<WPARAM>(&caretFrom), reinterpret_cast<LPARAM>(&caretTo));
    EXPECT_EQ(caretFrom, 0u);  // the caret stayed at the start while pages came in
    size_t peak = PeakMemory();
    std::printf("[ viewer ] 50 MiB text: first text after %lu ms (minimal window %lu ms), window of pages full "
                "after %lu ms, longest the message loop was held %lu ms, peak working set %zu MiB (before %zu MiB)\n",
                shown, minimal, filled, longest, peak >> 20, before >> 20);
}

}  // namespace
