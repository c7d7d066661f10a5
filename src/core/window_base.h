// The one pattern for the program's own windows and dialogs: the object is
// attached to its window at WM_NCCREATE / WM_INITDIALOG and found again
// through GWLP_USERDATA (DWLP_USER for dialogs); the procedure only forwards;
// no C++ exception crosses into Windows; activation is reported in one place,
// so every window becomes the owner of message boxes when the user activates
// it; dialogs are centred over their owner once.
#pragma once

#include <windows.h>

namespace quibex {

// Told of every window built on these bases that becomes active.
using ActivationObserver = void (*)(HWND);
void SetActivationObserver(ActivationObserver observer);
void ReportActivation(HWND hwnd);

// Runs `handler`; an exception that escapes it becomes `fallback`.
template <class R, class F>
R Guarded(R fallback, F&& handler) noexcept {
    try {
        return handler();
    } catch (...) {
        return fallback;
    }
}

// The rectangle a window of size w×h gets centred over `owner` (its work area
// when it has none or is hidden or minimised), kept on that monitor's work area.
RECT CentredRect(HWND owner, int w, int h);

// Lets `filter` see a control's messages first (a subclass of the control);
// it returns true when it answered one, with the result. What it leaves goes
// on to the control. A filter is guarded like a window procedure and goes
// away with the control. One filter function once per control.
using MessageFilter = bool (*)(HWND control, UINT msg, WPARAM wp, LPARAM lp, DWORD_PTR data, LRESULT& result);
bool FilterMessages(HWND control, MessageFilter filter, DWORD_PTR data = 0);

// What the two bases share: the handle, the end of the window, and the
// delivery of one message (guarded, activation reported, the object detached
// after the window's last message).
class WindowObject {
public:
    WindowObject() = default;
    WindowObject(const WindowObject&) = delete;
    WindowObject& operator=(const WindowObject&) = delete;
    virtual ~WindowObject() = default;

    HWND hwnd() const { return hwnd_; }

protected:
    // The window is gone; an object its window owns may delete itself here.
    virtual void OnDestroyed() {}

    template <class R, class F>
    R Deliver(HWND hwnd, UINT msg, WPARAM wp, int slot, R fallback, F&& handler) {
        if (msg == WM_ACTIVATE && LOWORD(wp) != WA_INACTIVE) ReportActivation(hwnd);
        R result = Guarded<R>(fallback, handler);
        if (msg == WM_NCDESTROY) {
            SetWindowLongPtrW(hwnd, slot, 0);
            hwnd_ = nullptr;
            Guarded<int>(0, [this] {
                OnDestroyed();
                return 0;
            });
        }
        return result;
    }

    HWND hwnd_ = nullptr;
};

class Window : public WindowObject {
public:
    struct Class {
        const wchar_t* name;
        UINT style = 0;
        HCURSOR cursor = nullptr;  // nullptr: the arrow
        HBRUSH background = nullptr;
        HICON icon = nullptr;
    };

    Window() = default;
    // Detaches first, so the window's last messages never reach a half-destroyed object.
    ~Window() override;

    // The object of a window made through Create; only for windows of a class
    // the caller knows to be built on this base.
    static Window* Of(HWND hwnd);

protected:
    // Registers `cls` once and creates the window with this object attached.
    bool Create(const Class& cls, DWORD exStyle, const wchar_t* title, DWORD style, int x, int y, int w, int h,
                HWND parent, int id = 0);
    // Every message; the switch in an override only unpacks parameters.
    virtual LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) { return Default(msg, wp, lp); }
    LRESULT Default(UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcW(hwnd_, msg, wp, lp); }

private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
};

class Dialog : public WindowObject {
public:
    Dialog() = default;
    ~Dialog() override;

    // The dialog of template `templateId` modal over `owner`; returns what End was given.
    INT_PTR RunModal(int templateId, HWND owner);
    // The dialog modeless over `owner`, shown; false when it could not be made.
    bool CreateModeless(int templateId, HWND owner);
    HWND Item(int id) const { return GetDlgItem(hwnd_, id); }
    // Ends a modal dialog with `result`, destroys a modeless one.
    void End(INT_PTR result);

protected:
    // True lets the dialog manager set the focus.
    virtual bool OnInit() { return true; }
    // True when handled. The default ends the dialog on OK and Cancel (Esc, close box).
    virtual bool OnCommand(int id, int code, HWND control);
    virtual bool OnNotify(const NMHDR& hdr, LRESULT& result);
    // Any other message; true when handled, with the procedure's result.
    virtual bool HandleMessage(UINT msg, WPARAM wp, LPARAM lp, INT_PTR& result);
    // False when the dialog places itself.
    virtual bool CentreOnOwner() const { return true; }

private:
    static INT_PTR CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    INT_PTR Dispatch(UINT msg, WPARAM wp, LPARAM lp);
    bool modal_ = false;
};

}  // namespace quibex
