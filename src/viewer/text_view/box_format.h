// What the text boxes of either kind share: their look from the settings,
// and colouring a rich-edit box's text without the reader seeing it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

namespace quibex {

// Background, font and size from the settings; nothing is ever edited.
void ApplyTextLook(HWND box);
// The settings' text colour from position `from` on, unless it is the default.
void ApplyTextColour(HWND box, LONG from);

LONG TextLength(HWND box);
void SetBoxText(HWND box, const std::wstring& text);
void ColourRange(HWND box, LONG start, LONG length, COLORREF colour);
// Runs `format`, which moves the selection to colour text, without the
// reader seeing it: the selection and the first visible line come back.
void FormatKeepingView(HWND box, const std::function<void()>& format);

// A colour of the settings: an RGB value, or a system colour with the high bit set.
COLORREF ResolveColour(int32_t value);
bool IsDefaultTextColour(int32_t value);

}  // namespace quibex
