// Tab caption rules of the viewer: letter case, extension, the "[n] " number
// prefix and the "Alt + n" tooltip. Pure string work.
#pragma once

#include <string>

#include "core/tab_name_style.h"

namespace quibex {

// True when digit `position` (1-based) of the "ShortCutKey" text is "1".
bool ShortCutDigitOn(const std::wstring& shortCutKey, int position);

struct CaptionRules {
    int tabName = 0;        // "TabName"
    bool noExt = false;     // "NoExt" is 1
    bool numbered = false;  // sixth "ShortCutKey" digit is 1
};

// The caption of the tab with 0-based `index` for the file `name`.
std::wstring TabCaption(const std::wstring& name, size_t index, const CaptionRules& rules);
// The tooltip of that tab: "Alt + n" when numbered, else empty.
std::wstring TabTooltip(size_t index, const CaptionRules& rules);
// A single numbered tab loses its "[0] " prefix.
std::wstring DropNumberPrefix(const std::wstring& caption);

// The readme the viewer puts first, and its placeholder caption.
inline constexpr const wchar_t* kReadmeName = L"readme.txt";
inline constexpr const wchar_t* kReadmePlaceholder = L"Readme.txt";
bool IsReadmeName(const std::wstring& name);

}  // namespace quibex
