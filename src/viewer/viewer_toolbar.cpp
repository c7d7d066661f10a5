// Toolbar1: seven buttons at the bottom of the viewer, their images (built
// in or the user's icons, normal and pointed at), their hints in status
// panel 1, the Shift held at a click, and the menu of the archive's other
// documents on the ▼ part of "Open".
#include <windows.h>

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "actions/document_file.h"
#include "core/app_state.h"
#include "viewer/viewer_control.h"
#include "viewer/viewer_form.h"
#include "viewer/viewer_ids.h"
#include "viewer/viewer_texts.h"

namespace quibex {
namespace {

using UniqueMenu = Unique<handle_traits::NullIsEmpty<HMENU, DestroyMenu>>;

enum ButtonIndex { kLeft, kRight, kSearch, kText, kPrint, kOpen, kExit };

struct ButtonSpec {
    int id;
    ToolbarGlyph image;
};
constexpr ButtonSpec kButtons[kToolbarButtonCount] = {
    {kToolbarLeft, ToolbarGlyph::Left}, {kToolbarRight, ToolbarGlyph::Right}, {kToolbarSearch, ToolbarGlyph::Search},
    {kToolbarText, ToolbarGlyph::Text}, {kToolbarPrint, ToolbarGlyph::Print}, {kToolbarOpen, ToolbarGlyph::Open},
    {kToolbarExit, ToolbarGlyph::Exit}};

// The toolbar takes the size its buttons need; the layout places it.
void FitToolbar(ViewerForm& f) {
    SIZE size{};
    SendMessageW(f.toolbar.bar, TB_GETMAXSIZE, 0, reinterpret_cast<LPARAM>(&size));
    RECT last{};
    SendMessageW(f.toolbar.bar, TB_GETITEMRECT, kToolbarButtonCount - 1, reinterpret_cast<LPARAM>(&last));
    int width = std::max<int>(size.cx, last.right), height = std::max<int>(size.cy, last.bottom);
    SetWindowPos(f.toolbar.bar, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Both image lists are built; with "HotImage" 1 the pointed-at images are
// shown always and there is no hot list.
// The images the buttons show; "HotImage" 1 shows the pointed-at ones all
// the time. The pointed-at list for hovering comes with `LoadHoverImages`.
void LoadToolbarImages(ViewerForm& f) {
    const Settings& s = AppSettings();
    int size = ToolbarImageSize(ViewerDpi(f));
    bool hot = s.HotImage == 1;
    f.toolbar.images[0] = BuildToolbarImageList(hot, size, s.IconPaths);
    f.toolbar.images[1].reset();
    SendMessageW(f.toolbar.bar, TB_SETBITMAPSIZE, 0, MAKELPARAM(size, size));
    SendMessageW(f.toolbar.bar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(f.toolbar.images[0].get()));
    SendMessageW(f.toolbar.bar, TB_SETHOTIMAGELIST, 0, 0);
}

// The hint of the first button whose rectangle holds the point, edges
// included, replaces status panel 1; the text it replaced is kept once.
void ShowHint(ViewerForm& f, POINT p) {
    for (int i = 0; i < kToolbarButtonCount; ++i) {
        RECT r{};
        if (!SendMessageW(f.toolbar.bar, TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r))) continue;
        if (p.x < r.left || p.x > r.right || p.y < r.top || p.y > r.bottom) continue;
        if (f.status.savedText.empty()) f.status.savedText = StatusPanelText(f, 1);
        SetStatusPanel(f, 1, f.toolbar.hints[static_cast<size_t>(i)]);
        return;
    }
}

bool ToolbarMouse(HWND, UINT msg, WPARAM wp, LPARAM lp, DWORD_PTR, LRESULT&) {
    ViewerForm* f = Form();
    if (!f) return false;
    switch (msg) {
    case WM_MOUSEMOVE: ShowHint(*f, POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}); break;
    // Before the button's command, which the release sends.
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: f->toolbar.shiftAtClick = (wp & MK_SHIFT) != 0; break;
    default: break;
    }
    return false;  // the toolbar tracks the pointer and clicks itself
}

// A file name as a menu caption: "&" would underline the next letter.
std::wstring MenuCaption(const std::wstring& name) {
    std::wstring caption;
    for (wchar_t c : name) {
        if (c == L'&') caption += L'&';
        caption += c;
    }
    return caption;
}

// One item per document, in list order, captioned with its file name; two
// documents of one name in different folders give two items.
void ShowDocumentMenu(ViewerForm& f) {
    const std::vector<DocumentEntry>& documents = f.documents;
    UniqueMenu menu(CreatePopupMenu());
    if (!menu) return;
    for (size_t i = 0; i < documents.size(); ++i)
        AppendMenuW(menu.get(), MF_STRING, kDocumentMenuFirst + i, MenuCaption(documents[i].Name).c_str());
    RECT button{};
    SendMessageW(f.toolbar.bar, TB_GETRECT, kToolbarOpen, reinterpret_cast<LPARAM>(&button));
    MapWindowPoints(f.toolbar.bar, nullptr, reinterpret_cast<POINT*>(&button), 2);
    // Below the button, or above it where the screen ends.
    TPMPARAMS keepClear{sizeof keepClear, button};
    auto chosen =
        static_cast<int>(TrackPopupMenuEx(menu.get(), TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN | TPM_VERTICAL,
                                          button.left, button.bottom, f.hwnd(), &keepClear));
    if (chosen >= kDocumentMenuFirst) OpenDocumentFromViewer(chosen - kDocumentMenuFirst);
}

}  // namespace

void LoadHoverImages(ViewerForm& f) {
    const Settings& s = AppSettings();
    if (!f.toolbar.bar || s.HotImage == 1 || f.toolbar.images[1]) return;
    f.toolbar.images[1] = BuildToolbarImageList(true, ToolbarImageSize(ViewerDpi(f)), s.IconPaths);
    SendMessageW(f.toolbar.bar, TB_SETHOTIMAGELIST, 0, reinterpret_cast<LPARAM>(f.toolbar.images[1].get()));
}

void RescaleToolbar(ViewerForm& f) {
    LoadToolbarImages(f);
    LoadHoverImages(f);
    FitToolbar(f);
}

HWND CreateToolbar(ViewerForm& f) {
    HWND tb = CreateWindowExW(0, TOOLBARCLASSNAMEW, L"",
                              WS_CHILD | WS_CLIPSIBLINGS | TBSTYLE_FLAT | TBSTYLE_TRANSPARENT | CCS_NODIVIDER |
                                  CCS_NORESIZE | CCS_NOPARENTALIGN,
                              0, 0, 0, 0, f.hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(kToolbarId)),
                              GetModuleHandleW(nullptr), nullptr);
    if (!tb) return nullptr;
    f.toolbar.bar = tb;
    SendMessageW(tb, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageW(tb, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
    LoadToolbarImages(f);
    TBBUTTON buttons[kToolbarButtonCount] = {};
    for (int i = 0; i < kToolbarButtonCount; ++i) {
        buttons[i].iBitmap = static_cast<int>(kButtons[i].image);
        buttons[i].idCommand = kButtons[i].id;
        buttons[i].fsState = TBSTATE_ENABLED;
        buttons[i].fsStyle = BTNS_BUTTON;
        buttons[i].iString = -1;
        f.toolbar.hints[static_cast<size_t>(i)] = kToolbarHints[i];
    }
    SendMessageW(tb, TB_ADDBUTTONSW, kToolbarButtonCount, reinterpret_cast<LPARAM>(buttons));
    FitToolbar(f);
    FilterMessages(tb, ToolbarMouse);
    return tb;
}

void SetToolbarHints(ViewerForm& f) {
    if (!f.toolbar.bar) return;
    const Settings& s = AppSettings();
    f.toolbar.hints[kOpen] = std::wstring(s.ArcAplPath.empty() ? kHintOpenByAssociation : kHintOpenWithTool) +
                             (s.ExitAfterOpen == 1 ? kHintOpenAndExit : kHintOpenOnly) + kHintOpenKey;
    f.toolbar.hints[kText] = s.TxtEdtPath.empty() ? kHintTextByAssociation : kHintTextWithTool;
    f.toolbar.hints[kPrint] = s.PrtToolPath.empty() ? kHintPrintByAssociation : kHintPrintWithTool;
    if (!f.documents.empty()) {
        TBBUTTONINFOW info{};
        info.cbSize = sizeof info;
        info.dwMask = TBIF_STYLE;
        SendMessageW(f.toolbar.bar, TB_GETBUTTONINFOW, kToolbarOpen, reinterpret_cast<LPARAM>(&info));
        info.fsStyle |= BTNS_DROPDOWN;
        SendMessageW(f.toolbar.bar, TB_SETBUTTONINFOW, kToolbarOpen, reinterpret_cast<LPARAM>(&info));
        FitToolbar(f);
    }
}

void OnToolbarCommand(ViewerForm& f, int id) {
    f.keySource = 1;
    switch (id) {
    case kToolbarLeft: PreviousText(); break;
    case kToolbarRight: NextText(); break;
    case kToolbarSearch: OpenSearchFromViewer(); break;
    case kToolbarText: OpenSelectedText(); break;
    case kToolbarPrint: PrintSelectedText(); break;
    case kToolbarOpen: OpenArchiveFromViewer(f.toolbar.shiftAtClick); break;
    case kToolbarExit:
        // Posted: the toolbar is still inside the click that sent this.
        f.closingByEsc = 0;
        PostMessageW(f.hwnd(), WM_CLOSE, 0, 0);
        break;
    default: break;
    }
}

LRESULT OnToolbarNotify(ViewerForm& f, NMHDR* hdr) {
    if (hdr->code != TBN_DROPDOWN) return 0;
    if (reinterpret_cast<NMTOOLBARW*>(hdr)->iItem != kToolbarOpen) return TBDDRET_NODEFAULT;
    ShowDocumentMenu(f);
    return TBDDRET_DEFAULT;
}

HWND ViewerToolbar() { return Form() ? Form()->toolbar.bar : nullptr; }

std::wstring ToolbarHint(int index) {
    ViewerForm* f = Form();
    return f && index >= 0 && index < kToolbarButtonCount ? f->toolbar.hints[static_cast<size_t>(index)] : L"";
}

}  // namespace quibex
