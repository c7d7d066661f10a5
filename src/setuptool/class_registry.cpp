#include "setuptool/class_registry.h"

#include <vector>

#include "core/handle.h"

namespace quibexsetup {

std::wstring ReadDefaultText(HKEY root, const std::wstring& subKey) {
    quibex::UniqueKey key;
    if (RegOpenKeyExW(root, subKey.c_str(), 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) return {};
    // The text may change size between the two calls: ask again while it grows.
    std::vector<wchar_t> buffer(64);
    for (;;) {
        DWORD type = 0;
        auto bytes = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
        const LONG status =
            RegQueryValueExW(key.get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &bytes);
        if (status == ERROR_MORE_DATA) {
            buffer.resize(bytes / sizeof(wchar_t) + 1);
            continue;
        }
        if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return {};
        const size_t chars = bytes / sizeof(wchar_t);
        std::wstring text(buffer.data(), chars);
        return text.substr(0, text.find(L'\0'));
    }
}

bool WriteDefaultText(HKEY root, const std::wstring& subKey, const std::wstring& text) {
    quibex::UniqueKey key;
    if (RegCreateKeyExW(root, subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, key.put(),
                        nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const auto bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    return RegSetValueExW(key.get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()), bytes) ==
           ERROR_SUCCESS;
}

bool DeleteKey(HKEY root, const std::wstring& subKey) { return RegDeleteKeyW(root, subKey.c_str()) == ERROR_SUCCESS; }

}  // namespace quibexsetup
