#include "viewer/text_view/box_format.h"

#include <richedit.h>

#include <cwchar>

#include "core/app_state.h"

namespace quibex {

void ApplyTextLook(HWND box) {
    const Settings& s = AppSettings();
    SendMessageW(box, EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
    SendMessageW(box, EM_SETUNDOLIMIT, 0, 0);
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
}

void ApplyTextColour(HWND box, LONG from) {
    int32_t colour = AppSettings().TextColor;
    if (IsDefaultTextColour(colour)) return;
    ColourRange(box, from, -1, ResolveColour(colour));
}

LONG TextLength(HWND box) {
    GETTEXTLENGTHEX q{GTL_NUMCHARS | GTL_PRECISE, 1200};
    return static_cast<LONG>(SendMessageW(box, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&q), 0));
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

}  // namespace quibex
