#include "search/box_find.h"

#include <commdlg.h>

#include <algorithm>
#include <string>

#include "core/window_base.h"
#include "search/system_case.h"
#include "search/text_find.h"

namespace quibex {
namespace {

// The box's text with one CR per paragraph end, as its positions count.
std::wstring BoxText(HWND box) {
    GETTEXTLENGTHEX length{GTL_NUMCHARS | GTL_PRECISE, 1200};
    const auto n = SendMessageW(box, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0);
    if (n <= 0) return {};
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    GETTEXTEX get{static_cast<DWORD>(text.size() * sizeof(wchar_t)), GT_DEFAULT, 1200, nullptr, nullptr};
    text.resize(static_cast<size_t>(
        SendMessageW(box, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get), reinterpret_cast<LPARAM>(text.data()))));
    return text;
}

bool AnswerFind(HWND box, UINT msg, WPARAM wp, LPARAM lp, DWORD_PTR, LRESULT& result) {
    if (msg != EM_FINDTEXTEXW) return false;
    const std::wstring text = BoxText(box);
    result = FindInText(text.data(), text.size(), wp, reinterpret_cast<FINDTEXTEXW*>(lp));
    return true;
}

}  // namespace

LONG FindInText(const wchar_t* text, size_t size, WPARAM flags, FINDTEXTEXW* find) {
    if (!find) return -1;
    find->chrgText = CHARRANGE{-1, -1};
    if (!find->lpstrText || !*find->lpstrText) return -1;
    // A negative position is the end of the text.
    auto clamp = [&](LONG pos) { return pos < 0 ? size : std::min(static_cast<size_t>(pos), size); };
    const TextFinder finder(find->lpstrText, flags & FR_MATCHCASE, flags & FR_WHOLEWORD, SystemUpperTable());
    const size_t from = clamp(find->chrg.cpMin), to = clamp(find->chrg.cpMax);
    const size_t at =
        (flags & FR_DOWN) ? finder.FindDown(text, size, from, to) : finder.FindUp(text, size, from, std::min(to, from));
    if (at == kNotFound) return -1;
    find->chrgText = CHARRANGE{static_cast<LONG>(at), static_cast<LONG>(at + finder.Length())};
    return static_cast<LONG>(at);
}

void FindWithTextRules(HWND richEdit) { FilterMessages(richEdit, AnswerFind); }

}  // namespace quibex
