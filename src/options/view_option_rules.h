// Rules of the viewer options window that need no window: which "ShortCutKey"
// digits its boxes own, the hyperlink count kept on closing, the font size a
// font dialog answer stands for, the tab-name preview, the sample's caption
// and place, and the fallbacks for unusable font and colour settings.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace quibex {

// The six shortcut boxes, top to bottom: the "ShortCutKey" digit (1-based)
// each owns, and whether only a "1" ticks it (the jump keys) rather than
// anything but a "0". Digits 4, 8 and 9 belong to no box.
struct ShortCutBox {
    int digit;
    bool onlyOneTicks;
};
inline constexpr std::array<ShortCutBox, 6> kShortCutBoxes = {
    {{1, false}, {2, false}, {3, false}, {7, false}, {5, false}, {6, true}}};
using ShortCutTicks = std::array<bool, kShortCutBoxes.size()>;

ShortCutTicks ShortCutTicksOf(const std::wstring& shortCutKey);
// `shortCutKey` with the boxes' digits replaced by "0"/"1" in place; the
// other characters stay as they are (a key too short is first filled up
// from the default "111110111").
std::wstring ShortCutKeyWith(const std::wstring& shortCutKey, const ShortCutTicks& ticks);

// "HiperLink" after the window: 0 when unticked, 3 when ticked from 0, else
// the count as it was.
int32_t HiperLinkAfter(bool ticked, int32_t setting);

// Whole points from a font dialog's tenths of a point, halves to the even neighbour.
int PointSizeFromTenths(int tenths);

// The text of both tab-position options: "Readme.txt", or "Readme" without
// extensions, in the letter case of `tabNameStyle`.
std::wstring TabNameSample(int tabNameStyle, bool noExt);

// The sample text: face name, a space, the size and "P" ("ＭＳ ゴシック 9P").
std::wstring SampleCaption(const std::wstring& faceName, int pointSize);

struct SampleRect {
    int left, top, width, height;
};
// The sample text of `width` × `height` centred on `back`; with `fit` it is
// first cut to 0.9 of the area in each direction it is larger in.
SampleRect PlaceSample(const SampleRect& back, int width, int height, bool fit);

// A colour setting the window can show: an RGB value (0..0xFFFFFF) or a
// system colour reference (0x80000000 + 0..30); anything else is `fallback`.
int32_t UsableColour(int32_t value, int32_t fallback);
// A face name a font can be made from (1 to 31 characters, no control
// characters); anything else is the default "ＭＳ ゴシック".
std::wstring UsableFontName(const std::wstring& name);

}  // namespace quibex
