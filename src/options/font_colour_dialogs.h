// The system's font and colour dialogs, as the viewer options window asks
// for them.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace quibex {

struct FontSpec {
    std::wstring FaceName;
    int32_t PointSize = 0;  // whole points
    int16_t Italic = 0;
    int32_t Weight = 0;
    int16_t Underline = 0;
    int16_t StrikeOut = 0;
    COLORREF FontColor = 0;
};

inline constexpr int32_t kFontDialogCancelled = -1;
inline constexpr int32_t kColourDialogCancelled = -1;
inline constexpr int32_t kColourDialogFailed = -9;

// Shows the font dialog (screen fonts with colour, underline and strikeout)
// initialised from `font`, `flags` added. 0 when a font was chosen and
// `font` now holds it; kFontDialogCancelled; else the dialog's extended
// error code.
int32_t ShowFontDialog(HWND owner, FontSpec& font, DWORD flags);
// Shows the colour dialog on `initial`, `flags` added; the chosen RGB colour,
// kColourDialogCancelled, or kColourDialogFailed.
int32_t ShowColorDialog(HWND owner, COLORREF initial, DWORD flags);

}  // namespace quibex
