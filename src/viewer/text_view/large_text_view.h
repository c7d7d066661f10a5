// A read-only view for texts too large for a rich-edit box: the text is
// decoded once into memory of about twice its characters, laid out in rows
// at the view's width as it arrives, and only the rows on screen are drawn.
//
// It answers the rich-edit messages the viewer and its tests use (selection,
// lines, scrolling, text and length, colours and font, find), so code that
// drives a text box drives this one the same way. Its text holds one CR per
// line break, as a rich-edit box does.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "viewer/text_view/link_table.h"

namespace quibex {

inline constexpr const wchar_t* kLargeTextClass = L"QuibexLargeText";

// Creates the view as a child of `parent` (registers the class on first use).
HWND CreateLargeTextView(HWND parent, int id, const RECT& rect);
bool IsLargeTextView(HWND hwnd);
// Starts showing the text of `path`: the first part at once, the rest from
// the message loop unless `complete`, when the whole text is read first.
// False when the file cannot be read.
bool LoadLargeText(HWND view, const std::wstring& path, bool complete);
// True while the rest of the text is still being read.
bool LargeTextPending(HWND view);
// How much of a pending view's file has been read, in percent, at most 99
// until the text is read and laid out; -1 when nothing is pending.
int LargeTextProgress(HWND view);
// Marks the links of the text as it arrives, the part read first (the
// screen's) at once; call before LoadLargeText. The scan stops after the
// first candidate past `limitChars`.
void EnableLargeTextLinks(HWND view, uint64_t limitChars);
// The links marked so far; nullptr when the view marks none.
const LinkTable* LargeTextLinks(HWND view);

}  // namespace quibex
