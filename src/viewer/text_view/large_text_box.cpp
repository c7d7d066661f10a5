// The large-text view behind the text-view interface. The view reads and
// lays out the rest of its text from its own timer, so there is nothing for
// the caller to step.
#include <richedit.h>

#include <utility>

#include "viewer/text_view/box_format.h"
#include "viewer/text_view/large_text_view.h"
#include "viewer/text_view/text_view.h"

namespace quibex {
namespace {

class LargeTextBox final : public TextView {
public:
    explicit LargeTextBox(HWND view) : TextView(view) {}

    void MarkLinks(uint64_t limitChars) override {
        if (limitChars) EnableLargeTextLinks(Box(), limitChars);
    }
    bool Load(const std::wstring& path, bool complete) override {
        bool loaded = LoadLargeText(Box(), path, complete);
        if (loaded) ApplyTextColour(Box(), 0);
        SendMessageW(Box(), EM_SETSEL, 0, 0);
        return loaded;
    }
    bool ContinueLoading() override { return Pending(); }
    bool Pending() const override { return LargeTextPending(Box()); }
    int Progress() const override { return LargeTextProgress(Box()); }
    // The text is read into memory as it arrives; the file goes with the view.
    void StopLoading() override {}
    const LinkTable* Links() const override { return LargeTextLinks(Box()); }
};

}  // namespace

bool FitViewToText(std::unique_ptr<TextView>& view, uint64_t bytes) {
    HWND oldBox = view->Box();
    if (bytes <= kRichTextMaxBytes || IsLargeTextView(oldBox)) return false;
    HWND parent = GetParent(oldBox);
    RECT rc{};
    GetWindowRect(oldBox, &rc);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rc), 2);
    HWND box = CreateLargeTextView(parent, GetDlgCtrlID(oldBox), rc);
    if (!box) return false;
    ApplyTextLook(box);
    LONG_PTR style = GetWindowLongPtrW(oldBox, GWL_STYLE);
    SetWindowLongPtrW(box, GWL_STYLE, GetWindowLongPtrW(box, GWL_STYLE) | (style & WS_TABSTOP));
    SetWindowPos(box, oldBox, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | ((style & WS_VISIBLE) ? SWP_SHOWWINDOW : 0));
    bool focused = GetFocus() == oldBox;
    // The new view is in place before the old box goes: what its going sets
    // off finds the new one.
    std::unique_ptr<TextView> old = std::exchange(view, std::make_unique<LargeTextBox>(box));
    DestroyWindow(oldBox);
    if (focused) SetFocus(box);
    return true;
}

}  // namespace quibex
