// FindTextInView: the search in a text box of the viewer, a rich-edit box or
// the large-text view (both answer the same messages).
#pragma once

#include <windows.h>

#include <string>

namespace quibex {

inline constexpr int kSearchMatchCase = 4;  // the flag of "大文字と小文字を区別する"

// Searches `box` for `what` from the end of its selection to the end of the
// text, without wrapping. Found: selects the hit, scrolls it into view and
// returns true. Not found: beeps, keeps the selection, returns false. The
// string is searched as Unicode, so any character of the text can be found.
bool FindTextInView(HWND box, const std::wstring& what, int flags);

}  // namespace quibex
