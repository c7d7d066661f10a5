// The shortcut-key list as the settings show it.
#include <gtest/gtest.h>

#include "options/key_list_rows.h"

namespace {

using quibex::KeyListGroup;

std::vector<bool> Enabled(KeyListGroup group, const wchar_t* shortCutKey) {
    std::vector<bool> enabled;
    for (const quibex::KeyListRow& row : quibex::KeyListRows(group, shortCutKey, 0)) enabled.push_back(row.enabled);
    return enabled;
}

TEST(KeyListRows, DigitsGreyTheirRows) {
    // Default: only the sixth digit is off, so only "[Alt] + [数字]".
    EXPECT_EQ(Enabled(KeyListGroup::Move, L"111110111"),
              (std::vector<bool>{true, true, true, true, true, true, true, true, false}));
    EXPECT_EQ(Enabled(KeyListGroup::General, L"111110111"), (std::vector<bool>{true, true, true, true}));
    // Each digit that matters, alone: 1 Enter, 2 Ctrl+Tab, 3 Alt+arrows, 7 BS, 6 Alt+digits; 5 is Esc.
    EXPECT_EQ(Enabled(KeyListGroup::Move, L"011111111"),
              (std::vector<bool>{false, false, true, true, true, true, true, true, true}));
    EXPECT_EQ(Enabled(KeyListGroup::Move, L"101111111"),
              (std::vector<bool>{true, true, false, false, true, true, true, true, true}));
    EXPECT_EQ(Enabled(KeyListGroup::Move, L"110111111"),
              (std::vector<bool>{true, true, true, true, false, false, true, true, true}));
    EXPECT_EQ(Enabled(KeyListGroup::Move, L"111111011"),
              (std::vector<bool>{true, true, true, true, true, true, false, false, true}));
    EXPECT_EQ(Enabled(KeyListGroup::General, L"111101111"), (std::vector<bool>{true, true, false, true}));
    // Digits 4, 8 and 9 grey nothing.
    for (KeyListGroup g : {KeyListGroup::Move, KeyListGroup::Text, KeyListGroup::General})
        for (bool on : Enabled(g, L"111011100")) EXPECT_TRUE(on);
}

TEST(KeyListRows, AllDigitsOffLeaveTheTextRowsAndTheOtherGeneralRows) {
    for (bool on : Enabled(KeyListGroup::Move, L"000000000")) EXPECT_FALSE(on);
    EXPECT_EQ(Enabled(KeyListGroup::Text, L"000000000"), std::vector<bool>(6, true));
    EXPECT_EQ(Enabled(KeyListGroup::General, L"000000000"), (std::vector<bool>{true, true, false, true}));
}

TEST(KeyListRows, ExitAfterOpenSwapsTheArchiveOpeningDescriptions) {
    auto off = quibex::KeyListRows(KeyListGroup::General, L"111110111", 0);
    auto on = quibex::KeyListRows(KeyListGroup::General, L"111110111", 1);
    EXPECT_EQ(off[0].key, L"[Ctrl] + [O]");
    EXPECT_EQ(off[0].description, L"書庫を開く");
    EXPECT_EQ(off[3].key, L"[Shift] + [Ctrl] + [O]");
    EXPECT_EQ(off[3].description, L"書庫を開いて終了");
    EXPECT_EQ(on[0].description, L"書庫を開いて終了");
    EXPECT_EQ(on[3].description, L"書庫を開く");
    EXPECT_EQ(on[1].description, off[1].description);
    EXPECT_EQ(on[2].description, L"終了");
}

}  // namespace
