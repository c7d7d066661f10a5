// The large-text view's window: loading in steps, layout, drawing, scrolling,
// the caret and the mouse and keys of a read-only text box.
#include "viewer/text_view/large_text_view.h"

#include <windowsx.h>

#include <algorithm>

#include "core/handle.h"
#include "core/settings.h"
#include "viewer/text_view/large_text_state.h"

namespace quibex {
namespace {

constexpr size_t kFirstStepBytes = 256 * 1024;  // a few screens, shown at once
constexpr size_t kStepBytes = 1024 * 1024;      // a few milliseconds of decoding
constexpr size_t kLayoutChars = 1024 * 1024;    // a few milliseconds of layout
constexpr size_t kScreenChars = 64 * 1024;      // more than a screen holds
constexpr size_t kRowChars = 1024;              // the layout step while a screen is filled
constexpr size_t kLayoutAtOnceChars = 4 * 1024 * 1024;
constexpr int kMinWrapWidth = 64;
constexpr DWORD kTurnMs = 40;
constexpr UINT_PTR kWorkTimer = 1;

int ClientWidth(HWND hwnd) {
    RECT rc{};
    GetClientRect(hwnd, &rc);
    return rc.right;
}

// Never narrower than a few characters: a view not sized yet (or squeezed to
// nothing) would otherwise make a row of every character.
int WrapWidth(HWND hwnd) { return std::max(ClientWidth(hwnd) - kLeftMargin - kRightMargin, kMinWrapWidth); }

// Nothing left to read or lay out (or no text at all yet).
bool Idle(const LargeTextView& v) { return !v.store.Data() || (v.store.Complete() && v.rows.Done()); }

// Links are marked as soon as their text has been read.
void ScanLinks(LargeTextView& v) {
    if (v.linkFinder && !v.linkFinder->Done()) v.linkFinder->Advance(v.Text(), v.Size(), v.store.Complete(), v.links);
}

// Reading and laying out go on from a timer rather than posted messages: a
// timer comes only when no input, painting or posted message waits, so the
// window answers while a large text is read or laid out again for a new
// width. Each turn works for a few tens of milliseconds, less when the user
// is doing something.
void WorkOn(LargeTextView& v) {
    DWORD start = GetTickCount();
    do {
        if (!v.store.Complete()) {
            v.store.LoadStep(kStepBytes);
            ScanLinks(v);
        }
        v.rows.Extend(*v.widths, v.Text(), v.Size(), v.store.Complete(), kLayoutChars);
    } while (!Idle(v) && GetTickCount() - start < kTurnMs && !GetInputState());
    if (Idle(v)) KillTimer(v.hwnd(), kWorkTimer);
    UpdateScrollBar(v);
    InvalidateRect(v.hwnd(), nullptr, FALSE);
}

void StartWork(LargeTextView& v) {
    if (!Idle(v)) SetTimer(v.hwnd(), kWorkTimer, USER_TIMER_MINIMUM, nullptr);
}

// Lays out the rows through `topChar` and a screenful after it. The first
// use of a character's width costs a font query, so a text still being
// read gets no more than the screen shows before it is painted.
void LayOutScreen(LargeTextView& v, size_t topChar) {
    auto enough = [&] { return v.rows.LaidOut() > topChar && v.rows.Count() > v.rows.RowOf(topChar) + VisibleRows(v); };
    while (!enough() && v.rows.Extend(*v.widths, v.Text(), v.Size(), v.store.Complete(), kRowChars)) {}
}

// Lays the text out again for a new width. The rows up to a screen past the
// first visible character come at once, so that it stays on the first row;
// the rest of a long text follows from the timer.
void Relayout(LargeTextView& v) {
    if (!v.widths) return;
    int width = WrapWidth(v.hwnd());
    if (width == v.rows.Width() && v.rows.Count() > 1) return;
    size_t topChar = v.rows.Start(std::min(v.top, v.rows.Count() - 1));
    v.rows.Reset(width);
    if (v.store.Complete()) {
        // A text of a few million characters is laid out at once (tens of ms).
        size_t now = v.Size() <= kLayoutAtOnceChars ? SIZE_MAX : topChar + kScreenChars;
        while (v.rows.LaidOut() <= now && v.rows.Extend(*v.widths, v.Text(), v.Size(), true, kScreenChars)) {}
    } else {
        LayOutScreen(v, topChar);
    }
    v.top = v.rows.RowOf(topChar);
    StartWork(v);
    UpdateScrollBar(v);
    InvalidateRect(v.hwnd(), nullptr, FALSE);
}

void PlaceCaret(LargeTextView& v) {
    if (GetFocus() != v.hwnd()) return;
    POINT p = PositionPoint(v, v.caret);
    SetCaretPos(p.x, p.y);
}

void DrawRow(LargeTextView& v, HDC dc, size_t row, int y, int right) {
    size_t start = v.rows.Start(row), end = v.rows.End(row, v.Size());
    RowPositions(*v.widths, v.Text(), start, end, v.xs);
    std::wstring glyphs(v.Text() + start, end - start);
    std::vector<INT> dx(glyphs.size());
    for (size_t i = 0; i < glyphs.size(); ++i) {
        if (glyphs[i] == L'\t' || glyphs[i] == L'\r') glyphs[i] = L' ';
        dx[i] = v.xs[i + 1] - v.xs[i];
    }
    RECT line{0, y, right, y + v.lineHeight};
    SetTextColor(dc, v.fore);
    SetBkColor(dc, v.back);
    ExtTextOutW(dc, kLeftMargin, y, ETO_OPAQUE | ETO_CLIPPED, &line, glyphs.data(), static_cast<UINT>(glyphs.size()),
                dx.data());
    // Links again in their colours, a later link over an earlier one.
    for (size_t k = v.links.FirstEndingAfter(start); k < v.links.Count() && v.links[k].start < end; ++k) {
        const LinkRange& link = v.links[k];
        size_t from = std::max(start, link.start), to = std::min(end, link.end);
        RECT part{kLeftMargin + v.xs[from - start], y, kLeftMargin + v.xs[to - start], y + v.lineHeight};
        SetTextColor(dc, link.mail ? kMailLinkColour : kUrlLinkColour);
        ExtTextOutW(dc, kLeftMargin, y, ETO_OPAQUE | ETO_CLIPPED, &part, glyphs.data(),
                    static_cast<UINT>(glyphs.size()), dx.data());
    }
    // The selected part again in the selection colours.
    size_t from = std::max(start, v.SelStart()), to = std::min(end, v.SelEnd());
    if (from >= to) return;
    RECT sel{kLeftMargin + v.xs[from - start], y, kLeftMargin + v.xs[to - start], y + v.lineHeight};
    if (to == end && end > start && v.Text()[end - 1] == L'\r') sel.right += v.widths->Width(L' ');
    SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
    SetBkColor(dc, GetSysColor(COLOR_HIGHLIGHT));
    ExtTextOutW(dc, kLeftMargin, y, ETO_OPAQUE | ETO_CLIPPED, &sel, glyphs.data(), static_cast<UINT>(glyphs.size()),
                dx.data());
}

void Paint(LargeTextView& v) {
    PAINTSTRUCT ps;
    HDC target = BeginPaint(v.hwnd(), &ps);
    RECT rc{};
    GetClientRect(v.hwnd(), &rc);
    // Drawn off screen first so that scrolling does not flicker.
    UniqueMemoryDc memory(CreateCompatibleDC(target));
    UniqueBitmap bitmap(CreateCompatibleBitmap(target, std::max<LONG>(rc.right, 1), std::max<LONG>(rc.bottom, 1)));
    HDC dc = memory.get();
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap.get());
    FillRect(dc, &rc, UniqueBrush(CreateSolidBrush(v.back)).get());
    if (v.widths) {
        HGDIOBJ oldFont = SelectObject(dc, v.font.get());
        int y = kTopMargin;
        for (size_t row = v.top; row < v.rows.Count() && y < rc.bottom; ++row, y += v.lineHeight)
            DrawRow(v, dc, row, y, rc.right);
        SelectObject(dc, oldFont);
    }
    BitBlt(target, 0, 0, rc.right, rc.bottom, dc, 0, 0, SRCCOPY);
    SelectObject(dc, oldBitmap);
    EndPaint(v.hwnd(), &ps);
}

void OnVScroll(LargeTextView& v, int code) {
    size_t page = std::max<size_t>(VisibleRows(v), 1);
    switch (code) {
    case SB_LINEUP: ScrollTo(v, v.top > 0 ? v.top - 1 : 0); break;
    case SB_LINEDOWN: ScrollTo(v, v.top + 1); break;
    case SB_PAGEUP: ScrollTo(v, v.top > page ? v.top - page : 0); break;
    case SB_PAGEDOWN: ScrollTo(v, v.top + page); break;
    case SB_TOP: ScrollTo(v, 0); break;
    case SB_BOTTOM: ScrollTo(v, v.rows.Count()); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        SCROLLINFO si{};
        si.cbSize = sizeof si;
        si.fMask = SIF_TRACKPOS;
        GetScrollInfo(v.hwnd(), SB_VERT, &si);
        ScrollTo(v, static_cast<size_t>(std::max(si.nTrackPos, 0)));
        break;
    }
    default: break;
    }
}

void OnKey(LargeTextView& v, WPARAM key) {
    bool shift = GetKeyState(VK_SHIFT) < 0, ctrl = GetKeyState(VK_CONTROL) < 0;
    size_t row = v.rows.RowOf(v.caret), page = std::max<size_t>(VisibleRows(v), 1);
    auto toRow = [&](size_t target) {
        target = std::min(target, v.rows.Count() - 1);
        if (v.caretX < 0) v.caretX = PositionPoint(v, v.caret).x - kLeftMargin;
        int keepX = v.caretX;
        size_t start = v.rows.Start(target), end = v.rows.End(target, v.Size());
        MoveCaret(v, PositionAtX(*v.widths, v.Text(), start, end, keepX), shift);
        v.caretX = keepX;
    };
    switch (key) {
    case VK_UP: toRow(row > 0 ? row - 1 : 0); break;
    case VK_DOWN: toRow(row + 1); break;
    case VK_PRIOR:
        ScrollTo(v, v.top > page ? v.top - page : 0);
        toRow(row > page ? row - page : 0);
        break;
    case VK_NEXT:
        ScrollTo(v, v.top + page);
        toRow(row + page);
        break;
    case VK_LEFT: MoveCaret(v, v.caret > 0 ? v.caret - 1 : 0, shift); break;
    case VK_RIGHT: MoveCaret(v, std::min(v.caret + 1, v.Size()), shift); break;
    case VK_HOME: MoveCaret(v, ctrl ? 0 : v.rows.Start(row), shift); break;
    case VK_END:
        if (ctrl) {
            MoveCaret(v, v.Size(), shift);
        } else {
            size_t end = v.rows.End(row, v.Size());
            MoveCaret(v, end > v.rows.Start(row) && v.Text()[end - 1] == L'\r' ? end - 1 : end, shift);
        }
        break;
    case 'A':
        if (ctrl) {
            v.anchor = 0;
            MoveCaret(v, v.Size(), true);
        }
        break;
    case 'C':
    case VK_INSERT:
        if (ctrl) CopySelection(v);
        break;
    default: break;
    }
}

LRESULT ViewMessage(LargeTextView* v, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT result = 0;
    if (HandleEditMessage(*v, msg, wp, lp, result)) return result;
    switch (msg) {
    case WM_PAINT: Paint(*v); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_SIZE:
        Relayout(*v);
        ScrollTo(*v, v->top);
        return 0;
    case WM_TIMER:
        if (wp == kWorkTimer) WorkOn(*v);
        return 0;
    case WM_VSCROLL: OnVScroll(*v, LOWORD(wp)); return 0;
    case WM_MOUSEWHEEL: {
        UINT lines = 3;
        SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
        v->wheelRest += GET_WHEEL_DELTA_WPARAM(wp);
        int notches = v->wheelRest / WHEEL_DELTA;
        v->wheelRest %= WHEEL_DELTA;
        long move =
            -static_cast<long>(notches) * static_cast<long>(lines == WHEEL_PAGESCROLL ? VisibleRows(*v) : lines);
        ScrollTo(*v, move < 0 && static_cast<size_t>(-move) > v->top ? 0 : v->top + move);
        return 0;
    }
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_KEYDOWN: OnKey(*v, wp); return 0;
    case WM_LBUTTONDBLCLK: {
        TextSpan word = WordAt(v->Text(), v->Size(), PointPosition(*v, {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}));
        v->anchor = word.from;
        MoveCaret(*v, word.to, true);
        return 0;
    }
    case WM_LBUTTONDOWN:
        SetFocus(hwnd);
        SetCapture(hwnd);
        v->dragging = true;
        MoveCaret(*v, PointPosition(*v, {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}), (wp & MK_SHIFT) != 0);
        return 0;
    case WM_MOUSEMOVE:
        if (v->dragging) {
            POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
            RECT rc{};
            GetClientRect(hwnd, &rc);
            // Dragging past the top or bottom edge scrolls a row at a time.
            if (p.y < 0) ScrollTo(*v, v->top > 0 ? v->top - 1 : 0);
            if (p.y >= rc.bottom) ScrollTo(*v, v->top + 1);
            MoveCaret(*v, PointPosition(*v, p), true);
        }
        break;  // the parent may want to hear of it too
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
        if (v->dragging) {
            v->dragging = false;
            if (msg == WM_LBUTTONUP) ReleaseCapture();
        }
        return 0;
    case WM_SETFOCUS:
        CreateCaret(hwnd, nullptr, 1, v->lineHeight);
        PlaceCaret(*v);
        ShowCaret(hwnd);
        return 0;
    case WM_KILLFOCUS: DestroyCaret(); return 0;
    case WM_SETCURSOR:
        if (LOWORD(lp) == HTCLIENT) {
            SetCursor(LoadCursorW(nullptr, IDC_IBEAM));
            return TRUE;
        }
        break;
    default: break;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

LRESULT LargeTextView::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) { return ViewMessage(this, hwnd(), msg, wp, lp); }

bool LargeTextView::Make(HWND parent, int id, const RECT& rect) {
    return Create({kLargeTextClass, CS_DBLCLKS, LoadCursorW(nullptr, IDC_IBEAM)}, 0, L"", WS_CHILD | WS_VSCROLL,
                  rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, parent, id);
}

LargeTextView* ViewOf(HWND hwnd) {
    return IsLargeTextView(hwnd) ? static_cast<LargeTextView*>(Window::Of(hwnd)) : nullptr;
}

FontGlyphWidths::FontGlyphWidths(HFONT font) : dc_(CreateCompatibleDC(nullptr)), old_(SelectObject(dc_.get(), font)) {
    SIZE size{};
    GetTextExtentPoint32W(dc_.get(), L"\x3042", 1, &size);
    wide_ = size.cx;
    GetTextExtentPoint32W(dc_.get(), L"0", 1, &size);
    SetTabWidth(size.cx * 8);  // tab stops every eight half-width characters
}

FontGlyphWidths::~FontGlyphWidths() { SelectObject(dc_.get(), old_); }

void FontGlyphWidths::FillBlock(unsigned block, int32_t* out) {
    unsigned first = block << kBlockShift;
    if (first >= 0xD800 && first <= 0xDFFF) {
        // A high surrogate stands for its pair, drawn about a full width wide.
        std::fill(out, out + kBlockChars, first < 0xDC00 ? wide_ : 0);
        return;
    }
    INT widths[kBlockChars];
    if (!GetCharWidth32W(dc_.get(), first, first + kBlockChars - 1, widths))
        std::fill(std::begin(widths), std::end(widths), wide_);
    std::copy(std::begin(widths), std::end(widths), out);
}

size_t VisibleRows(const LargeTextView& v) {
    RECT rc{};
    GetClientRect(v.hwnd(), &rc);
    return static_cast<size_t>(std::max<LONG>(rc.bottom - kTopMargin, 0) / v.lineHeight);
}

// The last row may come up to the bottom of the view, not above it.
void ScrollTo(LargeTextView& v, size_t row) {
    size_t visible = VisibleRows(v), count = v.rows.Count();
    size_t last = count > visible ? count - visible : 0;
    row = std::min(row, last);
    if (row == v.top) return;
    v.top = row;
    UpdateScrollBar(v);
    InvalidateRect(v.hwnd(), nullptr, FALSE);
    PlaceCaret(v);
}

void ShowCaretRow(LargeTextView& v) {
    size_t row = v.rows.RowOf(v.caret), visible = std::max<size_t>(VisibleRows(v), 1);
    if (row < v.top)
        ScrollTo(v, row);
    else if (row >= v.top + visible)
        ScrollTo(v, row - visible + 1);
}

void MoveCaret(LargeTextView& v, size_t pos, bool extend) {
    pos = std::min(pos, v.Size());
    // Never between the halves of a surrogate pair.
    if (pos > 0 && pos < v.Size() && v.Text()[pos] >= 0xDC00 && v.Text()[pos] <= 0xDFFF) pos += pos > v.caret ? 1 : -1;
    if (!extend) v.anchor = pos;
    v.caret = pos;
    v.caretX = -1;
    ShowCaretRow(v);
    InvalidateRect(v.hwnd(), nullptr, FALSE);
    PlaceCaret(v);
}

void UpdateScrollBar(LargeTextView& v) {
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    si.nMin = 0;
    si.nMax = static_cast<int>(std::min<size_t>(v.rows.Count(), INT_MAX) - 1);
    si.nPage = static_cast<UINT>(VisibleRows(v));
    si.nPos = static_cast<int>(std::min<size_t>(v.top, INT_MAX));
    SetScrollInfo(v.hwnd(), SB_VERT, &si, TRUE);
}

void SetViewFont(LargeTextView& v, const wchar_t* face, int twips) {
    HDC screen = GetDC(nullptr);
    int height = -MulDiv(twips, GetDeviceCaps(screen, LOGPIXELSY), 1440);
    ReleaseDC(nullptr, screen);
    LOGFONTW lf{};
    lf.lfHeight = height;
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = SHIFTJIS_CHARSET;
    wcsncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    UniqueFont font(CreateFontIndirectW(&lf));
    if (!font) return;
    v.widths = std::make_unique<FontGlyphWidths>(font.get());
    v.font = std::move(font);
    HDC dc = GetDC(v.hwnd());
    HGDIOBJ old = SelectObject(dc, v.font.get());
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(v.hwnd(), dc);
    v.lineHeight = std::max<int>(tm.tmHeight + tm.tmExternalLeading, 1);
    v.rows.Reset(0);  // forces the layout below
    Relayout(v);
    if (GetFocus() == v.hwnd()) {
        DestroyCaret();
        CreateCaret(v.hwnd(), nullptr, 1, v.lineHeight);
        PlaceCaret(v);
        ShowCaret(v.hwnd());
    }
}

POINT PositionPoint(LargeTextView& v, size_t pos) {
    size_t row = v.rows.RowOf(pos);
    size_t start = v.rows.Start(row), end = v.rows.End(row, v.Size());
    RowPositions(*v.widths, v.Text(), start, std::min(std::max(pos, start), end), v.xs);
    long y = (static_cast<long>(row) - static_cast<long>(v.top)) * v.lineHeight + kTopMargin;
    return POINT{kLeftMargin + v.xs.back(), y};
}

size_t PointPosition(LargeTextView& v, POINT p) {
    long row = static_cast<long>(v.top) + (p.y - kTopMargin) / v.lineHeight - (p.y < kTopMargin ? 1 : 0);
    row = std::clamp<long>(row, 0, static_cast<long>(v.rows.Count()) - 1);
    size_t start = v.rows.Start(static_cast<size_t>(row)), end = v.rows.End(static_cast<size_t>(row), v.Size());
    return PositionAtX(*v.widths, v.Text(), start, end, p.x - kLeftMargin);
}

HWND CreateLargeTextView(HWND parent, int id, const RECT& rect) {
    auto* v = new LargeTextView;
    if (!v->Make(parent, id, rect)) {
        delete v;
        return nullptr;
    }
    v->back = GetSysColor(COLOR_WINDOW);
    v->fore = GetSysColor(COLOR_WINDOWTEXT);
    SetViewFont(*v, kDefaultFontName, 9 * 20);
    UpdateScrollBar(*v);
    return v->hwnd();
}

bool IsLargeTextView(HWND hwnd) {
    wchar_t name[32] = {};
    return hwnd && GetClassNameW(hwnd, name, 32) && wcscmp(name, kLargeTextClass) == 0;
}

bool LoadLargeText(HWND view, const std::wstring& path, bool complete) {
    LargeTextView* v = ViewOf(view);
    if (!v || v->Size() > 0 || !v->store.Open(path)) return false;
    if (complete) {
        while (v->store.LoadStep(kStepBytes)) {}
        ScanLinks(*v);
        v->rows.Extend(*v->widths, v->Text(), v->Size(), true, SIZE_MAX);
    } else {
        v->store.LoadStep(kFirstStepBytes);
        ScanLinks(*v);
        if (v->store.Complete())
            v->rows.Extend(*v->widths, v->Text(), v->Size(), true, SIZE_MAX);
        else
            LayOutScreen(*v, 0);
        StartWork(*v);
    }
    UpdateScrollBar(*v);
    InvalidateRect(view, nullptr, FALSE);
    return true;
}

bool LargeTextPending(HWND view) {
    LargeTextView* v = ViewOf(view);
    return v && v->store.Data() && !Idle(*v);
}

int LargeTextProgress(HWND view) {
    LargeTextView* v = ViewOf(view);
    if (!v || !v->store.Data() || Idle(*v)) return -1;
    return std::min(v->store.PercentRead(), 99);
}

void EnableLargeTextLinks(HWND view, uint64_t limitChars) {
    if (LargeTextView* v = ViewOf(view)) {
        v->links.Clear();
        v->linkFinder = std::make_unique<LinkFinder>(limitChars);
        ScanLinks(*v);
    }
}

const LinkTable* LargeTextLinks(HWND view) {
    LargeTextView* v = ViewOf(view);
    return v && v->linkFinder ? &v->links : nullptr;
}

}  // namespace quibex
