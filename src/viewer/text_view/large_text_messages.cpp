// The rich-edit messages a large-text view answers, with the meanings a
// rich-edit box gives them: positions count one character per line break,
// lines are the rows on screen, WM_GETTEXT gives CR LF.
#include <windows.h>

#include <commdlg.h>
#include <richedit.h>

#include <algorithm>
#include <string>

#include "search/box_find.h"
#include "viewer/text_view/large_text_state.h"

namespace quibex {
namespace {

// Length of [from, to) with each CR counted twice when it becomes CR LF.
size_t CrLfLength(const LargeTextView& v, size_t from, size_t to) {
    if (from == 0 && to == v.Size()) return v.Size() + v.store.Breaks();
    return (to - from) + static_cast<size_t>(std::count(v.Text() + from, v.Text() + to, L'\r'));
}

// Copies [from, to) into `out` of `room` characters (NUL included); returns
// the characters written before the NUL.
size_t CopyText(const LargeTextView& v, size_t from, size_t to, bool crlf, wchar_t* out, size_t room) {
    if (!out || room == 0) return 0;
    size_t w = 0;
    for (size_t i = from; i < to && w + 1 < room; ++i) {
        wchar_t c = v.Text()[i];
        if (c == L'\r' && crlf) {
            if (w + 2 >= room) break;
            out[w++] = L'\r';
            out[w++] = L'\n';
        } else {
            out[w++] = c;
        }
    }
    out[w] = 0;
    return w;
}

// A position from a message: negative means the end of the text.
size_t Clamp(const LargeTextView& v, LONG pos) {
    return pos < 0 ? v.Size() : std::min(static_cast<size_t>(pos), v.Size());
}

void SetSelection(LargeTextView& v, LONG from, LONG to) {
    if (from < 0) {  // (-1, any): no selection, the caret stays
        MoveCaret(v, v.caret, false);
        return;
    }
    if (from == 0 && to < 0) to = static_cast<LONG>(v.Size());
    v.anchor = Clamp(v, from);
    MoveCaret(v, Clamp(v, to), true);
}

}  // namespace

void CopySelection(LargeTextView& v) {
    size_t from = v.SelStart(), to = v.SelEnd();
    if (from == to || !OpenClipboard(v.hwnd())) return;
    EmptyClipboard();
    size_t chars = CrLfLength(v, from, to) + 1;
    if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, chars * sizeof(wchar_t))) {
        CopyText(v, from, to, true, static_cast<wchar_t*>(GlobalLock(memory)), chars);
        GlobalUnlock(memory);
        if (!SetClipboardData(CF_UNICODETEXT, memory)) GlobalFree(memory);
    }
    CloseClipboard();
}

bool HandleEditMessage(LargeTextView& v, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    auto row = [&](size_t pos) { return static_cast<LRESULT>(v.rows.RowOf(pos)); };
    switch (msg) {
    case WM_GETTEXTLENGTH: result = static_cast<LRESULT>(CrLfLength(v, 0, v.Size())); return true;
    case WM_GETTEXT:
        result = static_cast<LRESULT>(CopyText(v, 0, v.Size(), true, reinterpret_cast<wchar_t*>(lp), wp));
        return true;
    case EM_GETTEXTLENGTHEX: {
        auto* q = reinterpret_cast<const GETTEXTLENGTHEX*>(wp);
        bool crlf = q && (q->flags & GTL_USECRLF);
        result = static_cast<LRESULT>(crlf ? CrLfLength(v, 0, v.Size()) : v.Size());
        return true;
    }
    case EM_GETTEXTEX: {
        auto* q = reinterpret_cast<const GETTEXTEX*>(wp);
        if (!q || q->codepage != 1200) return result = 0, true;
        size_t from = 0, to = v.Size();
        if (q->flags & GT_SELECTION) from = v.SelStart(), to = v.SelEnd();
        result = static_cast<LRESULT>(
            CopyText(v, from, to, q->flags & GT_USECRLF, reinterpret_cast<wchar_t*>(lp), q->cb / sizeof(wchar_t)));
        return true;
    }
    case EM_GETTEXTRANGE: {
        auto* r = reinterpret_cast<TEXTRANGEW*>(lp);
        if (!r) return result = 0, true;
        size_t from = Clamp(v, r->chrg.cpMin), to = std::max(from, Clamp(v, r->chrg.cpMax));
        result = static_cast<LRESULT>(CopyText(v, from, to, false, r->lpstrText, to - from + 1));
        return true;
    }
    case EM_GETSEL:
        if (wp) *reinterpret_cast<DWORD*>(wp) = static_cast<DWORD>(v.SelStart());
        if (lp) *reinterpret_cast<DWORD*>(lp) = static_cast<DWORD>(v.SelEnd());
        result = MAKELRESULT(std::min<size_t>(v.SelStart(), 0xFFFF), std::min<size_t>(v.SelEnd(), 0xFFFF));
        return true;
    case EM_EXGETSEL:
        if (auto* r = reinterpret_cast<CHARRANGE*>(lp))
            *r = CHARRANGE{static_cast<LONG>(v.SelStart()), static_cast<LONG>(v.SelEnd())};
        return result = 0, true;
    case EM_SETSEL: SetSelection(v, static_cast<LONG>(wp), static_cast<LONG>(lp)); return result = 0, true;
    case EM_EXSETSEL:
        if (auto* r = reinterpret_cast<const CHARRANGE*>(lp)) SetSelection(v, r->cpMin, r->cpMax);
        result = static_cast<LRESULT>(v.caret);
        return true;
    case EM_GETFIRSTVISIBLELINE: result = static_cast<LRESULT>(v.top); return true;
    case EM_GETLINECOUNT: result = static_cast<LRESULT>(v.rows.Count()); return true;
    case EM_LINEINDEX: {
        size_t r = static_cast<LONG>(wp) < 0 ? v.rows.RowOf(v.caret) : wp;
        result = r < v.rows.Count() ? static_cast<LRESULT>(v.rows.Start(r)) : -1;
        return true;
    }
    case EM_LINEFROMCHAR:
        result = row(static_cast<LONG>(wp) < 0 ? v.caret : Clamp(v, static_cast<LONG>(wp)));
        return true;
    case EM_EXLINEFROMCHAR: result = row(Clamp(v, static_cast<LONG>(lp))); return true;
    case EM_LINELENGTH: {
        size_t r = v.rows.RowOf(Clamp(v, static_cast<LONG>(wp)));
        size_t start = v.rows.Start(r), end = v.rows.End(r, v.Size());
        result = static_cast<LRESULT>(end - start - (end > start && v.Text()[end - 1] == L'\r' ? 1 : 0));
        return true;
    }
    case EM_SCROLL: {
        size_t before = v.top;
        WPARAM code = wp == SB_LINEUP || wp == SB_LINEDOWN || wp == SB_PAGEUP || wp == SB_PAGEDOWN ? wp : SB_ENDSCROLL;
        SendMessageW(v.hwnd(), WM_VSCROLL, code, 0);
        result = MAKELRESULT(static_cast<WORD>(static_cast<long>(v.top) - static_cast<long>(before)), TRUE);
        return true;
    }
    case EM_LINESCROLL: {
        long target = static_cast<long>(v.top) + static_cast<long>(lp);
        ScrollTo(v, target < 0 ? 0 : static_cast<size_t>(target));
        return result = TRUE, true;
    }
    case EM_SCROLLCARET: ShowCaretRow(v); return result = 0, true;
    case EM_POSFROMCHAR:
        if (auto* p = reinterpret_cast<POINTL*>(wp)) {
            POINT at = PositionPoint(v, Clamp(v, static_cast<LONG>(lp)));
            *p = POINTL{at.x, at.y};
        }
        return result = 0, true;
    case EM_CHARFROMPOS: {
        auto* p = reinterpret_cast<const POINTL*>(lp);
        result = p ? static_cast<LRESULT>(PointPosition(v, POINT{p->x, p->y})) : 0;
        return true;
    }
    case EM_FINDTEXTEXW: result = FindInText(v.Text(), v.Size(), wp, reinterpret_cast<FINDTEXTEXW*>(lp)); return true;
    case EM_SETBKGNDCOLOR: {
        COLORREF before = v.back;
        v.back = wp ? GetSysColor(COLOR_WINDOW) : static_cast<COLORREF>(lp);
        InvalidateRect(v.hwnd(), nullptr, FALSE);
        result = static_cast<LRESULT>(before);
        return true;
    }
    case EM_GETCHARFORMAT: {
        // The colour of the first selected character (a link's or the text's) and the font.
        auto* cf = reinterpret_cast<CHARFORMAT2W*>(lp);
        if (!cf || cf->cbSize < sizeof(CHARFORMATW)) return result = 0, true;
        const LinkRange* link = v.links.At(wp == SCF_SELECTION ? v.SelStart() : SIZE_MAX);
        cf->dwMask = CFM_COLOR | CFM_FACE | CFM_SIZE | CFM_CHARSET;
        cf->dwEffects = !link && v.autoFore ? CFE_AUTOCOLOR : 0;
        cf->crTextColor = link ? (link->mail ? kMailLinkColour : kUrlLinkColour) : v.fore;
        LOGFONTW font{};
        if (v.font) GetObjectW(v.font.get(), sizeof font, &font);
        HDC screen = GetDC(nullptr);
        cf->yHeight = MulDiv(std::abs(font.lfHeight), 1440, GetDeviceCaps(screen, LOGPIXELSY));
        ReleaseDC(nullptr, screen);
        cf->bCharSet = font.lfCharSet;
        wcsncpy(cf->szFaceName, font.lfFaceName, LF_FACESIZE - 1);
        cf->szFaceName[LF_FACESIZE - 1] = 0;
        result = static_cast<LRESULT>(cf->dwMask);
        return true;
    }
    case EM_SETCHARFORMAT: {
        // One font and one colour for the whole text, whatever the range.
        auto* cf = reinterpret_cast<const CHARFORMAT2W*>(lp);
        if (!cf) return result = 0, true;
        if (cf->dwMask & CFM_COLOR) {
            v.autoFore = cf->dwEffects & CFE_AUTOCOLOR;
            v.fore = v.autoFore ? GetSysColor(COLOR_WINDOWTEXT) : cf->crTextColor;
        }
        if (cf->dwMask & (CFM_FACE | CFM_SIZE)) {
            LOGFONTW current{};
            if (v.font) GetObjectW(v.font.get(), sizeof current, &current);
            std::wstring face = cf->dwMask & CFM_FACE ? cf->szFaceName : current.lfFaceName;
            HDC screen = GetDC(nullptr);
            int twips = cf->dwMask & CFM_SIZE
                            ? static_cast<int>(cf->yHeight)
                            : MulDiv(std::abs(current.lfHeight), 1440, GetDeviceCaps(screen, LOGPIXELSY));
            ReleaseDC(nullptr, screen);
            SetViewFont(v, face.c_str(), twips);
        }
        InvalidateRect(v.hwnd(), nullptr, FALSE);
        return result = TRUE, true;
    }
    case WM_COPY: CopySelection(v); return result = 0, true;
    // Accepted and without meaning for a read-only plain-text view.
    case EM_EXLIMITTEXT:
    case EM_SETUNDOLIMIT:
    case EM_SETOPTIONS:
    case EM_SETEVENTMASK:
    case EM_AUTOURLDETECT:
    case EM_SETREADONLY:
    case WM_SETTEXT:
    case WM_PASTE:
    case WM_CUT:
    case WM_CLEAR:
    case WM_CHAR: return result = 0, true;
    default: return false;
    }
}

}  // namespace quibex
