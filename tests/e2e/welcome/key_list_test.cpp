// The shortcut-key list as a user sees it for two sets of switched keys.
#include <gtest/gtest.h>

#include <e2e/gtest_support.h>

#include "key_list_dialog_ids.h"
#include "options/key_list_rows.h"
#include "window_host_run.h"

namespace {

using quibex::KeyListGroup;

struct Shown {
    std::wstring key, description;
    bool enabled;
};

std::vector<Shown> ShownRows(HWND list, int firstKeyId, int firstDescriptionId, size_t count) {
    std::vector<Shown> rows;
    for (int i = 0; i < static_cast<int>(count); ++i) {
        HWND key = e2e::childById(list, firstKeyId + i), description = e2e::childById(list, firstDescriptionId + i);
        EXPECT_EQ(IsWindowEnabled(key), IsWindowEnabled(description)) << "row " << i << " greys both labels";
        rows.push_back({e2e::windowText(key), e2e::windowText(description), IsWindowEnabled(key) != FALSE});
    }
    return rows;
}

void ExpectGroup(HWND list, KeyListGroup group, int firstKeyId, int firstDescriptionId, const wchar_t* shortCutKey,
                 int exitAfterOpen) {
    std::vector<quibex::KeyListRow> expected = quibex::KeyListRows(group, shortCutKey, exitAfterOpen);
    std::vector<Shown> shown = ShownRows(list, firstKeyId, firstDescriptionId, expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(shown[i].key, expected[i].key) << "row " << i;
        EXPECT_EQ(shown[i].description, expected[i].description) << "row " << i;
        EXPECT_EQ(shown[i].enabled, expected[i].enabled) << e2e::toUtf8(shown[i].key);
    }
}

TEST(E2eKeyList, GreysTheSwitchedOffKeysAndWordsTheOpeningKeys) {
    struct Case {
        const char* ini;
        const wchar_t* shortCutKey;
        int exitAfterOpen;
        const wchar_t* screenshot;
    };
    const Case cases[] = {
        {"[Viewer]\nShortCutKey=111110111\nExitAfterOpen=0\n", L"111110111", 0, L"key-list-default"},
        {"[Viewer]\nShortCutKey=000000000\nExitAfterOpen=1\n", L"000000000", 1, L"key-list-all-off"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(e2e::toUtf8(c.shortCutKey));
        WindowHostRun run(c.ini, {});
            HWND list = run.open(L"keylist", L"Quibex ショートカットキー");
        ASSERT_TRUE(list);
            ExpectGroup(list, KeyListGroup::Move, IDC_KEYLIST_LBLIDOUKEY, IDC_KEYLIST_LBLIDOUSETSUMEI, c.shortCutKey,
                    c.exitAfterOpen);
        ExpectGroup(list, KeyListGroup::Text, IDC_KEYLIST_LBLTEXTKEY, IDC_KEYLIST_LBLTEXTSETSUMEI, c.shortCutKey,
                    c.exitAfterOpen);
        ExpectGroup(list, KeyListGroup::General, IDC_KEYLIST_LBLZENPANKEY, IDC_KEYLIST_LBLZENPANSETSUMEI,
                    c.shortCutKey, c.exitAfterOpen);
        // The rows named by the window's own words, for the two settings.
        HWND altDigits = e2e::childById(list, IDC_KEYLIST_LBLIDOUKEY + 8);
        EXPECT_EQ(e2e::windowText(altDigits), L"[Alt] + [数字]");
        EXPECT_FALSE(IsWindowEnabled(altDigits));
        HWND esc = e2e::childById(list, IDC_KEYLIST_LBLZENPANKEY + 2);
        EXPECT_EQ(IsWindowEnabled(esc) != FALSE, c.exitAfterOpen == 0);
        EXPECT_EQ(e2e::windowText(e2e::childById(list, IDC_KEYLIST_LBLZENPANSETSUMEI)),
                  c.exitAfterOpen ? L"書庫を開いて終了" : L"書庫を開く");
        EXPECT_EQ(GetWindowLongW(list, GWL_STYLE) & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME), 0);

        run.process().waitForInputIdle();
        e2e::saveScreenshot(c.screenshot);
        // Esc closes it like its OK button.
        ASSERT_TRUE(e2e::bringToFront(list));
        ASSERT_TRUE(e2e::sendKey(VK_ESCAPE));
        EXPECT_EQ(run.process().waitForExit(), std::optional<DWORD>(0));
    }
}

}  // namespace
