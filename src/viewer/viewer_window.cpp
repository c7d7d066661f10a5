// The viewer window's life: creation hidden (its handle owns the library
// calls), showing, the message switch, closing with its clean-up.

#include "viewer/viewer_window.h"

#include <commctrl.h>
#include <richedit.h>
#include <shellapi.h>

#include "archive/work_folders.h"
#include "core/app_state.h"
#include "core/app_window.h"
#include "core/path_text.h"
#include "core/paths.h"
#include "core/win_profile_store.h"
#include "viewer/drop_target.h"
#include "viewer/viewer_control.h"
#include "viewer/viewer_form.h"
#include "viewer/viewer_texts.h"

namespace quibex {

namespace {

constexpr const wchar_t* kViewerClass = L"QuibexViewer";
constexpr const wchar_t* kFrameClass = L"QuibexViewerFrame";
constexpr int kDummyId = 4090;

std::unique_ptr<ViewerForm> g_form;

// Frame1: no border; passes its children's notifications to the viewer.
class FrameWindow : public Window {
public:
    bool Make(HWND viewer) {
        return Create({kFrameClass}, WS_EX_CONTROLPARENT, L"", WS_CHILD | WS_CLIPCHILDREN, 0, 0, 300, 200, viewer);
    }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
        switch (msg) {
        case WM_NOTIFY:
        case WM_COMMAND: return SendMessageW(GetParent(hwnd()), msg, wp, lp);
        case WM_ERASEBKGND: return 1;  // the boxes cover it
        }
        return Default(msg, wp, lp);
    }
};

}  // namespace

std::wstring ViewerCaption(const ViewerForm& f) {
    std::wstring longPath = LongPathName(f.archive.path);
    std::wstring name = FileNameOf(longPath.empty() ? f.archive.path : longPath);
    return name + L" - " + kAppTitle;
}

namespace {

// False when the close is deferred to Dummy.
bool QueryUnload(ViewerForm& f) {
    if (f.closingByEsc == 1) {
        if (f.tabs.TabOf(GetFocus()) >= 0) {
            ShowWindow(f.dummy, SW_SHOWNA);
            SetFocus(f.dummy);  // Dummy's focus event closes the window
            return false;
        }
    }
    if (!App().ReadFailed && AppSettings().InsideViewer == 1) {
        for (const auto& view : f.tabs.views) view->StopLoading();  // their files are open
        DeleteWorkFiles();
        WriteWindowState(f);
        if (!IsIconic(f.hwnd()) && !IsZoomed(f.hwnd())) WriteGeometry(f);
    }
    return true;
}

void Unload(ViewerForm& f) {
    RemoveCabWorkFolder();
    if (App().LibraryOwner == f.hwnd()) App().LibraryOwner = nullptr;
    PostQuitMessage(0);
}

void Close(ViewerForm& f) {
    if (f.closing) return;
    if (!QueryUnload(f)) return;
    f.closing = true;
    DestroyWindow(f.hwnd());
}

LRESULT OnNotify(ViewerForm& f, NMHDR* hdr) {
    if (f.toolbar.bar && hdr->hwndFrom == f.toolbar.bar) return OnToolbarNotify(f, hdr);
    if (hdr->hwndFrom == f.tabs.strip) {
        if (hdr->code == TCN_SELCHANGING) {
            OnTabChanging(f);
            return FALSE;
        }
        if (hdr->code == TCN_SELCHANGE) {
            OnTabChanged(f);
            return 0;
        }
    }
    if (hdr->code == TTN_GETDISPINFOW) {
        // The tab strip's tooltips ask for the text of tab idFrom.
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(hdr);
        HWND tips = f.tabs.strip ? reinterpret_cast<HWND>(SendMessageW(f.tabs.strip, TCM_GETTOOLTIPS, 0, 0)) : nullptr;
        if (tips && hdr->hwndFrom == tips) {
            size_t i = hdr->idFrom;
            info->lpszText = const_cast<wchar_t*>(i < f.tabs.tips.size() ? f.tabs.tips[i].c_str() : L"");
            return 0;
        }
    }
    return 0;
}

void OnSize(ViewerForm& f, UINT state) {
    if (state == SIZE_MINIMIZED) return;
    // The status bar keeps to the bottom edge at every size, also the sizes
    // the window gets while it is loaded hidden (saved geometry, maximized).
    if (f.status.bar) {
        SendMessageW(f.status.bar, WM_SIZE, 0, 0);
        SizeStatusPanels(f);
    }
    // Nothing more while loading.
    if (App().ViewerLoading) return;
    if (!f.built) {
        ShowSplash(f);
        return;
    }
    if (state == SIZE_RESTORED && EnforceMinimumSize(f)) return;  // the widened size comes as its own WM_SIZE
    LayoutViewer(f);
    RefreshStatusPath(f);
    if (state == SIZE_RESTORED && !IsZoomed(f.hwnd())) WriteGeometry(f);
}

}  // namespace

LRESULT ViewerForm::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    // Until LoadViewer has made it the viewer, the window is being created.
    if (g_form.get() != this) return Default(msg, wp, lp);
    ViewerForm& f = *this;
    switch (msg) {
    case WM_SIZE: OnSize(f, static_cast<UINT>(wp)); return 0;
    case WM_GETMINMAXINFO: ApplyMinimumSize(f, *reinterpret_cast<MINMAXINFO*>(lp)); return 0;
    case WM_NOTIFY: return OnNotify(f, reinterpret_cast<NMHDR*>(lp));
    case WM_COMMAND:
        if (f.toolbar.bar && reinterpret_cast<HWND>(lp) == f.toolbar.bar) {
            OnToolbarCommand(f, LOWORD(wp));
            return 0;
        }
        // The hidden Dummy box got the focus: the deferred Esc close.
        if (LOWORD(wp) == kDummyId && HIWORD(wp) == EN_SETFOCUS && f.built) {
            PostMessageW(hwnd(), kMsgDeferredClose, 0, 0);
            return 0;
        }
        break;
    case WM_SYSCOMMAND:
        // Items of our own arrive with the identifier as added.
        if (wp == kSysMenuKeyList || wp == kSysMenuAbout) {
            OnViewerSysCommand(f, wp);
            return 0;
        }
        break;
    case WM_MOUSEMOVE: RestoreStatusText(); break;
    case WM_DPICHANGED: OnViewerDpiChanged(f, HIWORD(wp), *reinterpret_cast<const RECT*>(lp)); return 0;
    case kMsgOpenLink: OpenPendingLink(f); return 0;
    case kMsgFirstTextShown:
        // The first text's pixels go to the screen before OLE is loaded and
        // started for the drop target. OLE drags show their effect;
        // WM_DROPFILES stays for shells that send only that.
        RedrawWindow(hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        RegisterViewerDropTarget(hwnd());
        LoadHoverImages(f);
        return 0;
    case WM_DROPFILES: OnDropFiles(f, reinterpret_cast<HDROP>(wp)); return 0;
    case kMsgDroppedArchive: {
        std::wstring path = std::move(f.droppedPath);
        f.droppedPath.clear();
        DropArchive(path, static_cast<int>(wp));
        return 0;
    }
    case WM_TIMER:
        if (wp == kProgressTimer) ShowLoadingProgress(f);
        return 0;
    case kMsgDeferredClose:
    case WM_CLOSE: Close(f); return 0;
    case WM_DESTROY:
        RevokeViewerDropTarget(hwnd());
        Unload(f);
        return 0;
    }
    return Default(msg, wp, lp);
}

void ViewerForm::OnDestroyed() {
    if (g_form.get() == this) g_form.reset();
}

bool ViewerForm::Make() {
    HINSTANCE inst = GetModuleHandleW(nullptr);
    return Create(
        {kViewerClass, 0, nullptr, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), LoadIconW(inst, MAKEINTRESOURCEW(1))},
        WS_EX_APPWINDOW | WS_EX_ACCEPTFILES, kAppTitle, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT,
        CW_USEDEFAULT, 640, 480, AppWindow());
}

HWND CreateFrame(ViewerForm& f) {
    auto frame = std::make_unique<FrameWindow>();
    if (!frame->Make(f.hwnd())) return nullptr;
    f.frame1 = frame->hwnd();
    f.frameWindow = std::move(frame);
    return f.frame1;
}

ViewerForm* Form() { return g_form.get(); }

HWND LoadViewer(const OpenedArchive& archive) {
    if (g_form) return g_form->hwnd();
    HINSTANCE inst = GetModuleHandleW(nullptr);
    auto form = std::make_unique<ViewerForm>();
    ViewerForm& f = *form;
    f.archive = archive;
    f.richEditLibrary = LoadLibraryW(L"Msftedit.dll");
    App().ViewerLoading = true;
    if (!f.Make()) {
        App().ViewerLoading = false;
        return nullptr;
    }
    g_form = std::move(form);
    f.dummy = CreateWindowExW(0, L"EDIT", L"", WS_CHILD, -40, -40, 8, 8, f.hwnd(),
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(kDummyId)), inst, nullptr);
    // Two system-menu items: the key list and the about window.
    HMENU sys = GetSystemMenu(f.hwnd(), FALSE);
    AppendMenuW(sys, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(sys, MF_STRING, kSysMenuKeyList, kSysMenuKeyListText);
    AppendMenuW(sys, MF_STRING, kSysMenuAbout, kSysMenuAboutText);
    WinProfileStore ini(App().IniPath);
    f.allowSecondInstance = ini.readInt(L"Option", L"PrevInstance", 0) == 1 ? 1 : 0;
    SetWindowTextW(f.hwnd(), ViewerCaption(f).c_str());
    // The tab strip, the frame of the text boxes and the first box.
    const Settings& s = AppSettings();
    f.dpi = ScreenDpi();
    f.uiFont = MakeViewerUiFont(f.dpi);
    DWORD tabStyle = WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP | TCS_TOOLTIPS;
    if (s.TabPos == 1) tabStyle |= TCS_BOTTOM;
    if (s.MultiRow != 1) tabStyle |= TCS_MULTILINE;
    f.tabs.strip = CreateWindowExW(0, WC_TABCONTROLW, L"", tabStyle, 0, 0, 300, 200, f.hwnd(), nullptr, inst, nullptr);
    SendMessageW(f.tabs.strip, WM_SETFONT, reinterpret_cast<WPARAM>(f.uiFont.get()), FALSE);
    RestoreStatusTextOverControl(f.tabs.strip);
    RouteViewerKeys(f.tabs.strip, 2);
    CreateFrame(f);
    f.status.bar = CreateStatusBar(f);
    if (s.NotToolbar == 0) CreateToolbar(f);
    // Geometry from the INI, kept on the screen; "WindowState".
    ReadGeometry(f);
    f.startMaximized = ini.readInt(L"Viewer", L"WindowState", 0) == 2;
    {
        // InitialTabHeight: the strip's height with one row of tabs.
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(L"Quibex");
        SendMessageW(f.tabs.strip, TCM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        RECT r{0, 0, 300, 200};
        SendMessageW(f.tabs.strip, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
        f.initialTabHeight = 200 - (r.bottom - r.top) + 8;
        // The parts take their places now, hidden and empty, with the one
        // row of tabs most archives get: the text boxes are then made at
        // their final size, and the layout when the texts are shown moves
        // nothing. Resizing a box that holds text re-wraps it.
        LayoutViewer(f);
        SendMessageW(f.tabs.strip, TCM_DELETEALLITEMS, 0, 0);
    }
    CreateTextBox(f, 0);
    // The splash visible, the rest hidden until BuildViewer.
    f.frame2 = CreateSplash(f);
    f.keySource = 0;
    f.closingByEsc = 0;
    return f.hwnd();
}

HWND ViewerWindow() { return g_form ? g_form->hwnd() : nullptr; }

void ShowViewerWindow() {
    if (!g_form) return;
    ShowWindow(g_form->hwnd(), g_form->startMaximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
    ShowSplash(*g_form);
    UpdateWindow(g_form->hwnd());
}

void UnloadViewer() {
    if (!g_form) return;
    ViewerForm& f = *g_form;
    f.closingByEsc = 0;
    Close(f);
}

void CloseViewerByEsc() {
    if (!g_form) return;
    g_form->closingByEsc = 1;
    PostMessageW(g_form->hwnd(), WM_CLOSE, 0, 0);
}

}  // namespace quibex
