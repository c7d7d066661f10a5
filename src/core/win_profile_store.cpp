#include "core/win_profile_store.h"

#include <windows.h>

#include <vector>

namespace quibex {

int32_t WinProfileStore::readInt(const std::wstring& section, const std::wstring& key, int32_t fallback) {
    return static_cast<int32_t>(GetPrivateProfileIntW(section.c_str(), key.c_str(), fallback, path_.c_str()));
}

std::wstring WinProfileStore::readString(const std::wstring& section, const std::wstring& key,
                                         const std::wstring& fallback, size_t bufferChars) {
    std::vector<wchar_t> buf(bufferChars, L'\0');
    DWORD n = GetPrivateProfileStringW(section.c_str(), key.c_str(), fallback.c_str(), buf.data(),
                                       static_cast<DWORD>(buf.size()), path_.c_str());
    return std::wstring(buf.data(), n);
}

void WinProfileStore::write(const std::wstring& section, const std::wstring& key,
                            const std::optional<std::wstring>& value) {
    WritePrivateProfileStringW(section.c_str(), key.c_str(), value ? value->c_str() : nullptr, path_.c_str());
}

}  // namespace quibex
