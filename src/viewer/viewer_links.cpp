// The link pointer while the mouse is over a link of a text box, and
// opening the link a left click lands on. The text views find and mark the
// links (text_view/); this reads their tables.
#include <windows.h>

#include <windowsx.h>

#include <utility>

#include "actions/action_messages.h"
#include "core/app_state.h"
#include "core/lazy_shell.h"
#include "core/message_box.h"
#include "core/window_base.h"
#include "viewer/text_view/link_guard.h"
#include "viewer/text_view/link_scanner.h"
#include "viewer/viewer_form.h"
#include "viewer/viewer_texts.h"

namespace quibex {
namespace {

// The marked run around the pointer, or nothing.
std::optional<LinkRange> RunUnder(ViewerForm& f, HWND box, POINT p) {
    int tab = f.tabs.TabOf(box);
    const LinkTable* table = LinksOf(f, tab);
    if (!table || table->Empty()) return std::nullopt;
    f.linkPointer.scanPos = f.tabs.views[static_cast<size_t>(tab)]->CharAt(p);
    return table->RunAt(f.linkPointer.scanPos);
}

// The link pointer while the pointer is over a link, the box's own
// elsewhere; the box is asked for its pointer again when that changes.
void OnMouseMove(ViewerForm& f, HWND box, POINT p) {
    if (f.linkPointer.failed) return;
    bool over = false;
    // Once failed, the test stays off rather than failing on every move.
    f.linkPointer.failed = WithLinkErrorExit(kLinkPointerFailed, [&] { over = RunUnder(f, box, p).has_value(); });
    if (over == (f.linkPointer.box == box)) return;
    f.linkPointer.box = over ? box : nullptr;
    SendMessageW(box, WM_SETCURSOR, reinterpret_cast<WPARAM>(box), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

// A click opens the link when the button went down and came up on the same
// one: a selection dragged onto a link opens nothing. The link opens once
// the box has finished with the click (it holds the mouse until then).
void OnLeftButtonUp(ViewerForm& f, HWND box, POINT p) {
    WithLinkErrorExit(kLinkOpenFailed, [&] {
        std::optional<LinkRange> pressed = std::exchange(f.linkPointer.pressed, std::nullopt);
        if (f.linkPointer.box != box) return;
        std::optional<LinkRange> run = RunUnder(f, box, p);
        if (!run || !pressed || pressed->start != run->start || pressed->end != run->end) return;
        std::wstring link = f.tabs.views[static_cast<size_t>(f.tabs.TabOf(box))]->TextBetween(run->start, run->end);
        size_t first = link.find_first_not_of(L' '), last = link.find_last_not_of(L' ');
        f.linkPointer.pending = first == std::wstring::npos ? L"" : link.substr(first, last - first + 1);
        if (!f.linkPointer.pending.empty()) PostMessageW(f.hwnd(), kMsgOpenLink, 0, 0);
    });
}

bool LinkMouse(HWND box, UINT msg, WPARAM, LPARAM lp, DWORD_PTR, LRESULT& result) {
    ViewerForm* f = Form();
    if (!f || AppSettings().HiperLink == 0) return false;
    const POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    switch (msg) {
    case WM_MOUSEMOVE: OnMouseMove(*f, box, p); break;
    case WM_SETCURSOR:
        if (f->linkPointer.box == box && LOWORD(lp) == HTCLIENT) {
            SetCursor(LoadCursorW(nullptr, IDC_HAND));
            result = TRUE;
            return true;
        }
        break;
    // The pointer is tested where the button goes down and comes up too, not
    // only where the mouse last moved: a move may not have been seen.
    case WM_LBUTTONDOWN:
        OnMouseMove(*f, box, p);
        f->linkPointer.pressed = f->linkPointer.box == box ? RunUnder(*f, box, p) : std::nullopt;
        break;
    case WM_LBUTTONUP:
        OnMouseMove(*f, box, p);
        OnLeftButtonUp(*f, box, p);
        break;
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        // Another button opens nothing and gives the box its own pointer back.
        if (f->linkPointer.box == box) {
            f->linkPointer.box = nullptr;
            SendMessageW(box, WM_SETCURSOR, reinterpret_cast<WPARAM>(box), MAKELPARAM(HTCLIENT, msg));
        }
        break;
    default: break;
    }
    return false;  // the box handles the mouse as always
}

}  // namespace

const LinkTable* LinksOf(ViewerForm& f, int index) {
    return f.tabs.Has(index) ? f.tabs.views[static_cast<size_t>(index)]->Links() : nullptr;
}

void WatchLinks(HWND box) { FilterMessages(box, LinkMouse); }

void OpenPendingLink(ViewerForm& f) {
    std::wstring link = std::exchange(f.linkPointer.pending, std::wstring());
    if (link.empty()) return;
    WithLinkErrorExit(kLinkOpenFailed, [&] {
        if (AppSettings().HiperLinkConfirm == 1 && ShowMessage(kAskOpenLink, MB_YESNO | MB_ICONQUESTION) != IDYES)
            return;
        std::wstring target = LinkTarget(link);
        SHELLEXECUTEINFOW run{};
        run.cbSize = sizeof run;
        // Failures are told here, in words, not by the shell.
        run.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
        run.hwnd = GetDesktopWindow();
        run.lpVerb = L"open";
        run.lpFile = target.c_str();
        run.nShow = SW_SHOWNORMAL;
        if (lazy::ShellExecuteExW(&run)) return;
        const auto code = reinterpret_cast<INT_PTR>(run.hInstApp);
        ShowMessage(code == SE_ERR_NOASSOC ? action_text::NoAssociation(target) : action_text::LaunchFailed(target),
                    MB_OK | MB_ICONERROR);
    });
}

}  // namespace quibex
