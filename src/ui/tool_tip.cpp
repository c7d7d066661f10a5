#include "ui/tool_tip.h"

#include <stdexcept>

#include "ui/word_packing.h"

namespace quibex {
namespace {

// TTM_GETTOOLINFO copies the tool's text into the record's buffer: room for
// the longest text the control keeps.
constexpr size_t kTextRoom = 1024;

int Add(int a, int b) {
    int sum;
    if (__builtin_add_overflow(a, b, &sum)) throw std::overflow_error("tool rectangle out of range");
    return sum;
}

int Sub(int a, int b) {
    int diff;
    if (__builtin_sub_overflow(a, b, &diff)) throw std::overflow_error("tool rectangle out of range");
    return diff;
}

}  // namespace

ToolTip::ToolTip() {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
}

ToolTip::~ToolTip() {
    if (tip_ && IsWindow(tip_)) DestroyWindow(tip_);
}

bool ToolTip::Create(HWND owner) {
    if (tip_) return false;
    HWND tip = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, TTS_ALWAYSTIP, 0, 0, 0, 0, owner, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    if (!tip) return false;
    tip_ = tip;
    owner_ = owner;
    return true;
}

LRESULT ToolTip::Send(UINT msg, WPARAM wp, LPARAM lp) const { return SendMessageW(tip_, msg, wp, lp); }

TTTOOLINFOW ToolTip::Record(UINT_PTR key) const {
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    ti.hwnd = owner_;
    ti.uId = key;
    ti.hinst = GetModuleHandleW(nullptr);
    return ti;
}

COLORREF ToolTip::ForeColor() const { return static_cast<COLORREF>(Send(TTM_GETTIPTEXTCOLOR)); }
void ToolTip::SetForeColor(COLORREF colour) { Send(TTM_SETTIPTEXTCOLOR, colour); }
COLORREF ToolTip::BackColor() const { return static_cast<COLORREF>(Send(TTM_GETTIPBKCOLOR)); }
void ToolTip::SetBackColor(COLORREF colour) { Send(TTM_SETTIPBKCOLOR, colour); }
int ToolTip::MaxWidth() const { return static_cast<int>(Send(TTM_GETMAXTIPWIDTH)); }
void ToolTip::SetMaxWidth(int width) { Send(TTM_SETMAXTIPWIDTH, 0, width); }

int ToolTip::ReShowTime() const { return static_cast<int>(Send(TTM_GETDELAYTIME, TTDT_RESHOW)); }
void ToolTip::SetReShowTime(int ms) { Send(TTM_SETDELAYTIME, TTDT_RESHOW, PackWords(0, ms)); }
int ToolTip::InitialTime() const { return static_cast<int>(Send(TTM_GETDELAYTIME, TTDT_INITIAL)); }
void ToolTip::SetInitialTime(int ms) { Send(TTM_SETDELAYTIME, TTDT_INITIAL, PackWords(0, ms)); }
int ToolTip::AutoPopTime() const { return static_cast<int>(Send(TTM_GETDELAYTIME, TTDT_AUTOPOP)); }
void ToolTip::SetAutoPopTime(int ms) { Send(TTM_SETDELAYTIME, TTDT_AUTOPOP, PackWords(0, ms)); }
void ToolTip::SetActivate(bool on) { Send(TTM_ACTIVATE, on ? 1 : 0); }

bool ToolTip::ToolAdd(UINT_PTR key, const std::wstring& text, int left, int top, int height, int width) {
    TTTOOLINFOW ti = Record(key);
    ti.uFlags = TTF_SUBCLASS | TTF_ABSOLUTE;
    if (height == 0 && left == 0 && width == 0)
        GetClientRect(owner_, &ti.rect);
    else
        ti.rect = RECT{left, top, Add(left, width), Add(top, height)};
    ti.lpszText = const_cast<wchar_t*>(text.c_str());
    return Send(TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti)) != 0;
}

void ToolTip::ToolRemove(UINT_PTR key) {
    TTTOOLINFOW ti = Record(key);
    Send(TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

void ToolTip::SetToolText(UINT_PTR key, const std::wstring& text) {
    wchar_t current[kTextRoom] = {};
    TTTOOLINFOW ti = Record(key);
    ti.lpszText = current;
    Send(TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&ti));
    ti.lpszText = const_cast<wchar_t*>(text.c_str());
    Send(TTM_SETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&ti));
}

int ToolTip::ToolCount() const { return static_cast<int>(Send(TTM_GETTOOLCOUNT)); }

void ToolTip::SetToolTrack(UINT_PTR key, bool on) {
    TTTOOLINFOW ti = Record(key);
    Send(TTM_TRACKACTIVATE, on ? 1 : 0, reinterpret_cast<LPARAM>(&ti));
}

void ToolTip::ToolTrackPosition(int x, int y) { Send(TTM_TRACKPOSITION, 0, PackWords(y, x)); }

void ToolTip::Pop() { Send(TTM_POP); }

RECT ToolTip::ToolRect(UINT_PTR key) const {
    wchar_t text[kTextRoom] = {};
    TTTOOLINFOW ti = Record(key);
    ti.lpszText = text;
    Send(TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&ti));
    return ti.rect;
}

void ToolTip::SetToolRect(UINT_PTR key, const RECT& r) {
    TTTOOLINFOW ti = Record(key);
    ti.rect = r;
    Send(TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&ti));
}

int ToolTip::ToolLeft(UINT_PTR key) const { return ToolRect(key).left; }
int ToolTip::ToolTop(UINT_PTR key) const { return ToolRect(key).top; }
int ToolTip::ToolWidth(UINT_PTR key) const {
    RECT r = ToolRect(key);
    return Sub(r.right, r.left);
}
int ToolTip::ToolHeight(UINT_PTR key) const {
    RECT r = ToolRect(key);
    return Sub(r.bottom, r.top);
}

void ToolTip::SetToolLeft(UINT_PTR key, int left) {
    RECT r = ToolRect(key);
    const int width = Sub(r.right, r.left), height = Sub(r.bottom, r.top);
    SetToolRect(key, RECT{left, r.top, Add(left, width), Add(r.top, height)});
}

void ToolTip::SetToolTop(UINT_PTR key, int top) {
    RECT r = ToolRect(key);
    const int width = Sub(r.right, r.left), height = Sub(r.bottom, r.top);
    SetToolRect(key, RECT{r.left, top, Add(r.left, width), Add(top, height)});
}

void ToolTip::SetToolWidth(UINT_PTR key, int width) {
    RECT r = ToolRect(key);
    const int height = Sub(r.bottom, r.top);
    SetToolRect(key, RECT{r.left, r.top, Add(r.left, width), Add(r.top, height)});
}

void ToolTip::SetToolHeight(UINT_PTR key, int height) {
    RECT r = ToolRect(key);
    const int width = Sub(r.right, r.left);
    SetToolRect(key, RECT{r.left, r.top, Add(r.left, width), Add(r.top, height)});
}

RECT ToolTip::Margins() const {
    RECT m{};
    Send(TTM_GETMARGIN, 0, reinterpret_cast<LPARAM>(&m));
    return m;
}

int ToolTip::MarginLeft() const { return Margins().left; }
int ToolTip::MarginTop() const { return Margins().top; }
int ToolTip::MarginRight() const { return Margins().right; }
int ToolTip::MarginBottom() const { return Margins().bottom; }

void ToolTip::SetMarginLeft(int value) {
    RECT m{value, MarginTop(), MarginRight(), MarginBottom()};
    Send(TTM_SETMARGIN, 0, reinterpret_cast<LPARAM>(&m));
}
void ToolTip::SetMarginTop(int value) {
    RECT m{MarginLeft(), value, MarginRight(), MarginBottom()};
    Send(TTM_SETMARGIN, 0, reinterpret_cast<LPARAM>(&m));
}
void ToolTip::SetMarginRight(int value) {
    RECT m{MarginLeft(), MarginTop(), value, MarginBottom()};
    Send(TTM_SETMARGIN, 0, reinterpret_cast<LPARAM>(&m));
}
void ToolTip::SetMarginBottom(int value) {
    RECT m{MarginLeft(), MarginTop(), MarginRight(), value};
    Send(TTM_SETMARGIN, 0, reinterpret_cast<LPARAM>(&m));
}

std::unique_ptr<ToolTip> CreateControlTip(HWND control, const std::wstring& text, int maxWidth) {
    auto tip = std::make_unique<ToolTip>();
    if (tip->Create(control)) {
        tip->ToolAdd(1, text, 0, 0, 0, 0);
        tip->SetMaxWidth(maxWidth);
    }
    return tip;
}

}  // namespace quibex
