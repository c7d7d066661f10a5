#include "viewer/text_view/rich_text_pages.h"

#include <richedit.h>

#include <algorithm>

namespace quibex {
namespace {

struct WideStream {
    const std::wstring* text;
    size_t taken;
};

DWORD CALLBACK FromString(DWORD_PTR cookie, LPBYTE out, LONG cb, LONG* written) {
    auto* s = reinterpret_cast<WideStream*>(cookie);
    size_t chars = std::min<size_t>(s->text->size() - s->taken, static_cast<size_t>(cb) / sizeof(wchar_t));
    // A CR at the end of one piece and its LF at the start of the next make
    // two line breaks in the control; keep the pair in one piece.
    if (chars > 1 && s->taken + chars < s->text->size() && (*s->text)[s->taken + chars - 1] == L'\r') --chars;
    memcpy(out, s->text->data() + s->taken, chars * sizeof(wchar_t));
    s->taken += chars;
    *written = static_cast<LONG>(chars * sizeof(wchar_t));
    return 0;
}

void Stream(HWND box, const std::wstring& text, bool selection) {
    WideStream s{&text, 0};
    EDITSTREAM es{};
    es.dwCookie = reinterpret_cast<DWORD_PTR>(&s);
    es.pfnCallback = FromString;
    SendMessageW(box, EM_STREAMIN, SF_TEXT | SF_UNICODE | (selection ? SFF_SELECTION : 0),
                 reinterpret_cast<LPARAM>(&es));
}

void ScrollToLine(HWND box, LONG line) {
    auto now = static_cast<LONG>(SendMessageW(box, EM_GETFIRSTVISIBLELINE, 0, 0));
    if (line != now) SendMessageW(box, EM_LINESCROLL, 0, line - now);
}

}  // namespace

RichTextPages::RichTextPages(HWND box, HANDLE file, const TextDecoder& start) : box_(box), file_(file) {
    pages_.push_back(Page{0, start, {}});
}

RichTextPages::~RichTextPages() = default;

std::wstring RichTextPages::DecodePage(size_t k) {
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(pages_[k].offset);
    SetFilePointerEx(file_.get(), at, nullptr, FILE_BEGIN);
    TextDecoder decoder = pages_[k].start;
    std::wstring text = pages_[k].carry;
    uint64_t read = 0, size = k == 0 ? kFirstPageBytes : kPageBytes;
    bool eof = false;
    std::string chunk(64 * 1024, '\0');
    while (read < size) {
        DWORD want = static_cast<DWORD>(std::min<uint64_t>(chunk.size(), size - read)), got = 0;
        if (!ReadFile(file_.get(), chunk.data(), want, &got, nullptr) || got == 0) {
            eof = true;
            break;
        }
        read += got;
        decoder.Feed(reinterpret_cast<const uint8_t*>(chunk.data()), got, false, text);
    }
    if (eof) decoder.Feed(nullptr, 0, true, text);
    // A CR that ends a page goes to the next one, so that a CR LF pair cut by
    // the page boundary stays one line break.
    std::wstring carry;
    if (!eof && !text.empty() && text.back() == L'\r') {
        text.pop_back();
        carry = L"\r";
    }
    if (k + 1 == pages_.size()) {
        if (eof)
            endKnown_ = true;
        else
            pages_.push_back(Page{pages_[k].offset + read, decoder, carry});
    }
    return text;
}

LONG RichTextPages::Length() const {
    GETTEXTLENGTHEX q{GTL_NUMCHARS | GTL_PRECISE, 1200};
    return static_cast<LONG>(SendMessageW(box_, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&q), 0));
}

// Text comes in below what the reader sees without moving it: the selection
// and the first visible line are put back once the control draws again (it
// ignores scrolling while it does not).
void RichTextPages::Append(const std::wstring& text) {
    CHARRANGE sel{};
    SendMessageW(box_, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&sel));
    auto firstLine = static_cast<LONG>(SendMessageW(box_, EM_GETFIRSTVISIBLELINE, 0, 0));
    SendMessageW(box_, WM_SETREDRAW, FALSE, 0);
    LONG end = Length();
    CHARRANGE where{end, end};
    SendMessageW(box_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&where));
    Stream(box_, text, true);
    SendMessageW(box_, WM_SETREDRAW, TRUE, 0);
    SendMessageW(box_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&sel));
    ScrollToLine(box_, firstLine);
    InvalidateRect(box_, nullptr, FALSE);
}

void RichTextPages::LoadFirst() {
    std::wstring text = DecodePage(0);
    Stream(box_, text, false);
    last_ = 1;
}

bool RichTextPages::FillStep() {
    if (!Filling()) return false;
    Append(DecodePage(last_));
    ++last_;
    return Filling();
}

}  // namespace quibex
