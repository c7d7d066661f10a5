// The rules of the main options window that need no window.
#include <gtest/gtest.h>

#include "options/option_rules.h"
#include "ui/word_packing.h"

namespace {

TEST(OptionRules, LimitOfTextsAsTyped) {
    struct Case {
        const wchar_t* text;
        int expected;
    } cases[] = {
        {L"25", 10}, {L"", 1},   {L"0", 1},    {L"7", 7},           {L" 3 ", 3},
        {L"10", 10}, {L"1a", 1}, {L"ab", 1},   {L"99999999999", 10}, {L"01", 1},
    };
    for (const Case& c : cases) EXPECT_EQ(quibex::OpenMaxFromText(c.text), c.expected) << '"' << c.text << '"';
}

TEST(OptionRules, OnlyDigitsAndBackspaceAreTyped) {
    for (wchar_t c = L'0'; c <= L'9'; ++c) EXPECT_TRUE(quibex::OpenMaxAcceptsChar(c));
    EXPECT_TRUE(quibex::OpenMaxAcceptsChar(L'\b'));
    for (wchar_t c : {L'a', L'-', L' ', L'１', L'\x16'}) EXPECT_FALSE(quibex::OpenMaxAcceptsChar(c)) << int(c);
}

TEST(OptionRules, QuibexItselfAndTheBrowseFolder) {
    EXPECT_TRUE(quibex::IsQuibexItself(L"C:\\Program Files\\Quibex\\QUIBEX.EXE"));
    EXPECT_TRUE(quibex::IsQuibexItself(L"D:\\q\\quibex.exe"));
    EXPECT_FALSE(quibex::IsQuibexItself(L"D:\\q\\quibex.exe.lnk"));
    EXPECT_FALSE(quibex::IsQuibexItself(L"D:\\quibex.exe\\lha.exe"));
    EXPECT_EQ(quibex::BrowseFolderOf(L"  C:\\tools\\lha.exe "), L"C:\\tools\\");
    EXPECT_EQ(quibex::BrowseFolderOf(L"C:\\tools\\"), L"C:\\tools\\");
    EXPECT_EQ(quibex::BrowseFolderOf(L""), L"");
}

TEST(WordPacking, HighTimes65536PlusLowWrappingToTheNegativeHalf) {
    EXPECT_EQ(quibex::PackWords(0, 500), 500);
    EXPECT_EQ(quibex::PackWords(20, 30), 20 * 65536 + 30);
    EXPECT_EQ(quibex::PackWords(65535, 65535), -1);
    EXPECT_EQ(quibex::PackWords(32768, 0), INT32_MIN);
    EXPECT_EQ(quibex::PackWords(32767, 65535), INT32_MAX);
    EXPECT_THROW(quibex::PackWords(200000, 0), std::overflow_error);
    EXPECT_THROW(quibex::PackWords(-40000, 0), std::overflow_error);
}

}  // namespace
