#include "core/window_base.h"

#include <commctrl.h>

#include <algorithm>
#include <unordered_map>
#include <vector>

namespace quibex {

namespace {
ActivationObserver g_observer = nullptr;

HINSTANCE ProgramInstance() { return GetModuleHandleW(nullptr); }
}  // namespace

void SetActivationObserver(ActivationObserver observer) { g_observer = observer; }

void ReportActivation(HWND hwnd) {
    if (g_observer) g_observer(hwnd);
}

namespace {

// The filters of each filtered control, kept in this process: the common
// controls' subclass list is found through a window property on every
// message and every pass down the list, which on some platforms is a round
// trip to the window server each time.
struct FilterEntry {
    MessageFilter filter;
    DWORD_PTR data;
};
struct FilteredControl {
    WNDPROC original;
    std::vector<FilterEntry> filters;  // the latest first in line
};

std::unordered_map<HWND, FilteredControl>& FilteredControls() {
    static std::unordered_map<HWND, FilteredControl> controls;
    return controls;
}

LRESULT CALLBACK FilterProcedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto& controls = FilteredControls();
    auto found = controls.find(hwnd);
    if (found == controls.end()) return DefWindowProcW(hwnd, msg, wp, lp);
    const WNDPROC original = found->second.original;
    const std::vector<FilterEntry> filters = found->second.filters;  // a filter may add one
    if (msg == WM_NCDESTROY) controls.erase(found);
    for (auto f = filters.rbegin(); f != filters.rend(); ++f) {
        LRESULT result = 0;
        if (Guarded<bool>(false, [&] { return f->filter(hwnd, msg, wp, lp, f->data, result); })) return result;
    }
    return CallWindowProcW(original, hwnd, msg, wp, lp);
}

}  // namespace

bool FilterMessages(HWND control, MessageFilter filter, DWORD_PTR data) {
    if (!IsWindow(control)) return false;
    auto& controls = FilteredControls();
    auto found = controls.find(control);
    if (found == controls.end()) {
        auto original = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FilterProcedure)));
        if (!original) return false;
        found = controls.emplace(control, FilteredControl{original, {}}).first;
    }
    auto& filters = found->second.filters;
    auto same = std::find_if(filters.begin(), filters.end(), [&](const FilterEntry& e) { return e.filter == filter; });
    if (same != filters.end())
        same->data = data;
    else
        filters.push_back({filter, data});
    return true;
}

RECT CentredRect(HWND owner, int w, int h) {
    HMONITOR monitor = MonitorFromWindow(owner, MONITOR_DEFAULTTOPRIMARY);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (GetMonitorInfoW(monitor, &info)) area = info.rcWork;
    RECT over = area;
    if (owner && IsWindowVisible(owner) && !IsIconic(owner)) GetWindowRect(owner, &over);
    int x = over.left + ((over.right - over.left) - w) / 2;
    int y = over.top + ((over.bottom - over.top) - h) / 2;
    x = std::max<int>(area.left, std::min<int>(x, area.right - w));
    y = std::max<int>(area.top, std::min<int>(y, area.bottom - h));
    return {x, y, x + w, y + h};
}

Window::~Window() {
    if (hwnd_ && IsWindow(hwnd_)) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

Window* Window::Of(HWND hwnd) { return reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)); }

bool Window::Create(const Class& cls, DWORD exStyle, const wchar_t* title, DWORD style, int x, int y, int w, int h,
                    HWND parent, int id) {
    HINSTANCE instance = ProgramInstance();
    WNDCLASSEXW known{};
    known.cbSize = sizeof known;
    if (!GetClassInfoExW(instance, cls.name, &known)) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.style = cls.style;
        wc.lpfnWndProc = Procedure;
        wc.hInstance = instance;
        wc.hIcon = cls.icon;
        wc.hCursor = cls.cursor ? cls.cursor : LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = cls.background;
        wc.lpszClassName = cls.name;
        if (!RegisterClassExW(&wc)) return false;
    }
    HMENU menu = (style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)) : nullptr;
    return CreateWindowExW(exStyle, cls.name, title, style, x, y, w, h, parent, menu, instance, this) != nullptr;
}

LRESULT CALLBACK Window::Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
    return self->Deliver<LRESULT>(hwnd, msg, wp, GWLP_USERDATA, 0, [&] { return self->HandleMessage(msg, wp, lp); });
}

Dialog::~Dialog() {
    if (hwnd_ && IsWindow(hwnd_)) {
        SetWindowLongPtrW(hwnd_, DWLP_USER, 0);
        if (modal_)
            EndDialog(hwnd_, IDCANCEL);
        else
            DestroyWindow(hwnd_);
    }
}

INT_PTR Dialog::RunModal(int templateId, HWND owner) {
    modal_ = true;
    return DialogBoxParamW(ProgramInstance(), MAKEINTRESOURCEW(templateId), owner, Procedure,
                           reinterpret_cast<LPARAM>(this));
}

bool Dialog::CreateModeless(int templateId, HWND owner) {
    modal_ = false;
    HWND dlg = CreateDialogParamW(ProgramInstance(), MAKEINTRESOURCEW(templateId), owner, Procedure,
                                  reinterpret_cast<LPARAM>(this));
    if (!dlg) return false;
    ShowWindow(dlg, SW_SHOW);
    return true;
}

void Dialog::End(INT_PTR result) {
    if (!hwnd_) return;
    if (modal_)
        EndDialog(hwnd_, result);
    else
        DestroyWindow(hwnd_);
}

bool Dialog::OnCommand(int id, int, HWND) {
    if (id != IDOK && id != IDCANCEL) return false;
    End(id);
    return true;
}

bool Dialog::OnNotify(const NMHDR&, LRESULT&) { return false; }

bool Dialog::HandleMessage(UINT, WPARAM, LPARAM, INT_PTR&) { return false; }

INT_PTR Dialog::Dispatch(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_INITDIALOG: {
        if (CentreOnOwner()) {
            RECT r{};
            GetWindowRect(hwnd_, &r);
            RECT at = CentredRect(GetWindow(hwnd_, GW_OWNER), r.right - r.left, r.bottom - r.top);
            SetWindowPos(hwnd_, nullptr, at.left, at.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        return OnInit() ? TRUE : FALSE;
    }
    case WM_COMMAND: return OnCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp)) ? TRUE : FALSE;
    case WM_NOTIFY: {
        LRESULT result = 0;
        if (!OnNotify(*reinterpret_cast<const NMHDR*>(lp), result)) return FALSE;
        SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, result);
        return TRUE;
    }
    default: {
        INT_PTR result = FALSE;
        return HandleMessage(msg, wp, lp, result) ? result : FALSE;
    }
    }
}

INT_PTR CALLBACK Dialog::Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_INITDIALOG) {
        auto* self = reinterpret_cast<Dialog*>(lp);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, DWLP_USER, lp);
    }
    auto* self = reinterpret_cast<Dialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    if (!self) return FALSE;
    return self->Deliver<INT_PTR>(hwnd, msg, wp, DWLP_USER, FALSE, [&] { return self->Dispatch(msg, wp, lp); });
}

}  // namespace quibex
