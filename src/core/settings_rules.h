// Value rules of the settings file that need no file: normalisation of read
// values, trimming, and where the file lives.
#pragma once

#include <cstdint>
#include <string>

namespace quibex {

// 1 when the value is not 0.
inline int16_t NonZero(int32_t v) { return v != 0 ? 1 : 0; }
// 1 only when the value is exactly 1.
inline int16_t ExactlyOne(int32_t v) { return v == 1 ? 1 : 0; }
int16_t ClampOpenMax(int32_t v);          // 1..10
int16_t ClampFontSize(int32_t v);         // 8..72
int16_t NormaliseTabName(int32_t v);      // 0..3, anything else 0
int32_t NormaliseWindowState(int32_t v);  // 2 stays 2, anything else 0
// Nine "0"/"1" flags; shorter values of older files gain switched-on flags in front.
std::wstring NormaliseShortCutKey(const std::wstring& trimmed);
// Maps a legacy "Option3" value to "NoText": 1 -> 1, 2 -> 2, 3 -> 1, other -> 0.
int16_t MapLegacyNoText(int32_t v);

// The text before the first NUL, without leading and trailing spaces.
std::wstring TrimAtNul(const std::wstring& text);

// "Quibex.ini" in the program folder; a drive root such as C:\ gets no second "\".
std::wstring IniPathFor(const std::wstring& appFolder);

}  // namespace quibex
