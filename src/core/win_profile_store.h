// ProfileStore over the Windows profile API. The W functions keep the file in
// the system code page (Shift-JIS on Japanese systems), without a BOM.
#pragma once

#include "core/profile_store.h"

namespace quibex {

class WinProfileStore final : public ProfileStore {
public:
    explicit WinProfileStore(std::wstring iniPath) : path_(std::move(iniPath)) {}
    int32_t readInt(const std::wstring& section, const std::wstring& key, int32_t fallback) override;
    std::wstring readString(const std::wstring& section, const std::wstring& key, const std::wstring& fallback,
                            size_t bufferChars) override;
    void write(const std::wstring& section, const std::wstring& key, const std::optional<std::wstring>& value) override;

private:
    std::wstring path_;
};

}  // namespace quibex
