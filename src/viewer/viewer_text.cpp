// Text boxes of the viewer and loading a text into one.
//
// A text of ordinary size goes into its rich-edit box page by page
// (text_window.h): the first page shows at once, and with "TextLoadMode" 1
// the rest comes from the message loop, one page per timer tick (timers wait
// for input and painting), so the window stays responsive. A larger text
// would cost the rich-edit box many times its size in memory; its box is
// swapped for a large-text view (large_text_view.h), which holds about two
// bytes per character.
#include <windows.h>

#include <commctrl.h>
#include <richedit.h>

#include <algorithm>

#include "core/app_state.h"
#include "search/box_find.h"
#include "viewer/large_text_view.h"
#include "viewer/text_file.h"
#include "viewer/viewer_form.h"
#include "viewer/viewer_texts.h"

namespace quibex {
namespace {

constexpr int kFirstBoxId = 1000;
// Texts up to this size go into a rich-edit box, larger ones into a large-text view.
constexpr uint64_t kRichEditMaxBytes = 512 * 1024;
constexpr UINT kProgressMs = 250;

void ApplyTextColour(HWND box, LONG from) {
    int32_t colour = AppSettings().TextColor;
    if (IsDefaultTextColour(colour)) return;
    ColourRange(box, from, -1, ResolveColour(colour));
}

void SetTabStop(HWND box, bool on) {
    LONG_PTR style = GetWindowLongPtrW(box, GWL_STYLE);
    SetWindowLongPtrW(box, GWL_STYLE, on ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP)));
}

// Background, font and size of a text box of either kind.
void StyleTextBox(HWND box) {
    const Settings& s = AppSettings();
    SendMessageW(box, EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
    SendMessageW(box, EM_SETUNDOLIMIT, 0, 0);  // nothing is ever edited
    SendMessageW(box, EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(ResolveColour(s.BackColor)));
    CHARFORMAT2W cf{};
    cf.cbSize = sizeof cf;
    cf.dwMask = CFM_FACE | CFM_SIZE | CFM_CHARSET | CFM_COLOR;
    cf.dwEffects = CFE_AUTOCOLOR;
    cf.yHeight = s.FontSize * 20;
    cf.bCharSet = SHIFTJIS_CHARSET;
    wcsncpy(cf.szFaceName, s.FontName.c_str(), LF_FACESIZE - 1);
    SendMessageW(box, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&cf));
    SendMessageW(box, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&cf));
    SendMessageW(box, EM_SETOPTIONS, ECOOP_OR, ECO_SELECTIONBAR);
    RestoreStatusTextOverControl(box);
    RouteViewerKeys(box, 1);
    WatchLinks(box);
}

// Puts a large-text view in the place of tab i's rich-edit box: same
// position, size, id, visibility, focus and place among its siblings.
HWND SwapForLargeView(ViewerForm& f, size_t i) {
    HWND old = f.txtView[i];
    RECT rc{};
    GetWindowRect(old, &rc);
    MapWindowPoints(nullptr, f.frame1, reinterpret_cast<POINT*>(&rc), 2);
    HWND view = CreateLargeTextView(f.frame1, GetDlgCtrlID(old), rc);
    if (!view) return old;
    StyleTextBox(view);
    LONG_PTR style = GetWindowLongPtrW(old, GWL_STYLE);
    SetWindowLongPtrW(view, GWL_STYLE, GetWindowLongPtrW(view, GWL_STYLE) | (style & WS_TABSTOP));
    SetWindowPos(view, old, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | ((style & WS_VISIBLE) ? SWP_SHOWWINDOW : 0));
    bool focused = GetFocus() == old;
    f.txtView[i] = view;
    DestroyWindow(old);
    if (focused) SetFocus(view);
    return view;
}

}  // namespace

LONG TextLength(HWND box) {
    GETTEXTLENGTHEX q{GTL_NUMCHARS | GTL_PRECISE, 1200};
    return static_cast<LONG>(SendMessageW(box, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&q), 0));
}

// The control does not scroll while it does not draw; the first visible
// line is put back once it draws again.
void FormatKeepingView(HWND box, const std::function<void()>& format) {
    CHARRANGE sel{};
    SendMessageW(box, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&sel));
    auto firstLine = static_cast<LONG>(SendMessageW(box, EM_GETFIRSTVISIBLELINE, 0, 0));
    SendMessageW(box, WM_SETREDRAW, FALSE, 0);
    format();
    SendMessageW(box, WM_SETREDRAW, TRUE, 0);
    SendMessageW(box, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&sel));
    auto now = static_cast<LONG>(SendMessageW(box, EM_GETFIRSTVISIBLELINE, 0, 0));
    if (now != firstLine) SendMessageW(box, EM_LINESCROLL, 0, firstLine - now);
    InvalidateRect(box, nullptr, FALSE);
}

COLORREF ResolveColour(int32_t value) {
    auto v = static_cast<uint32_t>(value);
    if (v >= 0x80000000u) return GetSysColor(static_cast<int>(v & 0xFF));
    return static_cast<COLORREF>(v);
}

bool IsDefaultTextColour(int32_t value) { return static_cast<uint32_t>(value) == 0x80000008u; }

HWND CreateTextBox(ViewerForm& f, int index) {
    RECT frame{};
    GetClientRect(f.frame1, &frame);
    HWND box = CreateWindowExW(
        0, MSFTEDIT_CLASS, L"", WS_CHILD | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_NOOLEDRAGDROP | ES_AUTOVSCROLL,
        0, 0, frame.right, frame.bottom, f.frame1, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstBoxId + index)),
        GetModuleHandleW(nullptr), nullptr);
    if (!box) return nullptr;
    StyleTextBox(box);
    FindWithTextRules(box);  // finds as the large-text view does
    if (f.txtView.size() <= static_cast<size_t>(index)) f.txtView.resize(static_cast<size_t>(index) + 1);
    f.txtView[static_cast<size_t>(index)] = box;
    if (f.windows.size() < f.txtView.size()) f.windows.resize(f.txtView.size());
    return box;
}

void SetBoxText(HWND box, const std::wstring& text) {
    SETTEXTEX st{ST_DEFAULT, 1200};
    SendMessageW(box, EM_SETTEXTEX, reinterpret_cast<WPARAM>(&st), reinterpret_cast<LPARAM>(text.c_str()));
}

void ColourRange(HWND box, LONG start, LONG length, COLORREF colour) {
    CHARRANGE range{start, length < 0 ? -1 : start + length};
    SendMessageW(box, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    CHARFORMAT2W cf{};
    cf.cbSize = sizeof cf;
    cf.dwMask = CFM_COLOR;
    cf.crTextColor = colour;
    SendMessageW(box, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
}

void LoadTabText(ViewerForm& f, int index, bool complete) {
    auto i = static_cast<size_t>(index);
    f.windows[i].reset();
    if (f.links.size() <= i) f.links.resize(f.txtView.size());
    f.links[i].reset();
    const std::wstring& path = f.tabFiles[i].Path;
    HWND box = f.txtView[i];
    if (TextFileSize(path) > kRichEditMaxBytes) {
        box = IsLargeTextView(box) ? box : SwapForLargeView(f, i);
        // The view marks the links itself as the text arrives, the screen's first.
        if (uint64_t limit = LinkScanLimit(AppSettings().HiperLink)) EnableLargeTextLinks(box, limit);
        // Colour and caret as for a rich-edit box below.
        if (LoadLargeText(box, path, complete)) ApplyTextColour(box, 0);
        if (LargeTextPending(box)) {
            SetTimer(f.hwnd(), kProgressTimer, kProgressMs, nullptr);
            ShowLoadingProgress(f);
        }
    } else if (HANDLE file = OpenTextFile(path); file == INVALID_HANDLE_VALUE) {
        SetBoxText(box, L"");
    } else {
        TextDecoder decoder = DecoderFor(file);
        auto window = std::make_unique<TextWindow>(box, file, decoder);
        window->LoadFirst();
        if (complete)
            while (window->FillStep()) {}
        ApplyTextColour(box, 0);
        if (window->Filling()) SetTimer(f.hwnd(), kLoadTimer + i, USER_TIMER_MINIMUM, nullptr);
        f.windows[i] = std::move(window);
        MarkLinks(f, index);
    }
    SendMessageW(box, EM_SETSEL, 0, 0);  // caret at the start
    if (index > 0) SetTabStop(box, false);
    f.tabFiles[i].Loaded = 1;
}

bool TextPending(ViewerForm& f, int index) {
    auto i = static_cast<size_t>(index);
    if (i >= f.txtView.size()) return false;
    return (i < f.windows.size() && f.windows[i] && f.windows[i]->Filling()) || LargeTextPending(f.txtView[i]);
}

void ContinueLoading(ViewerForm& f, int index) {
    auto i = static_cast<size_t>(index);
    if (i >= f.windows.size() || !f.windows[i]) return;
    HWND box = f.txtView[i];
    LONG end = TextLength(box);
    bool more = f.windows[i]->FillStep();
    FormatKeepingView(box, [&] { ApplyTextColour(box, end); });
    MarkLinks(f, index);
    if (!more) KillTimer(f.hwnd(), kLoadTimer + i);
}

void ShowLoadingProgress(ViewerForm& f) {
    auto sel = static_cast<size_t>(SendMessageW(f.tabStrip, TCM_GETCURSEL, 0, 0));
    int percent = sel < f.txtView.size() ? LargeTextProgress(f.txtView[sel]) : -1;
    std::wstring caption = ViewerCaption(f);
    if (percent >= 0) caption += kLoadingCaption + std::to_wstring(percent) + L"%";
    wchar_t shown[MAX_PATH + 64] = {};
    GetWindowTextW(f.hwnd(), shown, static_cast<int>(std::size(shown)));
    if (caption != shown) SetWindowTextW(f.hwnd(), caption.c_str());
    if (std::none_of(f.txtView.begin(), f.txtView.end(), LargeTextPending)) KillTimer(f.hwnd(), kProgressTimer);
}

void OnTabChanging(ViewerForm& f) {
    // The tab being left.
    f.selectedText = static_cast<int>(SendMessageW(f.tabStrip, TCM_GETCURSEL, 0, 0));
    if (f.selectedText < 0 || static_cast<size_t>(f.selectedText) >= f.txtView.size()) return;
    if (f.lastTabIndex > 0 && AppSettings().HighLightTab == 1)
        SendMessageW(f.tabStrip, TCM_HIGHLIGHTITEM, f.selectedText, FALSE);
    SetTabStop(f.txtView[static_cast<size_t>(f.selectedText)], false);
}

void OnTabChanged(ViewerForm& f) {
    // The tab being entered.
    int sel = static_cast<int>(SendMessageW(f.tabStrip, TCM_GETCURSEL, 0, 0));
    if (sel < 0 || static_cast<size_t>(sel) >= f.txtView.size()) return;
    f.selectedText = sel;
    const Settings& s = AppSettings();
    if (f.lastTabIndex >= 0 && s.TextLoadMode == 1 && f.tabFiles[static_cast<size_t>(sel)].Loaded == 0) {
        HCURSOR old = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        LoadTabText(f, sel, false);
        SetCursor(old);
    }
    HWND box = f.txtView[static_cast<size_t>(sel)];  // loading may have put a large-text view in its place
    SetWindowPos(box, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    for (HWND other : f.txtView)
        if (other != box) ShowWindow(other, SW_HIDE);
    SetTabStop(box, true);
    if (f.keySource < 2) SetFocus(box);
    if (f.lastTabIndex > 0 && s.HighLightTab == 1) SendMessageW(f.tabStrip, TCM_HIGHLIGHTITEM, sel, TRUE);
    ShowLoadingProgress(f);
    f.keySource = 0;
}

}  // namespace quibex
