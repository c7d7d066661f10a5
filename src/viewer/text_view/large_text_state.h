// The state of one large-text view and the routines its source files share.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "core/handle.h"
#include "core/window_base.h"
#include "viewer/text_view/large_text_store.h"
#include "viewer/text_view/link_scanner.h"
#include "viewer/text_view/text_layout.h"

namespace quibex {

// Glyph widths of the view's font, read from a memory DC.
class FontGlyphWidths final : public GlyphWidths {
public:
    explicit FontGlyphWidths(HFONT font);
    ~FontGlyphWidths() override;

protected:
    void FillBlock(unsigned block, int32_t* out) override;

private:
    UniqueMemoryDc dc_;
    HGDIOBJ old_;
    int wide_;  // width of a full-width character, for surrogate pairs
};

// The window object of one view; it lives as long as its window.
struct LargeTextView : Window {
    // Creates the child window; the object then deletes itself with it.
    bool Make(HWND parent, int id, const RECT& rect);

    LargeTextStore store;
    UniqueFont font;  // before widths: it must outlive the DC that selects it
    std::unique_ptr<FontGlyphWidths> widths;
    TextRows rows;
    COLORREF back = 0, fore = 0;
    bool autoFore = true;  // text in the system window-text colour
    int lineHeight = 16;
    size_t top = 0;                // first visible row
    size_t anchor = 0, caret = 0;  // selection: anchor fixed, caret moves
    int caretX = -1;               // x kept while moving up and down, -1 none
    bool dragging = false;
    int wheelRest = 0;
    std::vector<int> xs;                     // scratch: positions of one row
    std::unique_ptr<LinkFinder> linkFinder;  // while links are marked
    LinkTable links;

    const wchar_t* Text() const { return store.Data(); }
    size_t Size() const { return store.Size(); }
    size_t SelStart() const { return anchor < caret ? anchor : caret; }
    size_t SelEnd() const { return anchor < caret ? caret : anchor; }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void OnDestroyed() override { delete this; }
};

inline constexpr int kLeftMargin = 6, kTopMargin = 1, kRightMargin = 4;

// The view of a window of the large-text class, else nullptr.
LargeTextView* ViewOf(HWND hwnd);

// large_text_view.cpp
size_t VisibleRows(const LargeTextView& v);
void ScrollTo(LargeTextView& v, size_t row);
// Moves the caret (and the anchor unless `extend`) and shows it.
void MoveCaret(LargeTextView& v, size_t pos, bool extend);
void ShowCaretRow(LargeTextView& v);
void UpdateScrollBar(LargeTextView& v);
void SetViewFont(LargeTextView& v, const wchar_t* face, int twips);
POINT PositionPoint(LargeTextView& v, size_t pos);
size_t PointPosition(LargeTextView& v, POINT p);

// large_text_messages.cpp: the rich-edit messages; true when `msg` was one.
bool HandleEditMessage(LargeTextView& v, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
void CopySelection(LargeTextView& v);

}  // namespace quibex
