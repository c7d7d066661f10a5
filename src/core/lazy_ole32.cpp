#include "core/lazy_ole32.h"

#include "core/lazy_library.h"

namespace quibex::lazy {
namespace {

LazyLibrary g_ole32{L"ole32.dll"};
LazyFunction<decltype(&::OleInitialize)> g_oleInitialize{g_ole32, "OleInitialize"};
LazyFunction<decltype(&::OleUninitialize)> g_oleUninitialize{g_ole32, "OleUninitialize"};
LazyFunction<decltype(&::RegisterDragDrop)> g_registerDragDrop{g_ole32, "RegisterDragDrop"};
LazyFunction<decltype(&::RevokeDragDrop)> g_revokeDragDrop{g_ole32, "RevokeDragDrop"};
LazyFunction<decltype(&::ReleaseStgMedium)> g_releaseStgMedium{g_ole32, "ReleaseStgMedium"};
LazyFunction<decltype(&::CoInitializeEx)> g_coInitializeEx{g_ole32, "CoInitializeEx"};
LazyFunction<decltype(&::CoUninitialize)> g_coUninitialize{g_ole32, "CoUninitialize"};
LazyFunction<decltype(&::CoCreateInstance)> g_coCreateInstance{g_ole32, "CoCreateInstance"};
LazyFunction<decltype(&::CoTaskMemFree)> g_coTaskMemFree{g_ole32, "CoTaskMemFree"};

}  // namespace

HRESULT OleInitialize(void* reserved) {
    auto f = g_oleInitialize.get();
    return f ? f(reserved) : E_UNEXPECTED;
}

void OleUninitialize() {
    if (auto f = g_oleUninitialize.get()) f();
}

HRESULT RegisterDragDrop(HWND window, IDropTarget* target) {
    auto f = g_registerDragDrop.get();
    return f ? f(window, target) : E_UNEXPECTED;
}

HRESULT RevokeDragDrop(HWND window) {
    auto f = g_revokeDragDrop.get();
    return f ? f(window) : E_UNEXPECTED;
}

void ReleaseStgMedium(STGMEDIUM* medium) {
    if (auto f = g_releaseStgMedium.get()) f(medium);
}

HRESULT CoInitializeEx(void* reserved, DWORD model) {
    auto f = g_coInitializeEx.get();
    return f ? f(reserved, model) : E_UNEXPECTED;
}

void CoUninitialize() {
    if (auto f = g_coUninitialize.get()) f();
}

HRESULT CoCreateInstance(REFCLSID cls, IUnknown* outer, DWORD context, REFIID iid, void** out) {
    if (auto f = g_coCreateInstance.get()) return f(cls, outer, context, iid, out);
    if (out) *out = nullptr;
    return E_UNEXPECTED;
}

void CoTaskMemFree(void* block) {
    if (auto f = g_coTaskMemFree.get()) f(block);
}

}  // namespace quibex::lazy
