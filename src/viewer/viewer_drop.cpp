// An archive dropped on the viewer opens in a new instance; this one ends,
// or stays beside it when side-by-side instances are allowed and Shift alone
// was not held.
#include <windows.h>

#include <shellapi.h>

#include "core/app_state.h"
#include "core/paths.h"
#include "core/win_profile_store.h"
#include "viewer/drop_rules.h"
#include "viewer/viewer_control.h"
#include "viewer/viewer_form.h"

namespace quibex {
namespace {

bool StartProcess(const std::wstring& commandLine) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION pi{};
    std::wstring line = commandLine;
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return true;
}

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
    if (!allowSecond) WinProfileStore(App().IniPath).write(L"Option", L"DroppedArcFile", std::wstring(L"1"));
    g_starter(DropCommandLine(ApplicationFolder(), path));
    if (DropEndsInstance(allowSecond, modifiers)) g_ender();
}

void OnDropFiles(ViewerForm&, HDROP drop) {
    std::wstring path;
    UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    if (count > 0) {
        UINT len = DragQueryFileW(drop, 0, nullptr, 0);
        path.resize(len + 1);
        DragQueryFileW(drop, 0, path.data(), len + 1);
        path.resize(len);
    }
    DragFinish(drop);
    DropArchive(path, HeldModifiers());
}

}  // namespace quibex
