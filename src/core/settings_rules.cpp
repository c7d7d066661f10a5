#include "core/settings_rules.h"

#include <algorithm>

namespace quibex {

int16_t ClampOpenMax(int32_t v) { return static_cast<int16_t>(std::clamp<int32_t>(v, 1, 10)); }

int16_t ClampFontSize(int32_t v) { return static_cast<int16_t>(std::clamp<int32_t>(v, 8, 72)); }

int16_t NormaliseTabName(int32_t v) { return v >= 0 && v <= 3 ? static_cast<int16_t>(v) : 0; }

int32_t NormaliseWindowState(int32_t v) { return v == 2 ? 2 : 0; }

std::wstring NormaliseShortCutKey(const std::wstring& trimmed) {
    const std::wstring fallback = L"111110111";
    if (trimmed.size() < 6 || trimmed.size() > 9) return fallback;
    // "Numeric" as the settings file has always meant it: digits only.
    if (!std::all_of(trimmed.begin(), trimmed.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; })) return fallback;
    return std::wstring(9 - trimmed.size(), L'1') + trimmed;
}

int16_t MapLegacyNoText(int32_t v) {
    switch (v) {
    case 1: return 1;
    case 2: return 2;
    case 3: return 1;
    default: return 0;
    }
}

std::wstring TrimAtNul(const std::wstring& text) {
    std::wstring s = text.substr(0, text.find(L'\0'));
    size_t first = s.find_first_not_of(L' ');
    if (first == std::wstring::npos) return L"";
    size_t last = s.find_last_not_of(L' ');
    return s.substr(first, last - first + 1);
}

std::wstring IniPathFor(const std::wstring& appFolder) {
    if (appFolder.size() < 4 && !appFolder.empty() && appFolder.back() == L'\\') return appFolder + L"Quibex.ini";
    return appFolder + L"\\Quibex.ini";
}

}  // namespace quibex
