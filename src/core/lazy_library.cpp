#include "core/lazy_library.h"

#include <string>

namespace quibex {

HMODULE LazyLibrary::module() {
    HMODULE m = module_.load(std::memory_order_acquire);
    if (m) return m;
    wchar_t folder[MAX_PATH] = {};
    UINT n = GetSystemDirectoryW(folder, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return nullptr;
    std::wstring path(folder, n);
    path += L'\\';
    path += fileName_;
    m = LoadLibraryW(path.c_str());
    if (!m) return nullptr;
    // Another thread may have loaded it meanwhile: one reference is kept.
    HMODULE expected = nullptr;
    if (!module_.compare_exchange_strong(expected, m, std::memory_order_acq_rel)) FreeLibrary(m);
    return module_.load(std::memory_order_acquire);
}

FARPROC LazyLibrary::function(const char* name) {
    HMODULE m = module();
    return m ? GetProcAddress(m, name) : nullptr;
}

}  // namespace quibex
