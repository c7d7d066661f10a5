#include "viewer/text_view/link_scanner.h"

#include <algorithm>

namespace quibex {
namespace {

constexpr std::wstring_view kUrlMarker = L"://";
constexpr std::wstring_view kMailPrefix = L"mailto:";
constexpr size_t kMinUrlLength = 5;   // "a://b"
constexpr size_t kMinMailLength = 3;  // "a@b"

// The first `marker` at or after `from` in text[0, available), or SIZE_MAX.
// `cached` and `searched` carry what earlier searches learnt: the first
// marker at or after an earlier start, and the end of a stretch that holds
// none. A marker that may run past `available` is not reported yet.
size_t NextMarker(const wchar_t* text, size_t available, size_t from, std::wstring_view marker, size_t& cached,
                  size_t& searched) {
    if (cached != SIZE_MAX && cached >= from) return cached;
    cached = SIZE_MAX;
    const wchar_t* begin = text + std::max(from, searched);
    const wchar_t* end = text + available;
    if (begin >= end) return SIZE_MAX;
    const wchar_t* at = std::search(begin, end, marker.begin(), marker.end());
    if (at != end) return cached = static_cast<size_t>(at - text);
    // A marker cut by the end of what has arrived starts in its last characters.
    searched = std::max(from, available >= marker.size() - 1 ? available - (marker.size() - 1) : 0);
    return SIZE_MAX;
}

}  // namespace

bool IsLinkWordChar(wchar_t c) {
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || (c >= L'0' && c <= L'9') || c == L'.' || c == L'_' ||
           c == L'-';
}

bool IsUrlPunctuation(wchar_t c) {
    switch (c) {
    case L'/':
    case L'~':
    case L'#':
    case L'?':
    case L'=':
    case L';':
    case L'&':
    case L':':
    case L'|':
    case L',':
    case L'$':
    case L'!':
    case L'*':
    case L'@':
    case L'+':
    case L'%': return true;
    default: return false;
    }
}

ScanResult FindNextLink(const wchar_t* text, size_t available, bool complete, LinkScan& s) {
    const ScanResult wait = complete ? ScanResult::End : ScanResult::NeedMore;
    if (s.LinkScanPos + 1 >= available) return wait;
    const size_t url = NextMarker(text, available, s.LinkScanPos, kUrlMarker, s.nextUrl, s.urlSearched);
    const size_t mail = NextMarker(text, available, s.LinkScanPos, L"@", s.nextMail, s.mailSearched);
    // A "://" not there yet cannot come before an "@" that is: the earlier
    // of the two found decides.
    if (url == SIZE_MAX && mail == SIZE_MAX) return wait;
    const LinkKind kind = url < mail ? LinkKind::Url : LinkKind::Mail;
    const size_t marker = std::min(url, mail);

    // Backwards over word characters: the scheme letters or the local part.
    size_t start = marker;
    while (start > 0 && IsLinkWordChar(text[start - 1])) --start;
    if (start == marker) {
        s.LinkScanPos = marker + 1;
        return ScanResult::Rejected;
    }
    if (kind == LinkKind::Mail && start >= kMailPrefix.size() &&
        std::wstring_view(text + start - kMailPrefix.size(), kMailPrefix.size()) == kMailPrefix) {
        start -= kMailPrefix.size();
    }

    // Forwards over word characters, for a URL also over its punctuation.
    size_t end = marker + 1;
    while (end < available && (IsLinkWordChar(text[end]) || (kind == LinkKind::Url && IsUrlPunctuation(text[end])))) {
        ++end;
    }
    if (end == available && !complete) return ScanResult::NeedMore;
    if (end == marker + 1) {
        s.LinkScanPos = marker + 1;
        return ScanResult::Rejected;
    }

    s.LinkStart = start;
    s.LinkEnd = end;
    s.Kind = kind;
    s.LinkScanPos = end;
    const size_t shortest = kind == LinkKind::Url ? kMinUrlLength : kMinMailLength;
    return end - start < shortest ? ScanResult::Rejected : ScanResult::Found;
}

bool LinkFinder::Advance(const wchar_t* text, size_t available, bool complete, LinkTable& table) {
    while (!done_) {
        ScanResult r = FindNextLink(text, available, complete, scan_);
        if (r == ScanResult::NeedMore) return false;
        if (r == ScanResult::End) break;
        if (r == ScanResult::Found) table.Add({scan_.LinkStart, scan_.LinkEnd, scan_.Kind == LinkKind::Mail});
        if (scan_.LinkScanPos >= limit_) break;
    }
    done_ = true;
    return true;
}

uint64_t LinkScanLimit(int32_t hiperLink) { return hiperLink > 0 ? static_cast<uint64_t>(hiperLink) * 10000u : 0; }

std::wstring LinkTarget(std::wstring_view link) {
    const bool mail = link.find(L'@') != std::wstring_view::npos && link.find(L'/') == std::wstring_view::npos;
    if (mail && !link.starts_with(kMailPrefix)) return std::wstring(kMailPrefix) + std::wstring(link);
    return std::wstring(link);
}

}  // namespace quibex
