// Loading texts: when, in which encoding, colour, page scrolling.
#include <windows.h>
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

}  // namespace
