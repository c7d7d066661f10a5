// Finding a string in UTF-16 text with the rules of the viewer's text boxes:
// without match case two characters are equal when their upper-case forms
// are; a whole-word match has no ASCII letter, digit or "_" on either side.
// The rich-edit boxes find with their own messages; the large-text view finds
// with this, so both give the same answers. The scan looks for the first
// character's forms with a tight loop and compares the rest only there.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quibex {

inline constexpr size_t kNotFound = static_cast<size_t>(-1);

// Maps each of the 65536 UTF-16 units to its upper-case form.
using UpperTable = std::vector<wchar_t>;

class TextFinder {
public:
    // `upper` must outlive the finder.
    TextFinder(std::wstring_view what, bool matchCase, bool wholeWord, const UpperTable& upper);

    // The first match lying wholly inside [from, to) of the `size` units of
    // `text`; kNotFound when there is none or the string is empty.
    size_t FindDown(const wchar_t* text, size_t size, size_t from, size_t to) const;
    // The last match lying wholly inside [low, from).
    size_t FindUp(const wchar_t* text, size_t size, size_t from, size_t low) const;
    size_t Length() const { return what_.size(); }

private:
    bool MatchesAt(const wchar_t* text, size_t size, size_t at) const;
    // The first unit in [p, end) that is one of the first character's forms.
    const wchar_t* ScanFirst(const wchar_t* p, const wchar_t* end) const;

    std::wstring what_;
    bool matchCase_;
    bool wholeWord_;
    const UpperTable& upper_;
    std::vector<wchar_t> firstForms_;  // every unit the first character matches
};

// ASCII letters and digits and "_": what a whole word may not touch.
bool IsWordUnit(wchar_t c);

}  // namespace quibex
