// One tab's text on screen, whichever box shows it. A text of ordinary size
// goes into a rich-edit box page by page (rich_text_view.h); a larger one
// into a large-text view (large_text_view.h), which holds about two bytes
// per character where the rich-edit box would cost many times the text.
// The viewer asks this interface and never which kind of box it holds.
//
// Both boxes answer the rich-edit messages for the rest: selection, lines,
// scrolling, and find (EM_FINDTEXTEXW by the rules of search/box_find.h).
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "viewer/text_view/link_table.h"

namespace quibex {

class TextView {
public:
    virtual ~TextView() = default;
    TextView(const TextView&) = delete;
    TextView& operator=(const TextView&) = delete;

    HWND Box() const { return box_; }

    // Marks the links of the text as it arrives, the first part at once;
    // the scan stops after the first candidate past `limitChars`. Call
    // before Load; 0 marks none.
    virtual void MarkLinks(uint64_t limitChars) = 0;
    // Shows the text of `path` with the caret at its start: the first part
    // at once, the rest from the message loop (the view steps itself) unless
    // `complete`, when the whole text is read first. False when the file
    // cannot be read; the box is then empty.
    virtual bool Load(const std::wstring& path, bool complete) = 0;
    // Reads the next part now; true while more is to come.
    virtual bool ContinueLoading() = 0;
    // True while the rest of the text is still being read.
    virtual bool Pending() const = 0;
    // How much of a pending text has been read, in percent, for the caption;
    // -1 when nothing is pending or the view reads too fast to be shown.
    virtual int Progress() const = 0;
    // Stops reading and lets go of the file, keeping what is shown.
    virtual void StopLoading() = 0;
    // The links marked so far; nullptr when the view marks none.
    virtual const LinkTable* Links() const = 0;

    // The characters [from, to) of the text, and the character under a point
    // of the box (the one whose cell holds it, not the nearest boundary).
    std::wstring TextBetween(size_t from, size_t to) const;
    size_t CharAt(POINT p) const;

protected:
    explicit TextView(HWND box) : box_(box) {}

private:
    HWND box_;
};

// Texts up to this size go into a rich-edit box, larger ones into a large-text view.
inline constexpr uint64_t kRichTextMaxBytes = 512 * 1024;

// A hidden rich-edit box as a child of `parent`, filling it, with the
// settings' font and colours; nullptr when the control cannot be made.
std::unique_ptr<TextView> MakeRichTextView(HWND parent, int id);
// Fits `view` to a text of `bytes` bytes: a text too large for a rich-edit
// box gets a large-text view in the box's place (position, size, id,
// visibility, tab stop, place among its siblings, focus), and the box goes.
// True when the view was replaced; the old one stays when no view can be made.
bool FitViewToText(std::unique_ptr<TextView>& view, uint64_t bytes);

}  // namespace quibex
