#include "options/view_option_rules.h"

#include <cmath>

#include "core/settings.h"
#include "core/tab_name_style.h"

namespace quibex {
namespace {

constexpr wchar_t kDefaultShortCutKey[] = L"111110111";
constexpr int32_t kLastSystemColour = 30;  // COLOR_MENUBAR
constexpr size_t kFaceNameChars = 31;      // LF_FACESIZE less the NUL

// Shrinks a side larger than the area to 0.9 of it, then centres it.
void FitAndCentre(int area, int& size, int& start, int areaStart, bool fit) {
    if (fit && size > area) size = static_cast<int>(std::lround(area * 0.9));
    start = areaStart + (area - size) / 2;
}

}  // namespace

ShortCutTicks ShortCutTicksOf(const std::wstring& shortCutKey) {
    ShortCutTicks ticks{};
    for (size_t i = 0; i < kShortCutBoxes.size(); ++i) {
        const auto at = static_cast<size_t>(kShortCutBoxes[i].digit - 1);
        const wchar_t digit = at < shortCutKey.size() ? shortCutKey[at] : L'\0';
        ticks[i] = kShortCutBoxes[i].onlyOneTicks ? digit == L'1' : digit != L'0';
    }
    return ticks;
}

std::wstring ShortCutKeyWith(const std::wstring& shortCutKey, const ShortCutTicks& ticks) {
    std::wstring key = shortCutKey;
    const std::wstring fill = kDefaultShortCutKey;
    if (key.size() < fill.size()) key += fill.substr(key.size());
    for (size_t i = 0; i < kShortCutBoxes.size(); ++i)
        key[static_cast<size_t>(kShortCutBoxes[i].digit - 1)] = ticks[i] ? L'1' : L'0';
    return key;
}

int32_t HiperLinkAfter(bool ticked, int32_t setting) {
    if (!ticked) return 0;
    return setting == 0 ? 3 : setting;
}

int PointSizeFromTenths(int tenths) {
    const int whole = tenths / 10, rest = tenths % 10;
    if (rest > 5 || (rest == 5 && whole % 2 != 0)) return whole + 1;
    if (rest < -5 || (rest == -5 && whole % 2 != 0)) return whole - 1;
    return whole;
}

std::wstring TabNameSample(int tabNameStyle, bool noExt) {
    return ApplyTabNameStyle(noExt ? L"Readme" : L"Readme.txt", tabNameStyle);
}

std::wstring SampleCaption(const std::wstring& faceName, int pointSize) {
    return faceName + L" " + std::to_wstring(pointSize) + L"P";
}

SampleRect PlaceSample(const SampleRect& back, int width, int height, bool fit) {
    SampleRect r{0, 0, width, height};
    FitAndCentre(back.width, r.width, r.left, back.left, fit);
    FitAndCentre(back.height, r.height, r.top, back.top, fit);
    return r;
}

int32_t UsableColour(int32_t value, int32_t fallback) {
    const auto v = static_cast<uint32_t>(value);
    if (v <= 0xFFFFFFu) return value;
    if (v >= 0x80000000u && v - 0x80000000u <= static_cast<uint32_t>(kLastSystemColour)) return value;
    return fallback;
}

std::wstring UsableFontName(const std::wstring& name) {
    if (name.empty() || name.size() > kFaceNameChars) return kDefaultFontName;
    for (wchar_t c : name)
        if (c < L' ') return kDefaultFontName;
    return name;
}

}  // namespace quibex
