// URLs and mail addresses in a text, found by a hand-made character scan:
// a URL is found through "://", a mail address through "@"; the link grows
// backwards over word characters and forwards over word characters (a URL
// also over URL punctuation). Pure string work.
//
// Positions are 0-based character indexes of the text as a text box holds
// it (one CR per line break). The scan works on a text that is still
// arriving: it stops with NeedMore where the answer depends on characters
// not there yet, and gives the same links as a scan of the whole text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "viewer/text_view/link_table.h"

namespace quibex {

// A-Z, a-z, 0-9 and "." "_" "-".
bool IsLinkWordChar(wchar_t c);
// The characters that continue a URL besides word characters:
// / ~ # ? = ; & : | , $ ! * @ + %
bool IsUrlPunctuation(wchar_t c);

enum class LinkKind { Url, Mail };

enum class ScanResult {
    End,       // nothing more in the text
    Rejected,  // a candidate that is no link; the scan went on past it
    Found,     // a link: [LinkStart, LinkEnd)
    NeedMore,  // the answer needs characters not there yet; nothing changed
};

// The state of one scan.
struct LinkScan {
    size_t LinkScanPos = 0;  // where the next search starts
    size_t LinkStart = 0;    // the last candidate, [LinkStart, LinkEnd)
    size_t LinkEnd = 0;
    LinkKind Kind = LinkKind::Url;
    // The next "://" and "@" once seen, and how far a search found none, so
    // that each part of the text is searched once and the scan stays linear.
    size_t nextUrl = SIZE_MAX, urlSearched = 0;
    size_t nextMail = SIZE_MAX, mailSearched = 0;
};

// The next candidate from LinkScanPos in text[0, available). `complete`
// tells that the text ends there.
ScanResult FindNextLink(const wchar_t* text, size_t available, bool complete, LinkScan& scan);
inline ScanResult FindNextLink(std::wstring_view text, LinkScan& scan) {
    return FindNextLink(text.data(), text.size(), true, scan);
}

// Marks the links of one text, as far as the text has arrived: the scan
// ends at the first candidate whose scan position passes `limitChars`
// ("HiperLink" × 10000), that candidate still being a link.
class LinkFinder {
public:
    explicit LinkFinder(uint64_t limitChars) : limit_(limitChars) {}
    // Scans text[0, available) and adds the links found to `table`; true
    // once the scan is over.
    bool Advance(const wchar_t* text, size_t available, bool complete, LinkTable& table);
    bool Done() const { return done_; }
    // Ends the scan where it is.
    void Stop() { done_ = true; }

private:
    LinkScan scan_;
    uint64_t limit_;
    bool done_ = false;
};

// The scan bound of a "HiperLink" value: its number of 10,000-character
// blocks; 0 and below switch links off.
uint64_t LinkScanLimit(int32_t hiperLink);

// The target a click on `link` opens: a mail address written without
// "mailto:" gets it in front; anything else goes as written.
std::wstring LinkTarget(std::wstring_view link);

}  // namespace quibex
