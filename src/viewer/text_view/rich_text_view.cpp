#include "viewer/text_view/rich_text_view.h"

#include <richedit.h>

#include <algorithm>

#include "core/app_state.h"
#include "core/window_base.h"
#include "search/box_find.h"
#include "viewer/text_view/box_format.h"
#include "viewer/text_view/link_guard.h"
#include "viewer/text_view/text_file.h"

namespace quibex {
namespace {
// Out of the way of the timers the control keeps for itself.
constexpr UINT_PTR kPageTimer = 0x5158;
}  // namespace

RichTextView::RichTextView(HWND box) : TextView(box) {
    FindWithTextRules(box);  // finds as the large-text view does
    FilterMessages(box, OnBoxMessage, reinterpret_cast<DWORD_PTR>(this));
}

// Killing the timer also drops a tick already queued, so the filter never
// sees this object again.
RichTextView::~RichTextView() { KillTimer(Box(), kPageTimer); }

bool RichTextView::OnBoxMessage(HWND, UINT msg, WPARAM wp, LPARAM, DWORD_PTR self, LRESULT& result) {
    if (msg != WM_TIMER || wp != kPageTimer) return false;
    reinterpret_cast<RichTextView*>(self)->ContinueLoading();
    result = 0;
    return true;
}

bool RichTextView::Load(const std::wstring& path, bool complete) {
    HWND box = Box();
    KillTimer(box, kPageTimer);
    pages_.reset();
    marks_.reset();
    HANDLE file = OpenTextFile(path);
    bool opened = file != INVALID_HANDLE_VALUE;
    if (!opened) {
        SetBoxText(box, L"");
    } else {
        pages_ = std::make_unique<RichTextPages>(box, file, DecoderFor(file));
        pages_->LoadFirst();
        if (complete)
            while (pages_->FillStep()) {}
        ApplyTextColour(box, 0);
        if (pages_->Filling()) SetTimer(box, kPageTimer, USER_TIMER_MINIMUM, nullptr);
        ScanLinks();
    }
    SendMessageW(box, EM_SETSEL, 0, 0);
    return opened;
}

bool RichTextView::ContinueLoading() {
    if (!pages_) return false;
    HWND box = Box();
    LONG end = TextLength(box);
    bool more = pages_->FillStep();
    FormatKeepingView(box, [&] { ApplyTextColour(box, end); });
    ScanLinks();
    if (!more) KillTimer(box, kPageTimer);
    return more;
}

void RichTextView::StopLoading() {
    KillTimer(Box(), kPageTimer);
    pages_.reset();
}

void RichTextView::ScanLinks() {
    if (linkLimit_ == 0) return;
    if (!marks_) marks_ = std::make_unique<LinkMarks>(linkLimit_);
    if (marks_->finder.Done()) return;
    const bool failed = WithLinkErrorExit(kLinkMarkFailed, [&] {
        LinkMarks& m = *marks_;
        auto length = static_cast<size_t>(std::max<LONG>(TextLength(Box()), 0));
        if (length > m.text.size()) m.text += TextBetween(m.text.size(), length);
        m.finder.Advance(m.text.data(), m.text.size(), !Pending(), m.table);
        ColourNewLinks();
        // The copy was only for the scan; a click reads the box.
        if (m.finder.Done()) std::wstring().swap(m.text);
    });
    if (failed) Unmark();
}

void RichTextView::ColourNewLinks() {
    LinkMarks& m = *marks_;
    if (m.coloured == m.table.Count()) return;
    HWND box = Box();
    FormatKeepingView(box, [&] {
        for (; m.coloured < m.table.Count(); ++m.coloured) {
            const LinkRange& link = m.table[m.coloured];
            ColourRange(box, static_cast<LONG>(link.start), static_cast<LONG>(link.end - link.start),
                        link.mail ? kMailLinkColour : kUrlLinkColour);
        }
    });
}

// A failed marking leaves the text as it was before, no link and no
// colour, and the text is not scanned again.
void RichTextView::Unmark() {
    LinkMarks& m = *marks_;
    m.finder.Stop();
    HWND box = Box();
    const int32_t colour = AppSettings().TextColor;
    FormatKeepingView(box, [&] {
        for (size_t k = 0; k < m.coloured; ++k) {
            const LinkRange& link = m.table[k];
            CHARRANGE range{static_cast<LONG>(link.start), static_cast<LONG>(link.end)};
            SendMessageW(box, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
            CHARFORMAT2W cf{};
            cf.cbSize = sizeof cf;
            cf.dwMask = CFM_COLOR;
            cf.dwEffects = IsDefaultTextColour(colour) ? CFE_AUTOCOLOR : 0;
            cf.crTextColor = ResolveColour(colour);
            SendMessageW(box, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
        }
    });
    m.table.Clear();
    m.coloured = 0;
    std::wstring().swap(m.text);
}

std::unique_ptr<TextView> MakeRichTextView(HWND parent, int id) {
    RECT frame{};
    GetClientRect(parent, &frame);
    HWND box = CreateWindowExW(0, MSFTEDIT_CLASS, L"",
                               WS_CHILD | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_NOOLEDRAGDROP | ES_AUTOVSCROLL,
                               0, 0, frame.right, frame.bottom, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    if (!box) return nullptr;
    ApplyTextLook(box);
    return std::make_unique<RichTextView>(box);
}

}  // namespace quibex
