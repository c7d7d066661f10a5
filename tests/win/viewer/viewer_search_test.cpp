// The viewer's side of the search: its rich-edit boxes find as the large-text
// view does (full-width letters folded too), and F3 is nobody's key until a
// string has been searched.
#include <windows.h>

#include <richedit.h>

#include "core/app_state.h"
#include "search/find_in_view.h"
#include "search/search_window.h"
#include "viewer/viewer_control.h"
#include "viewer_fixture.h"

using namespace quibex;

namespace {

class ViewerSearch : public ViewerTest {};

TEST_F(ViewerSearch, BoxesFoldFullWidthLettersAndF3WaitsForAString) {
    ForgetSearch();
    // Shift-JIS: "全角のＡＢＣと半角のabc"
    AddText(L"a.txt", "\x91\x53\x8a\x70\x82\xcc\x82\x60\x82\x61\x82\x62\x82\xc6\x94\xbc\x8a\x70\x82\xcc" "abc\r\n");
    Open({L"a.txt"});
    HWND box = ViewerTextBox(0);
    SendMessageW(box, EM_SETSEL, 0, 0);
    EXPECT_FALSE(HandleViewerKey(VK_F3, 0)) << "no string searched yet: F3 is the box's own";

    ASSERT_TRUE(FindTextInView(box, L"ａｂｃ", 0));
    CHARRANGE sel{};
    SendMessageW(box, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&sel));
    EXPECT_EQ(sel.cpMin, 3);
    EXPECT_EQ(sel.cpMax, 6);
    EXPECT_FALSE(FindTextInView(box, L"ａｂｃ", kSearchMatchCase)) << "the full-width capitals only without match case";
}

}  // namespace
