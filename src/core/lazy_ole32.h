// COM and OLE functions the program uses, from ole32 loaded on first use: the
// viewer's drop target and the install module's shell links. Same contracts
// as the SDK's; without ole32 the HRESULT ones fail with E_UNEXPECTED (out
// pointers set to nullptr) and the others do nothing.
#pragma once

#include <windows.h>
#include <ole2.h>

namespace quibex::lazy {

HRESULT OleInitialize(void* reserved);
void OleUninitialize();
HRESULT RegisterDragDrop(HWND window, IDropTarget* target);
HRESULT RevokeDragDrop(HWND window);
void ReleaseStgMedium(STGMEDIUM* medium);

HRESULT CoInitializeEx(void* reserved, DWORD model);
void CoUninitialize();
HRESULT CoCreateInstance(REFCLSID cls, IUnknown* outer, DWORD context, REFIID iid, void** out);
void CoTaskMemFree(void* block);

}  // namespace quibex::lazy
