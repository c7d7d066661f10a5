// Tab caption rules of the viewer.
#include <gtest/gtest.h>

#include "viewer/tab_caption.h"

using namespace quibex;

namespace {

TEST(ViewerCaption, ApplyTabNameStyle) {
    struct {
        const wchar_t* name;
        int style;
        const wchar_t* expected;
    } cases[] = {
        {L"ReadMe.TXT", 0, L"ReadMe.TXT"}, {L"ReadMe.TXT", 1, L"README.TXT"}, {L"ReadMe.TXT", 2, L"readme.txt"},
        {L"README.TXT", 3, L"Readme.txt"}, {L"a", 3, L"A"},                  {L"", 3, L""},
        {L"ReadMe.TXT", 7, L"ReadMe.TXT"}, {L"説明書.TXT", 3, L"説明書.txt"},
    };
    for (const auto& c : cases) EXPECT_EQ(ApplyTabNameStyle(c.name, c.style), c.expected) << c.name << c.style;
}

TEST(ViewerCaption, ShortCutDigits) {
    EXPECT_FALSE(ShortCutDigitOn(L"111110111", 6));
    EXPECT_TRUE(ShortCutDigitOn(L"111111111", 6));
    EXPECT_TRUE(ShortCutDigitOn(L"000001000", 6));
    EXPECT_TRUE(ShortCutDigitOn(L"111110111", 5));
    EXPECT_FALSE(ShortCutDigitOn(L"11111", 6));  // too short: off
    EXPECT_FALSE(ShortCutDigitOn(L"111111111", 0));
}

TEST(ViewerCaption, CaptionRulesInOrder) {
    struct {
        const wchar_t* name;
        size_t index;
        CaptionRules rules;
        const wchar_t* caption;
        const wchar_t* tooltip;
    } cases[] = {
        {L"readme.txt", 0, {0, true, false}, L"readme", L""},
        {L"a.b.txt", 1, {0, true, false}, L"a.b", L""},
        {L"README", 1, {0, true, false}, L"README", L""},
        {L"README.TXT", 0, {3, false, false}, L"Readme.txt", L""},
        {L"Readme.txt", 0, {0, false, true}, L"[0] Readme.txt", L"Alt + 0"},
        {L"b.txt", 2, {0, false, true}, L"[2] b.txt", L"Alt + 2"},
        {L"B.TXT", 10, {2, true, true}, L"[10] b", L"Alt + 10"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TabCaption(c.name, c.index, c.rules), c.caption) << c.name;
        EXPECT_EQ(TabTooltip(c.index, c.rules), c.tooltip) << c.name;
    }
}

TEST(ViewerCaption, SingleTabLosesItsNumber) {
    EXPECT_EQ(DropNumberPrefix(L"[0] Readme.txt"), L"Readme.txt");
    EXPECT_EQ(DropNumberPrefix(L"[0] "), L"");
    EXPECT_EQ(DropNumberPrefix(L"ab"), L"");
}

TEST(ViewerCaption, ReadmeIsFoundInAnyCase) {
    EXPECT_TRUE(IsReadmeName(L"Readme.TXT"));
    EXPECT_TRUE(IsReadmeName(L"README.TXT"));
    EXPECT_FALSE(IsReadmeName(L"readme.txt.bak"));
    EXPECT_FALSE(IsReadmeName(L"readme"));
}

}  // namespace
