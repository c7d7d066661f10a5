#include "core/lazy_shell.h"

#include "core/lazy_library.h"

namespace quibex::lazy {
namespace {

LazyLibrary g_shell32{L"shell32.dll"};
LazyFunction<decltype(&::ShellExecuteW)> g_shellExecute{g_shell32, "ShellExecuteW"};
LazyFunction<decltype(&::ShellExecuteExW)> g_shellExecuteEx{g_shell32, "ShellExecuteExW"};
LazyFunction<decltype(&::FindExecutableW)> g_findExecutable{g_shell32, "FindExecutableW"};
LazyFunction<decltype(&::DragQueryFileW)> g_dragQueryFile{g_shell32, "DragQueryFileW"};
LazyFunction<decltype(&::DragFinish)> g_dragFinish{g_shell32, "DragFinish"};
LazyFunction<decltype(&::SHGetSpecialFolderLocation)> g_specialFolder{g_shell32, "SHGetSpecialFolderLocation"};
LazyFunction<decltype(&::SHGetPathFromIDListW)> g_pathFromItems{g_shell32, "SHGetPathFromIDListW"};

// What ShellExecuteW and FindExecutableW return when they find no way to run the file.
HINSTANCE NoShell() { return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(SE_ERR_DLLNOTFOUND)); }

}  // namespace

HINSTANCE ShellExecuteW(HWND owner, const wchar_t* verb, const wchar_t* file, const wchar_t* parameters,
                        const wchar_t* folder, int show) {
    auto f = g_shellExecute.get();
    return f ? f(owner, verb, file, parameters, folder, show) : NoShell();
}

BOOL ShellExecuteExW(SHELLEXECUTEINFOW* info) {
    if (auto f = g_shellExecuteEx.get()) return f(info);
    if (info) info->hInstApp = NoShell();
    SetLastError(ERROR_DLL_NOT_FOUND);
    return FALSE;
}

HINSTANCE FindExecutableW(const wchar_t* file, const wchar_t* folder, wchar_t* result) {
    auto f = g_findExecutable.get();
    return f ? f(file, folder, result) : NoShell();
}

UINT DragQueryFileW(HDROP drop, UINT index, wchar_t* file, UINT size) {
    auto f = g_dragQueryFile.get();
    return f ? f(drop, index, file, size) : 0;
}

void DragFinish(HDROP drop) {
    if (auto f = g_dragFinish.get()) {
        f(drop);
    } else if (drop) {
        // What DragFinish does: the drop's file list is the receiver's to free.
        GlobalFree(drop);
    }
}

HRESULT SHGetSpecialFolderLocation(HWND owner, int folder, PIDLIST_ABSOLUTE* items) {
    if (auto f = g_specialFolder.get()) return f(owner, folder, items);
    if (items) *items = nullptr;
    return E_FAIL;
}

BOOL SHGetPathFromIDListW(PCIDLIST_ABSOLUTE items, wchar_t* path) {
    auto f = g_pathFromItems.get();
    return f ? f(items, path) : FALSE;
}

}  // namespace quibex::lazy
