// The shell's functions the program uses, from shell32 loaded on first use:
// launching files and links, printing through associations, and reading the
// file list of a drop, special folders for shortcuts. Same contracts as the SDK's; when shell32 cannot be
// loaded each fails as its SDK counterpart reports failure.
#pragma once

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

namespace quibex::lazy {

HINSTANCE ShellExecuteW(HWND owner, const wchar_t* verb, const wchar_t* file, const wchar_t* parameters,
                        const wchar_t* folder, int show);
BOOL ShellExecuteExW(SHELLEXECUTEINFOW* info);
HINSTANCE FindExecutableW(const wchar_t* file, const wchar_t* folder, wchar_t* result);
UINT DragQueryFileW(HDROP drop, UINT index, wchar_t* file, UINT size);
void DragFinish(HDROP drop);
HRESULT SHGetSpecialFolderLocation(HWND owner, int folder, PIDLIST_ABSOLUTE* items);
BOOL SHGetPathFromIDListW(PCIDLIST_ABSOLUTE items, wchar_t* path);

}  // namespace quibex::lazy
