// Links in the viewer's texts: marking them in a rich-edit box as its text
// arrives, the link pointer while the mouse is over one, and opening the
// link a left click lands on.
//
// Links are kept as ranges (viewer/link_table.h) rather than as a flag in a
// hidden copy of each box: colouring them moves the box's selection only
// while the box does not draw, and the pointer test reads the table, so the
// selection and the caret the reader sees never move.
#include <windows.h>

#include <richedit.h>
#include <windowsx.h>

#include <algorithm>
#include <new>
#include <utility>

#include "actions/action_messages.h"
#include "core/app_state.h"
#include "core/lazy_shell.h"
#include "core/message_box.h"
#include "core/window_base.h"
#include "viewer/large_text_view.h"
#include "viewer/viewer_form.h"
#include "viewer/viewer_texts.h"

namespace quibex {
namespace {

// The error exit of one handler: what went wrong, where, and the request
// to report it.
void ShowLinkFailure(const wchar_t* handlerLine, bool outOfMemory) {
    ShowMessage(LinkFailureText(outOfMemory ? kErrorOutOfMemory : kErrorUnexpected, handlerLine), MB_OK | MB_ICONERROR);
}

// Runs a handler's body; true when it failed (and said so).
template <class F>
bool WithErrorExit(const wchar_t* handlerLine, F&& body) {
    try {
        body();
        return false;
    } catch (const std::bad_alloc&) {
        ShowLinkFailure(handlerLine, true);
    } catch (...) {
        ShowLinkFailure(handlerLine, false);
    }
    return true;
}

int TabOf(const ViewerForm& f, HWND box) {
    for (size_t i = 0; i < f.txtView.size(); ++i)
        if (f.txtView[i] == box) return static_cast<int>(i);
    return -1;
}

std::wstring TextRange(HWND box, size_t from, size_t to) {
    std::wstring text(to - from + 1, L'\0');
    TEXTRANGEW range{{static_cast<LONG>(from), static_cast<LONG>(to)}, text.data()};
    auto got = static_cast<size_t>(SendMessageW(box, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range)));
    text.resize(std::min(got, to - from));
    return text;
}

void ColourNewLinks(HWND box, TabLinks& links) {
    if (links.coloured == links.table.Count()) return;
    FormatKeepingView(box, [&] {
        for (; links.coloured < links.table.Count(); ++links.coloured) {
            const LinkRange& link = links.table[links.coloured];
            ColourRange(box, static_cast<LONG>(link.start), static_cast<LONG>(link.end - link.start),
                        link.mail ? kMailLinkColour : kUrlLinkColour);
        }
    });
}

// A failed marking leaves the text as it was before, no link and no
// colour, and the tab is not scanned again.
void Unmark(ViewerForm& f, int index) {
    auto& links = f.links[static_cast<size_t>(index)];
    if (!links) return;
    links->finder.Stop();
    HWND box = f.txtView[static_cast<size_t>(index)];
    const int32_t colour = AppSettings().TextColor;
    FormatKeepingView(box, [&] {
        for (size_t k = 0; k < links->coloured; ++k) {
            const LinkRange& link = links->table[k];
            CHARRANGE range{static_cast<LONG>(link.start), static_cast<LONG>(link.end)};
            SendMessageW(box, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
            CHARFORMAT2W cf{};
            cf.cbSize = sizeof cf;
            cf.dwMask = CFM_COLOR;
            cf.dwEffects = IsDefaultTextColour(colour) ? CFE_AUTOCOLOR : 0;
            cf.crTextColor = ResolveColour(colour);
            SendMessageW(box, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
        }
    });
    links->table.Clear();
    links->coloured = 0;
    std::wstring().swap(links->text);
}

// The character under the pointer: the box answers with the nearest
// character boundary, which lies right of the pointer when the pointer is
// on the right half of a character. The whole answer counts: a text may be
// longer than the 65,535 characters of its low word.
size_t CharUnder(HWND box, POINT p) {
    POINTL at{p.x, p.y};
    LRESULT nearest = SendMessageW(box, EM_CHARFROMPOS, 0, reinterpret_cast<LPARAM>(&at));
    if (nearest <= 0) return 0;
    auto pos = static_cast<size_t>(nearest);
    POINTL here{}, before{};
    SendMessageW(box, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&here), static_cast<LPARAM>(pos));
    SendMessageW(box, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&before), static_cast<LPARAM>(pos - 1));
    if (here.x > p.x && before.y == here.y) --pos;
    return pos;
}

// The marked run around the pointer, or nothing.
std::optional<LinkRange> RunUnder(ViewerForm& f, HWND box, POINT p) {
    const LinkTable* table = LinksOf(f, TabOf(f, box));
    if (!table || table->Empty()) return std::nullopt;
    f.linkScanPos = CharUnder(box, p);
    return table->RunAt(f.linkScanPos);
}

// The link pointer while the pointer is over a link, the box's own
// elsewhere; the box is asked for its pointer again when that changes.
void OnMouseMove(ViewerForm& f, HWND box, POINT p) {
    if (f.linkPointerFailed) return;
    bool over = false;
    // Once failed, the test stays off rather than failing on every move.
    f.linkPointerFailed = WithErrorExit(kLinkPointerFailed, [&] { over = RunUnder(f, box, p).has_value(); });
    if (over == (f.linkPointerBox == box)) return;
    f.linkPointerBox = over ? box : nullptr;
    SendMessageW(box, WM_SETCURSOR, reinterpret_cast<WPARAM>(box), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

// A click opens the link when the button went down and came up on the same
// one: a selection dragged onto a link opens nothing. The link opens once
// the box has finished with the click (it holds the mouse until then).
void OnLeftButtonUp(ViewerForm& f, HWND box, POINT p) {
    WithErrorExit(kLinkOpenFailed, [&] {
        std::optional<LinkRange> pressed = std::exchange(f.pressedLink, std::nullopt);
        if (f.linkPointerBox != box) return;
        std::optional<LinkRange> run = RunUnder(f, box, p);
        if (!run || !pressed || pressed->start != run->start || pressed->end != run->end) return;
        std::wstring link = TextRange(box, run->start, run->end);
        size_t first = link.find_first_not_of(L' '), last = link.find_last_not_of(L' ');
        f.pendingLink = first == std::wstring::npos ? L"" : link.substr(first, last - first + 1);
        if (!f.pendingLink.empty()) PostMessageW(f.hwnd(), kMsgOpenLink, 0, 0);
    });
}

bool LinkMouse(HWND box, UINT msg, WPARAM, LPARAM lp, DWORD_PTR, LRESULT& result) {
    ViewerForm* f = Form();
    if (!f || AppSettings().HiperLink == 0) return false;
    const POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    switch (msg) {
    case WM_MOUSEMOVE: OnMouseMove(*f, box, p); break;
    case WM_SETCURSOR:
        if (f->linkPointerBox == box && LOWORD(lp) == HTCLIENT) {
            SetCursor(LoadCursorW(nullptr, IDC_HAND));
            result = TRUE;
            return true;
        }
        break;
    // The pointer is tested where the button goes down and comes up too, not
    // only where the mouse last moved: a move may not have been seen.
    case WM_LBUTTONDOWN:
        OnMouseMove(*f, box, p);
        f->pressedLink = f->linkPointerBox == box ? RunUnder(*f, box, p) : std::nullopt;
        break;
    case WM_LBUTTONUP:
        OnMouseMove(*f, box, p);
        OnLeftButtonUp(*f, box, p);
        break;
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        // Another button opens nothing and gives the box its own pointer back.
        if (f->linkPointerBox == box) {
            f->linkPointerBox = nullptr;
            SendMessageW(box, WM_SETCURSOR, reinterpret_cast<WPARAM>(box), MAKELPARAM(HTCLIENT, msg));
        }
        break;
    default: break;
    }
    return false;  // the box handles the mouse as always
}

}  // namespace

const LinkTable* LinksOf(ViewerForm& f, int index) {
    if (index < 0 || static_cast<size_t>(index) >= f.txtView.size()) return nullptr;
    HWND box = f.txtView[static_cast<size_t>(index)];
    if (IsLargeTextView(box)) return LargeTextLinks(box);
    if (static_cast<size_t>(index) >= f.links.size() || !f.links[static_cast<size_t>(index)]) return nullptr;
    return &f.links[static_cast<size_t>(index)]->table;
}

void MarkLinks(ViewerForm& f, int index) {
    const uint64_t limit = LinkScanLimit(AppSettings().HiperLink);
    auto i = static_cast<size_t>(index);
    if (limit == 0 || i >= f.txtView.size() || IsLargeTextView(f.txtView[i])) return;
    if (f.links.size() <= i) f.links.resize(f.txtView.size());
    if (!f.links[i]) f.links[i] = std::make_unique<TabLinks>(limit);
    TabLinks& links = *f.links[i];
    if (links.finder.Done()) return;
    const bool failed = WithErrorExit(kLinkMarkFailed, [&] {
        HWND box = f.txtView[i];
        auto length = static_cast<size_t>(std::max<LONG>(TextLength(box), 0));
        if (length > links.text.size()) links.text += TextRange(box, links.text.size(), length);
        links.finder.Advance(links.text.data(), links.text.size(), !TextPending(f, index), links.table);
        ColourNewLinks(box, links);
        // The copy was only for the scan; a click reads the box.
        if (links.finder.Done()) std::wstring().swap(links.text);
    });
    if (failed) Unmark(f, index);
}

void WatchLinks(HWND box) { FilterMessages(box, LinkMouse); }

void OpenPendingLink(ViewerForm& f) {
    std::wstring link = std::exchange(f.pendingLink, std::wstring());
    if (link.empty()) return;
    WithErrorExit(kLinkOpenFailed, [&] {
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
