// An archive dropped on the viewer opens in a new instance; this one ends,
// or stays beside it when side-by-side instances are allowed and Shift alone
// was not held.
#include <windows.h>

#include "actions/external_tools.h"
#include "core/app_state.h"
#include "core/lazy_shell.h"
#include "core/message_box.h"
#include "core/paths.h"
#include "core/win_profile_store.h"
#include "viewer/drop_rules.h"
#include "viewer/drop_target.h"
#include "viewer/viewer_control.h"
#include "viewer/viewer_form.h"
#include "viewer/viewer_texts.h"

namespace quibex {
namespace {

bool StartProcess(const std::wstring& commandLine) { return StartCommandLine(commandLine) != 0; }

[[noreturn]] void EndAtOnce() { ExitProcess(0); }

DropStarter g_starter = StartProcess;
DropEnder g_ender = EndAtOnce;

int HeldModifiers() {
    int mods = 0;
    if (GetKeyState(VK_SHIFT) < 0) mods |= kDropShift;
    if (GetKeyState(VK_CONTROL) < 0) mods |= kDropCtrl;
    if (GetKeyState(VK_MENU) < 0) mods |= kDropAlt;
    return mods;
}

}  // namespace

void SetDropHooks(DropStarter starter, DropEnder ender) {
    g_starter = starter ? starter : StartProcess;
    g_ender = ender ? ender : EndAtOnce;
}

void DropArchive(const std::wstring& path, int modifiers) {
    ViewerForm* f = Form();
    if (!f || path.empty() || IsRecycleBinPath(path)) return;
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return;
    bool allowSecond = f->allowSecondInstance == 1;
    WinProfileStore ini(App().IniPath);
    // The hand-over flag is written before the start, so the new instance
    // never races it; a start that fails takes it back, and this viewer stays.
    if (!allowSecond) ini.write(L"Option", L"DroppedArcFile", std::wstring(L"1"));
    if (!g_starter(DropCommandLine(ApplicationFolder(), path))) {
        if (!allowSecond) ini.write(L"Option", L"DroppedArcFile", std::wstring(L"0"));
        ShowMessage(HandOverFailedText(path), MB_ICONERROR | MB_OK);
        return;
    }
    if (DropEndsInstance(allowSecond, modifiers)) g_ender();
}

// The viewer's parts take no drops of their own (text boxes are made
// without OLE drag and drop): what lands on the tab strip, a text box, the
// toolbar or the status bar reaches the viewer window's target, so
// switching the window's acceptance switches every part's.
void SetViewerDropMode(int mode) {
    ViewerForm* f = Form();
    if (!f) return;
    f->dropMode = mode == 1 ? 1 : 0;
    // What DragAcceptFiles does, without loading the shell for it.
    LONG_PTR style = GetWindowLongPtrW(f->hwnd(), GWL_EXSTYLE);
    style = f->dropMode == 1 ? style | WS_EX_ACCEPTFILES : style & ~static_cast<LONG_PTR>(WS_EX_ACCEPTFILES);
    SetWindowLongPtrW(f->hwnd(), GWL_EXSTYLE, style);
}

int ViewerDropMode() { return Form() ? Form()->dropMode : 0; }

void OnDropFiles(ViewerForm& f, HDROP drop) {
    if (f.dropMode == 0) {
        lazy::DragFinish(drop);
        return;
    }
    std::wstring path;
    UINT count = lazy::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    if (count > 0) {
        UINT len = lazy::DragQueryFileW(drop, 0, nullptr, 0);
        path.resize(len + 1);
        lazy::DragQueryFileW(drop, 0, path.data(), len + 1);
        path.resize(len);
    }
    lazy::DragFinish(drop);
    DropArchive(path, HeldModifiers());
}

}  // namespace quibex
