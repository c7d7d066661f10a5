// Viewer geometry arithmetic, the status-bar path ellipsis and the drop rules.
#include <gtest/gtest.h>

#include "viewer/drop_rules.h"
#include "viewer/path_ellipsis.h"
#include "viewer/viewer_geometry.h"

using namespace quibex;

namespace {

TEST(ViewerGeometry, TwipsAndPixels) {
    EXPECT_EQ(TwipsToPixels(1440, 96), 96);
    EXPECT_EQ(TwipsToPixels(100, 96), 7);  // 6.67 rounds up
    EXPECT_EQ(TwipsToPixels(-1440, 96), -96);
    EXPECT_EQ(TwipsToPixels(1440, 144), 144);
    EXPECT_EQ(PixelsToTwips(96, 96), 1440);
    EXPECT_EQ(PixelsToTwips(1, 96), 15);
    EXPECT_EQ(PixelsToTwips(10, 120), 120);
    EXPECT_EQ(TwipsToPixels(15, 0), 0);
}

TEST(ViewerGeometry, ClampToScreen) {
    // Screen 1280 x 800 pixels at 96 dpi = 19200 x 12000 twips.
    struct {
        const char* what;
        TwipRect in, out;
    } cases[] = {
        {"inside stays", {1000, 1000, 9000, 6000}, {1000, 1000, 9000, 6000}},
        {"left 20000 ends at the right edge", {20000, 1000, 9000, 6000}, {10200, 1000, 9000, 6000}},
        {"negative left and top go to 0", {-500, -30, 9000, 6000}, {0, 0, 9000, 6000}},
        {"past the bottom ends there, then 90 %", {0, 9000, 9000, 6000}, {0, 5400, 9000, 6000}},
        {"wider than the screen is narrowed to it", {300, 0, 20000, 6000}, {0, 0, 19200, 6000}},
        {"taller than the screen (the design size at 200 %) fits it", {1200, 900, 19200, 14400}, {0, 0, 19200, 12000}},
    };
    for (const auto& c : cases) {
        TwipRect r = ClampToScreen(c.in, 19200, 12000);
        EXPECT_EQ(r.left, c.out.left) << c.what;
        EXPECT_EQ(r.top, c.out.top) << c.what;
        EXPECT_EQ(r.width, c.out.width) << c.what;
        EXPECT_EQ(r.height, c.out.height) << c.what;
    }
}

TEST(ViewerGeometry, LayoutWithAndWithoutToolbar) {
    ViewerLayout bare = ComputeLayout(800, 600, 22, false, 280, 40, 7);
    EXPECT_EQ(bare.tabWidth, 800);
    EXPECT_EQ(bare.tabHeight, 578);  // down to the status bar
    ViewerLayout tool = ComputeLayout(800, 600, 22, true, 280, 40, 7);
    EXPECT_EQ(tool.tabHeight, 600 - 22 - 40 - 14);
    EXPECT_EQ(tool.toolbarLeft, 260);
    EXPECT_EQ(tool.toolbarTop, 600 - 22 - 40 - 7);
    EXPECT_EQ(ComputeLayout(10, 10, 22, true, 280, 40, 7).tabHeight, 0);
    EXPECT_EQ(CentreOffset(100, 41), 29);
}

// Every character is 10 units wide, so widths are easy to reason about.
int Width(const std::wstring& s) { return static_cast<int>(s.size()) * 10; }

TEST(ViewerPathEllipsis, CompactsTheMiddle) {
    const std::wstring path = L"C:\\Program Files\\Archives\\sample.lzh";  // 36 characters
    struct {
        int width;
        const wchar_t* expected;
    } cases[] = {
        {360, L"C:\\Program Files\\Archives\\sample.lzh"},
        {359, L"C:\\Program Files\\Arch...\\sample.lzh"},
        {300, L"C:\\Program Files...\\sample.lzh"},
        {150, L"C...\\sample.lzh"},
        {140, L"...\\sample.lzh"},
        {130, L"...\\sample.lz"},
        {100, L"...\\sample"},
        {30, L"..."},
        {0, L"..."},
    };
    for (const auto& c : cases) {
        std::wstring r = CompactPathText(path, c.width, Width);
        EXPECT_EQ(r, c.expected) << c.width;
        if (c.width >= 30) {
            EXPECT_LE(Width(r), c.width) << c.width;
        }
    }
    EXPECT_EQ(CompactPathText(L"noslashes.lzh", 80, Width), L"...nosla");
}

TEST(ViewerDropRules, RecycleBin) {
    EXPECT_TRUE(IsRecycleBinPath(L"C:\\RECYCLED\\DC1.lzh"));
    EXPECT_TRUE(IsRecycleBinPath(L"d:\\Recycler\\S-1-5\\Dc2.zip"));
    EXPECT_FALSE(IsRecycleBinPath(L"C:\\RECYCLED"));
    EXPECT_FALSE(IsRecycleBinPath(L"C:\\data\\RECYCLED\\a.lzh"));
    EXPECT_FALSE(IsRecycleBinPath(L""));
}

TEST(ViewerDropRules, CommandLine) {
    EXPECT_EQ(DropCommandLine(L"C:\\Tools\\Quibex", L"D:\\a b.lzh"), L"\"C:\\Tools\\Quibex\\Quibex.exe\" \"D:\\a b.lzh\"");
    EXPECT_EQ(DropCommandLine(L"C:\\", L"D:\\a.lzh"), L"\"C:\\Quibex.exe\" \"D:\\a.lzh\"");
}

TEST(ViewerDropRules, EffectAndEnding) {
    struct {
        bool allowSecond;
        int mods;
        int effect;
        bool ends;
    } cases[] = {
        {false, 0, kDropEffectMove, true},
        {false, kDropCtrl, kDropEffectMove, true},
        {true, 0, kDropEffectCopy, false},
        {true, kDropShift, kDropEffectMove, true},
        {true, kDropShift | kDropCtrl, kDropEffectCopy, false},
        {true, kDropAlt, kDropEffectCopy, false},
        {true, kDropShift | kDropAlt, kDropEffectCopy, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DropEffect(c.allowSecond, c.mods), c.effect) << c.allowSecond << c.mods;
        EXPECT_EQ(DropEndsInstance(c.allowSecond, c.mods), c.ends) << c.allowSecond << c.mods;
    }
}

}  // namespace
