// The "?" button is handled here rather than by the system: a click on it
// captures the mouse for the dialog with the help pointer, and the next
// click names the control. That works the same on every system, and the
// popup is ours either way.
#include "ui/whats_this.h"

#include <commctrl.h>
#include <windowsx.h>

#include <string>

#include "core/app_state.h"
#include "ui/help_popup.h"
#include "ui/help_topics.h"
#include "ui/ui_texts.h"

namespace quibex {
namespace {

std::wstring ClassOf(HWND hwnd) {
    wchar_t name[32] = {};
    GetClassNameW(hwnd, name, static_cast<int>(std::size(name)));
    return name;
}

bool IsGroupBox(HWND hwnd) {
    return _wcsicmp(ClassOf(hwnd).c_str(), WC_BUTTONW) == 0 &&
           (GetWindowLongPtrW(hwnd, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
}

// Labels, check boxes, option buttons and buttons answer a right click with
// help; other controls keep their own right click.
bool TakesRightClickHelp(HWND hwnd) {
    const std::wstring cls = ClassOf(hwnd);
    return _wcsicmp(cls.c_str(), WC_BUTTONW) == 0 || _wcsicmp(cls.c_str(), WC_STATICW) == 0;
}

void ShowTopicText(HWND control, const wchar_t* text, POINT pointer) {
    if (!App().BuiltInHelp) return;
    RECT r{};
    GetWindowRect(control, &r);
    ShowHelpPopup(GetAncestor(control, GA_ROOT), text, r, pointer);
}

}  // namespace

bool ShowControlHelp(HWND control, int topic, POINT pointer) {
    const wchar_t* text = HelpTopicText(topic);
    if (text) ShowTopicText(control, text, pointer);
    return text != nullptr;
}

int WhatsThis::TopicOf(HWND control) const {
    const int id = GetDlgCtrlID(control);
    for (const ControlTopic& t : topics_)
        if (t.controlId == id) return t.topic;
    return 0;
}

HWND WhatsThis::ControlAt(HWND dialog, POINT screen) {
    HWND best = nullptr;
    long long bestArea = 0;
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        RECT r{};
        if (!IsWindowVisible(c) || IsGroupBox(c) || !GetWindowRect(c, &r) || !PtInRect(&r, screen)) continue;
        const long long area = static_cast<long long>(r.right - r.left) * (r.bottom - r.top);
        if (!best || area < bestArea) best = c, bestArea = area;
    }
    return best;
}

void WhatsThis::Show(HWND control, POINT pointer, bool evenWithoutTopic) {
    if (!ShowControlHelp(control, TopicOf(control), pointer) && evenWithoutTopic)
        ShowTopicText(control, ui_text::kNoHelpTopic, pointer);
}

void WhatsThis::StopPicking() {
    if (!picking_) return;
    picking_ = false;
    ReleaseCapture();
}

bool WhatsThis::HandleMessage(HWND dialog, UINT msg, WPARAM wp, LPARAM lp, INT_PTR& result) {
    result = TRUE;  // what help takes, it has processed
    switch (msg) {
    case WM_SYSCOMMAND:
        if ((wp & 0xFFF0) != SC_CONTEXTHELP) return false;
        picking_ = true;
        SetCapture(dialog);
        SetCursor(LoadCursorW(nullptr, IDC_HELP));
        return true;
    case WM_MOUSEMOVE:
        if (!picking_) return false;
        SetCursor(LoadCursorW(nullptr, IDC_HELP));
        return true;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN: {
        if (!picking_) return false;
        StopPicking();
        POINT at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        ClientToScreen(dialog, &at);
        if (msg == WM_LBUTTONDOWN)
            if (HWND control = ControlAt(dialog, at)) Show(control, at, true);
        return true;
    }
    case WM_CAPTURECHANGED: picking_ = false; return false;
    case WM_CONTEXTMENU: {
        POINT at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        const bool fromKeyboard = lp == -1;
        HWND control = reinterpret_cast<HWND>(wp);
        // Labels and disabled controls let the click through to the dialog.
        if (control == dialog) control = fromKeyboard ? nullptr : ControlAt(dialog, at);
        if (!control || !TakesRightClickHelp(control) || !TopicOf(control)) return false;
        if (fromKeyboard) {
            RECT r{};
            GetWindowRect(control, &r);
            at = {r.left, r.bottom};
        }
        Show(control, at, false);
        return true;
    }
    case WM_HELP: {
        const auto* info = reinterpret_cast<const HELPINFO*>(lp);
        if (!info || info->iContextType != HELPINFO_WINDOW) return false;
        HWND control = static_cast<HWND>(info->hItemHandle);
        if (!control || control == dialog || GetAncestor(control, GA_PARENT) != dialog) return false;
        Show(control, info->MousePos, true);
        return true;
    }
    default: return false;
    }
}

}  // namespace quibex
