// The module (DLL) this code is linked into, for its resources and window classes.
#pragma once

#include <windows.h>

namespace arcdll {

inline HINSTANCE thisModule() {
    HMODULE m = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&thisModule), &m);
    return m;
}

}  // namespace arcdll
