// A text shown page by page. The first page shows at once, the box is then
// filled up to a window of pages from the message loop, and further pages
// come as the reader nears the end of what is loaded, up to a cap.
//
// Why the cap, and why pages are never dropped again: the rich-edit control
// of Wine keeps about 90 bytes per character of a text with short lines
// (a 50 MiB text would need gigabytes, past a 32-bit process), and deleting
// text from a large document costs it seconds per call whatever the size
// of the deleted part. So the box only grows, and stops at kMaxPages.
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

#include "viewer/text_encoding.h"

namespace quibex {

class TextWindow {
public:
    static constexpr uint64_t kFirstPageBytes = 32 * 1024;  // a few screens: shown before anything else
    static constexpr uint64_t kPageBytes = 256 * 1024;
    static constexpr size_t kWindowPages = 8;  // filled at once: about 2 MiB of the file
    static constexpr size_t kMaxPages = 24;    // 6 MiB of the file at most in the box

    // Takes over `file`, positioned anywhere; `start` decodes its first byte.
    TextWindow(HWND box, HANDLE file, const TextDecoder& start);
    ~TextWindow();
    TextWindow(const TextWindow&) = delete;
    TextWindow& operator=(const TextWindow&) = delete;

    // Replaces the box's text with the first page.
    void LoadFirst();
    // Adds the next page while the window is not full yet; true when
    // another step is wanted.
    bool FillStep();
    bool Filling() const;
    // Adds the next page when the view reaches the last loaded one; true
    // when a page came.
    bool Slide();
    // Pages of the file before (never, as pages are not dropped) or after the loaded ones.
    bool MoreBefore() const { return first_ > 0; }
    bool MoreAfter() const { return last_ < pages_.size() || !endKnown_; }
    size_t FirstPage() const { return first_; }
    size_t LoadedPages() const { return last_ - first_; }

private:
    struct Page {
        uint64_t offset;
        TextDecoder start;
        std::wstring carry;  // text the previous page left for this one
        LONG chars = 0;      // characters in the box once loaded
    };
    std::wstring DecodePage(size_t k);
    void Insert(const std::wstring& text, bool atStart);
    LONG Length() const;
    LONG FirstVisibleChar() const;
    LONG LastVisibleChar() const;

    HWND box_;
    HANDLE file_;
    std::vector<Page> pages_;
    size_t first_ = 0, last_ = 0;  // loaded pages [first_, last_)
    bool endKnown_ = false;        // pages_ holds every page of the file
};

}  // namespace quibex
