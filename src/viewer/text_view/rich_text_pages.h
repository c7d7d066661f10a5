// A text of ordinary size shown in a rich-edit box page by page: the first
// page shows at once, the others follow from the message loop. (Larger
// texts go to a large-text view: the rich-edit control of Wine keeps about
// 90 bytes per character of a text with short lines.)
//
// Pages are cut at fixed byte offsets; each page remembers the decoder state
// at its start (bytes of a cut character, the ISO-2022-JP mode) and a CR
// the previous page left over, so a CR LF pair cut by a boundary stays one
// line break.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/handle.h"
#include "viewer/text_view/text_encoding.h"

namespace quibex {

class RichTextPages {
public:
    static constexpr uint64_t kFirstPageBytes = 32 * 1024;  // a few screens: shown before anything else
    static constexpr uint64_t kPageBytes = 128 * 1024;

    // Takes over `file`, positioned anywhere; `start` decodes its first byte.
    RichTextPages(HWND box, HANDLE file, const TextDecoder& start);
    ~RichTextPages();
    RichTextPages(const RichTextPages&) = delete;
    RichTextPages& operator=(const RichTextPages&) = delete;

    // Replaces the box's text with the first page.
    void LoadFirst();
    // Adds the next page; true when another step is wanted.
    bool FillStep();
    // True until the whole text is in the box.
    bool Filling() const { return last_ < pages_.size() || !endKnown_; }

private:
    struct Page {
        uint64_t offset;
        TextDecoder start;
        std::wstring carry;  // text the previous page left for this one
    };
    std::wstring DecodePage(size_t k);
    void Append(const std::wstring& text);
    LONG Length() const;

    HWND box_;
    UniqueHandle file_;
    std::vector<Page> pages_;
    size_t last_ = 0;        // pages [0, last_) are in the box
    bool endKnown_ = false;  // pages_ holds every page of the file
};

}  // namespace quibex
