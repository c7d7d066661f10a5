// The tab strip's "Alt + n" tooltips on systems whose tab control keeps no
// tooltip tool per tab (Wine's): one tool per tab rectangle, with its text.
// Where the control keeps its own tools (Windows), it asks the viewer for the
// texts through TTN_GETDISPINFO and nothing is added here.
#include <windows.h>

#include <commctrl.h>

#include "viewer/viewer_form.h"

namespace quibex {

void SyncTabTooltips(ViewerForm& f) {
    HWND tips = f.tabs.strip ? reinterpret_cast<HWND>(SendMessageW(f.tabs.strip, TCM_GETTOOLTIPS, 0, 0)) : nullptr;
    if (!tips) return;
    auto tabs = static_cast<int>(SendMessageW(f.tabs.strip, TCM_GETITEMCOUNT, 0, 0));
    if (!f.tabs.ownTools && SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0) > 0) return;
    f.tabs.ownTools = true;
    for (int i = 0; i < tabs; ++i) {
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_SUBCLASS;
        tool.hwnd = f.tabs.strip;
        tool.uId = static_cast<UINT_PTR>(i);
        SendMessageW(f.tabs.strip, TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&tool.rect));
        std::wstring text = static_cast<size_t>(i) < f.tabs.tips.size() ? f.tabs.tips[static_cast<size_t>(i)] : L"";
        tool.lpszText = text.data();
        TTTOOLINFOW existing{};
        existing.cbSize = sizeof existing;
        existing.hwnd = f.tabs.strip;
        existing.uId = tool.uId;
        if (SendMessageW(tips, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&existing))) {
            SendMessageW(tips, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
            SendMessageW(tips, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
        } else {
            SendMessageW(tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        }
    }
}

}  // namespace quibex
