#include "search/find_in_view.h"

#include <commdlg.h>
#include <richedit.h>

#include "core/app_state.h"
#include "core/message_box.h"

namespace quibex {

bool FindTextInView(HWND box, const std::wstring& what, int flags) {
    if (!box || what.empty()) return false;
    CHARRANGE selection{0, 0};
    SendMessageW(box, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    FINDTEXTEXW find{{selection.cpMax, -1}, what.c_str(), {-1, -1}};
    const WPARAM options = FR_DOWN | ((flags & kSearchMatchCase) ? FR_MATCHCASE : 0);
    if (SendMessageW(box, EM_FINDTEXTEXW, options, reinterpret_cast<LPARAM>(&find)) < 0) {
        PlayBeep(AppSettings().PcBeep);
        return false;
    }
    SendMessageW(box, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&find.chrgText));
    // The hit shows while the search window has the focus, too.
    SendMessageW(box, EM_SETOPTIONS, ECOOP_OR, ECO_NOHIDESEL);
    SendMessageW(box, EM_SCROLLCARET, 0, 0);
    return true;
}

}  // namespace quibex
