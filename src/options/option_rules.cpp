#include "options/option_rules.h"

#include "core/path_text.h"
#include "core/settings_rules.h"

namespace quibex {

bool OpenMaxAcceptsChar(wchar_t c) { return (c >= L'0' && c <= L'9') || c == L'\b'; }

int OpenMaxFromText(const std::wstring& text) {
    const std::wstring trimmed = TrimSpaces(text);
    int32_t value = 0;
    for (wchar_t c : trimmed) {
        if (c < L'0' || c > L'9') break;
        value = value * 10 + (c - L'0');
        if (value > 10) break;  // already past the top; no overflow on long input
    }
    return ClampOpenMax(value);
}

bool IsQuibexItself(const std::wstring& path) { return ToLower(FileNameOf(path)) == L"quibex.exe"; }

std::wstring BrowseFolderOf(const std::wstring& content) {
    const std::wstring trimmed = TrimSpaces(content);
    return trimmed.substr(0, trimmed.size() - FileNameOf(trimmed).size());
}

}  // namespace quibex
