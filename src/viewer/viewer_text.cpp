// The tabs' texts: making their views, loading a text into one, showing the
// selected one, and the caption's progress while a large text is read.
// What shows a text, and how, is the text view's business (text_view/).
#include <windows.h>

#include <commctrl.h>

#include <algorithm>

#include "core/app_state.h"
#include "viewer/text_view/link_scanner.h"
#include "viewer/text_view/text_file.h"
#include "viewer/viewer_form.h"
#include "viewer/viewer_texts.h"

namespace quibex {
namespace {

constexpr int kFirstBoxId = 1000;
constexpr UINT kProgressMs = 250;

void SetTabStop(HWND box, bool on) {
    LONG_PTR style = GetWindowLongPtrW(box, GWL_STYLE);
    SetWindowLongPtrW(box, GWL_STYLE, on ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP)));
}

// What the viewer adds to a text box of either kind: the status text, its
// keys and the link pointer.
void AttachViewerParts(HWND box) {
    RestoreStatusTextOverControl(box);
    RouteViewerKeys(box, 1);
    WatchLinks(box);
}

}  // namespace

bool CreateTextBox(ViewerForm& f, int index) {
    std::unique_ptr<TextView> view = MakeRichTextView(f.frame1, kFirstBoxId + index);
    if (!view) return false;
    AttachViewerParts(view->Box());
    auto i = static_cast<size_t>(index);
    if (f.tabs.views.size() <= i) f.tabs.views.resize(i + 1);
    f.tabs.views[i] = std::move(view);
    return true;
}

void LoadTabText(ViewerForm& f, int index, bool complete) {
    auto i = static_cast<size_t>(index);
    const std::wstring& path = f.tabs.files[i].Path;
    if (FitViewToText(f.tabs.views[i], TextFileSize(path))) AttachViewerParts(f.tabs.views[i]->Box());
    TextView& view = *f.tabs.views[i];
    view.MarkLinks(LinkScanLimit(AppSettings().HiperLink));
    view.Load(path, complete);
    if (view.Progress() >= 0) {
        SetTimer(f.hwnd(), kProgressTimer, kProgressMs, nullptr);
        ShowLoadingProgress(f);
    }
    if (index > 0) SetTabStop(view.Box(), false);
    f.tabs.files[i].Loaded = 1;
}

bool TextPending(const ViewerForm& f, int index) {
    return f.tabs.Has(index) && f.tabs.views[static_cast<size_t>(index)]->Pending();
}

void ShowLoadingProgress(ViewerForm& f) {
    int sel = static_cast<int>(SendMessageW(f.tabs.strip, TCM_GETCURSEL, 0, 0));
    int percent = f.tabs.Has(sel) ? f.tabs.views[static_cast<size_t>(sel)]->Progress() : -1;
    std::wstring caption = ViewerCaption(f);
    if (percent >= 0) caption += kLoadingCaption + std::to_wstring(percent) + L"%";
    wchar_t shown[MAX_PATH + 64] = {};
    GetWindowTextW(f.hwnd(), shown, static_cast<int>(std::size(shown)));
    if (caption != shown) SetWindowTextW(f.hwnd(), caption.c_str());
    if (std::none_of(f.tabs.views.begin(), f.tabs.views.end(), [](const auto& v) { return v->Progress() >= 0; }))
        KillTimer(f.hwnd(), kProgressTimer);
}

void OnTabChanging(ViewerForm& f) {
    // The tab being left.
    f.tabs.selected = static_cast<int>(SendMessageW(f.tabs.strip, TCM_GETCURSEL, 0, 0));
    if (!f.tabs.Has(f.tabs.selected)) return;
    if (f.tabs.lastIndex > 0 && AppSettings().HighLightTab == 1)
        SendMessageW(f.tabs.strip, TCM_HIGHLIGHTITEM, f.tabs.selected, FALSE);
    SetTabStop(f.tabs.BoxAt(f.tabs.selected), false);
}

void OnTabChanged(ViewerForm& f) {
    // The tab being entered.
    int sel = static_cast<int>(SendMessageW(f.tabs.strip, TCM_GETCURSEL, 0, 0));
    if (!f.tabs.Has(sel)) return;
    f.tabs.selected = sel;
    const Settings& s = AppSettings();
    if (f.tabs.lastIndex >= 0 && s.TextLoadMode == 1 && f.tabs.files[static_cast<size_t>(sel)].Loaded == 0) {
        HCURSOR old = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        LoadTabText(f, sel, false);
        SetCursor(old);
    }
    HWND box = f.tabs.BoxAt(sel);  // loading may have put a large-text view in its place
    SetWindowPos(box, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    for (const auto& other : f.tabs.views)
        if (other->Box() != box) ShowWindow(other->Box(), SW_HIDE);
    SetTabStop(box, true);
    if (f.keySource < 2) SetFocus(box);
    if (f.tabs.lastIndex > 0 && s.HighLightTab == 1) SendMessageW(f.tabs.strip, TCM_HIGHLIGHTITEM, sel, TRUE);
    ShowLoadingProgress(f);
    f.keySource = 0;
}

int ViewerTabs::TabOf(HWND box) const {
    for (size_t i = 0; i < views.size(); ++i)
        if (views[i]->Box() == box) return static_cast<int>(i);
    return -1;
}

}  // namespace quibex
