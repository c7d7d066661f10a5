// A text of ordinary size in a rich-edit box: the first page shows at once,
// the rest follows one page per tick of the box's own timer (timers wait
// for input and painting, so the window stays responsive). Links are found
// as the text arrives and coloured as they are found.
//
// Links are kept as ranges (link_table.h) rather than as a flag in a hidden
// copy of the box: colouring them moves the box's selection only while the
// box does not draw, and the pointer test reads the table, so the selection
// and the caret the reader sees never move.
#pragma once

#include <memory>
#include <string>

#include "viewer/text_view/link_scanner.h"
#include "viewer/text_view/rich_text_pages.h"
#include "viewer/text_view/text_view.h"

namespace quibex {

class RichTextView final : public TextView {
public:
    // Takes a rich-edit box that lives at least as long as this object.
    explicit RichTextView(HWND box);
    ~RichTextView() override;

    void MarkLinks(uint64_t limitChars) override { linkLimit_ = limitChars; }
    bool Load(const std::wstring& path, bool complete) override;
    bool ContinueLoading() override;
    bool Pending() const override { return pages_ && pages_->Filling(); }
    int Progress() const override { return -1; }
    void StopLoading() override;
    const LinkTable* Links() const override { return marks_ ? &marks_->table : nullptr; }

private:
    struct LinkMarks {
        explicit LinkMarks(uint64_t limitChars) : finder(limitChars) {}
        LinkFinder finder;
        LinkTable table;
        std::wstring text;    // the box's text as far as it has been scanned
        size_t coloured = 0;  // links [0, coloured) have their colour
    };
    static bool OnBoxMessage(HWND box, UINT msg, WPARAM wp, LPARAM lp, DWORD_PTR self, LRESULT& result);
    void ScanLinks();
    void ColourNewLinks();
    void Unmark();

    std::unique_ptr<RichTextPages> pages_;
    uint64_t linkLimit_ = 0;
    std::unique_ptr<LinkMarks> marks_;
};

}  // namespace quibex
