// Text boxes of the viewer and loading a text into one.
//
// A text goes into its box through a window of pages (text_window.h): the
// first page shows at once; with "TextLoadMode" 1 the rest of the window
// is added from the message loop, one page per posted message, so the
// window stays responsive; larger texts page in and out as the reader moves.
#include <windows.h>

#include <commctrl.h>
#include <richedit.h>

#include "core/app_state.h"
#include "viewer/viewer_form.h"

namespace quibex {
namespace {

constexpr int kFirstBoxId = 1000;
constexpr size_t kSampleBytes = 64 * 1024;  // enough to tell the encoding

void SjisToWide(const char* sjis, size_t size, std::wstring& out) {
    while (size > 0) {
        // MultiByteToWideChar takes an int count; keep pieces well below it.
        int n = static_cast<int>(std::min<size_t>(size, 1 << 24));
        int len = MultiByteToWideChar(932, 0, sjis, n, nullptr, 0);
        size_t at = out.size();
        out.resize(at + static_cast<size_t>(len));
        MultiByteToWideChar(932, 0, sjis, n, out.data() + at, len);
        sjis += n;
        size -= static_cast<size_t>(n);
    }
}

LONG TextLength(HWND box) {
    GETTEXTLENGTHEX q{GTL_NUMCHARS | GTL_PRECISE, 1200};
    return static_cast<LONG>(SendMessageW(box, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&q), 0));
}

void ApplyTextColour(HWND box, LONG from) {
    int32_t colour = AppSettings().TextColor;
    if (IsDefaultTextColour(colour)) return;
    ColourRange(box, from, -1, ResolveColour(colour));
}

void SetTabStop(HWND box, bool on) {
    LONG_PTR style = GetWindowLongPtrW(box, GWL_STYLE);
    SetWindowLongPtrW(box, GWL_STYLE, on ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP)));
}

}  // namespace

COLORREF ResolveColour(int32_t value) {
    auto v = static_cast<uint32_t>(value);
    if (v >= 0x80000000u) return GetSysColor(static_cast<int>(v & 0xFF));
    return static_cast<COLORREF>(v);
}

bool IsDefaultTextColour(int32_t value) { return static_cast<uint32_t>(value) == 0x80000008u; }

HWND CreateTextBox(ViewerForm& f, int index) {
    const Settings& s = AppSettings();
    RECT frame{};
    GetClientRect(f.frame1, &frame);
    HWND box = CreateWindowExW(0, MSFTEDIT_CLASS, L"",
                               WS_CHILD | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_NOOLEDRAGDROP | ES_AUTOVSCROLL, 0,
                               0, frame.right, frame.bottom, f.frame1,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstBoxId + index)),
                               GetModuleHandleW(nullptr), nullptr);
    if (!box) return nullptr;
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
    HWND box = f.txtView[i];
    f.windows[i].reset();
    HANDLE file = CreateFileW(f.tabFiles[i].Path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr,
                              OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        SetBoxText(box, L"");
    } else {
        std::string sample(kSampleBytes, '\0');
        DWORD got = 0;
        if (!ReadFile(file, sample.data(), static_cast<DWORD>(sample.size()), &got, nullptr)) got = 0;
        TextDecoder decoder(DetectTextEncoding(reinterpret_cast<const uint8_t*>(sample.data()), got), SjisToWide);
        auto window = std::make_unique<TextWindow>(box, file, decoder);
        window->LoadFirst();
        if (complete)
            while (window->FillStep()) {
            }
        ApplyTextColour(box, 0);
        if (window->Filling()) PostMessageW(f.hwnd, kMsgLoadMore, i, 0);
        f.windows[i] = std::move(window);
    }
    SendMessageW(box, EM_SETSEL, 0, 0);  // caret at the start
    if (index > 0) SetTabStop(box, false);
    f.tabFiles[i].Loaded = 1;
}

void ContinueLoading(ViewerForm& f, int index) {
    auto i = static_cast<size_t>(index);
    if (i >= f.windows.size() || !f.windows[i]) return;
    HWND box = f.txtView[i];
    LONG end = TextLength(box);
    bool more = f.windows[i]->FillStep();
    ApplyTextColour(box, end);
    if (more) PostMessageW(f.hwnd, kMsgLoadMore, i, 0);
}

bool SlideText(ViewerForm& f, int index) {
    auto i = static_cast<size_t>(index);
    if (i >= f.windows.size() || !f.windows[i] || f.windows[i]->Filling()) return false;
    if (!f.windows[i]->Slide()) return false;
    ApplyTextColour(f.txtView[i], 0);
    return true;
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
    HWND box = f.txtView[static_cast<size_t>(sel)];
    const Settings& s = AppSettings();
    if (f.lastTabIndex >= 0 && s.TextLoadMode == 1 && f.tabFiles[static_cast<size_t>(sel)].Loaded == 0) {
        HCURSOR old = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        LoadTabText(f, sel, false);
        SetCursor(old);
    }
    SetWindowPos(box, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    for (HWND other : f.txtView)
        if (other != box) ShowWindow(other, SW_HIDE);
    SetTabStop(box, true);
    if (f.keySource < 2) SetFocus(box);
    if (f.lastTabIndex > 0 && s.HighLightTab == 1) SendMessageW(f.tabStrip, TCM_HIGHLIGHTITEM, sel, TRUE);
    f.keySource = 0;
}

}  // namespace quibex
