// The rules of the viewer options window that need no window.
#include <gtest/gtest.h>

#include "options/view_option_rules.h"

namespace {

using quibex::ShortCutTicks;

TEST(ViewOptionRules, ShortCutBoxesReadTheirDigits) {
    // Boxes top to bottom own digits 1, 2, 3, 7, 5, 6; only the last needs a "1".
    struct Case {
        const wchar_t* key;
        ShortCutTicks expected;
    } cases[] = {
        {L"111110111", {true, true, true, true, true, false}},
        {L"000000000", {false, false, false, false, false, false}},
        {L"000001000", {false, false, false, false, false, true}},
        {L"222222222", {true, true, true, true, true, false}},
        {L"110010001", {true, true, false, false, true, false}},
        {L"001000100", {false, false, true, true, false, false}},
    };
    for (const Case& c : cases) EXPECT_EQ(quibex::ShortCutTicksOf(c.key), c.expected) << c.key;
}

TEST(ViewOptionRules, ShortCutBoxesWriteOnlyTheirDigits) {
    const ShortCutTicks all{true, true, true, true, true, true}, none{};
    EXPECT_EQ(quibex::ShortCutKeyWith(L"000000000", all), L"111011100");
    EXPECT_EQ(quibex::ShortCutKeyWith(L"111111111", none), L"000100011");
    EXPECT_EQ(quibex::ShortCutKeyWith(L"110010001", {false, true, true, false, true, true}), L"011011001");
    // Untouched, stray digits of the boxes settle to what the boxes showed.
    EXPECT_EQ(quibex::ShortCutKeyWith(L"222222222", quibex::ShortCutTicksOf(L"222222222")), L"111210122");
    // A key too short is filled up from the default before the digits go in.
    EXPECT_EQ(quibex::ShortCutKeyWith(L"1", none), L"000100011");
}

TEST(ViewOptionRules, HiperLinkKeepsItsCount) {
    EXPECT_EQ(quibex::HiperLinkAfter(true, 0), 3);
    EXPECT_EQ(quibex::HiperLinkAfter(true, 7), 7);
    EXPECT_EQ(quibex::HiperLinkAfter(true, -2), -2);
    EXPECT_EQ(quibex::HiperLinkAfter(false, 7), 0);
}

TEST(ViewOptionRules, PointSizeRoundsHalvesToEven) {
    struct Case {
        int tenths, expected;
    } cases[] = {{90, 9}, {94, 9}, {95, 10}, {96, 10}, {105, 10}, {115, 12}, {114, 11}, {125, 12}, {5, 0}, {15, 2}};
    for (const Case& c : cases) EXPECT_EQ(quibex::PointSizeFromTenths(c.tenths), c.expected) << c.tenths;
}

TEST(ViewOptionRules, TabNameSampleFollowsStyleAndExtension) {
    EXPECT_EQ(quibex::TabNameSample(0, false), L"Readme.txt");
    EXPECT_EQ(quibex::TabNameSample(1, false), L"README.TXT");
    EXPECT_EQ(quibex::TabNameSample(2, true), L"readme");
    EXPECT_EQ(quibex::TabNameSample(3, true), L"Readme");
    EXPECT_EQ(quibex::TabNameSample(3, false), L"Readme.txt");
}

TEST(ViewOptionRules, SampleIsCaptionedCutAndCentred) {
    EXPECT_EQ(quibex::SampleCaption(L"ＭＳ ゴシック", 9), L"ＭＳ ゴシック 9P");
    const quibex::SampleRect back{10, 20, 200, 60};
    auto same = [](const quibex::SampleRect& a, const quibex::SampleRect& b) {
        return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height;
    };
    EXPECT_TRUE(same(quibex::PlaceSample(back, 100, 20, true), {60, 40, 100, 20}));
    EXPECT_TRUE(same(quibex::PlaceSample(back, 101, 21, true), {59, 39, 101, 21}));
    // Wider than the area: 0.9 of it, centred; without fitting it spills evenly.
    EXPECT_TRUE(same(quibex::PlaceSample(back, 300, 80, true), {20, 23, 180, 54}));
    EXPECT_TRUE(same(quibex::PlaceSample(back, 300, 20, false), {-40, 40, 300, 20}));
}

TEST(ViewOptionRules, UnusableFontAndColoursFallBack) {
    const int32_t fallback = static_cast<int32_t>(0x80000005u);
    EXPECT_EQ(quibex::UsableColour(0, fallback), 0);
    EXPECT_EQ(quibex::UsableColour(0xFFFFFF, fallback), 0xFFFFFF);
    EXPECT_EQ(quibex::UsableColour(static_cast<int32_t>(0x80000008u), fallback), static_cast<int32_t>(0x80000008u));
    EXPECT_EQ(quibex::UsableColour(static_cast<int32_t>(0x8000001Eu), fallback), static_cast<int32_t>(0x8000001Eu));
    for (uint32_t bad : {0x1000000u, 0x7FFFFFFFu, 0x8000001Fu, 0xFFFFFFFFu})
        EXPECT_EQ(quibex::UsableColour(static_cast<int32_t>(bad), fallback), fallback) << std::hex << bad;

    EXPECT_EQ(quibex::UsableFontName(L"IPAゴシック"), L"IPAゴシック");
    EXPECT_EQ(quibex::UsableFontName(std::wstring(31, L'A')), std::wstring(31, L'A'));
    for (const std::wstring& bad : {std::wstring(), std::wstring(32, L'A'), std::wstring(L"a\tb")})
        EXPECT_EQ(quibex::UsableFontName(bad), L"ＭＳ ゴシック");
}

}  // namespace
