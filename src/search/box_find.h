// EM_FINDTEXTEXW with one set of rules for every text box of the viewer: the
// rules of text_find.h, with the system's upper-case mapping for the case
// rule. The large-text view answers the message with FindInText; rich-edit
// boxes are made to answer it the same way, since their own search folds
// only ASCII letters on some systems (Wine's) and all letters on others. So
// "ｑｕｉｂｅｘ" finds "ＱＵＩＢＥＸ" in a short text and in a large one alike.
#pragma once

#include <windows.h>

#include <richedit.h>

namespace quibex {

// The answer to EM_FINDTEXTEXW (`flags`: FR_DOWN, FR_MATCHCASE, FR_WHOLEWORD)
// over `size` units of `text`, positions counted as a box counts them: the
// match's start, or -1; `find->chrgText` is set either way.
LONG FindInText(const wchar_t* text, size_t size, WPARAM flags, FINDTEXTEXW* find);

// Makes the rich-edit box answer EM_FINDTEXTEXW with FindInText over its text.
void FindWithTextRules(HWND richEdit);

}  // namespace quibex
