#include "viewer/tab_caption.h"

#include "core/path_text.h"

namespace quibex {

bool ShortCutDigitOn(const std::wstring& shortCutKey, int position) {
    if (position < 1 || static_cast<size_t>(position) > shortCutKey.size()) return false;
    return shortCutKey[static_cast<size_t>(position) - 1] == L'1';
}

std::wstring TabCaption(const std::wstring& name, size_t index, const CaptionRules& rules) {
    std::wstring caption = ApplyTabNameStyle(name, rules.tabName);
    if (rules.noExt) {
        size_t dot = caption.rfind(L'.');
        if (dot != std::wstring::npos) caption.erase(dot);
    }
    if (rules.numbered) caption = L"[" + std::to_wstring(index) + L"] " + caption;
    return caption;
}

std::wstring TabTooltip(size_t index, const CaptionRules& rules) {
    return rules.numbered ? L"Alt + " + std::to_wstring(index) : std::wstring();
}

std::wstring DropNumberPrefix(const std::wstring& caption) {
    return caption.size() >= 4 ? caption.substr(4) : std::wstring();
}

bool IsReadmeName(const std::wstring& name) { return ToLower(name) == kReadmeName; }

}  // namespace quibex
