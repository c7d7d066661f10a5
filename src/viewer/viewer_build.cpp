// BuildViewer: the texts of the work folder become tabs (readme first, at
// most "OpenMax"), the first text is loaded, the status bar filled and the
// window brought to the front.
#include <windows.h>

#include <commctrl.h>
#include <richedit.h>

#include <algorithm>
#include <new>
#include <stdexcept>

#include "archive/text_selection.h"
#include "archive/work_folders.h"
#include "core/app_state.h"
#include "core/message_box.h"
#include "core/message_pump.h"
#include "core/paths.h"
#include "viewer/tab_caption.h"
#include "viewer/viewer_form.h"
#include "viewer/text_view/box_format.h"
#include "viewer/viewer_texts.h"
#include "viewer/viewer_window.h"

namespace quibex {
namespace {

void InsertTab(ViewerForm& f, int index, const std::wstring& caption, const std::wstring& tip) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(caption.c_str());
    SendMessageW(f.tabs.strip, TCM_INSERTITEMW, index, reinterpret_cast<LPARAM>(&item));
    if (f.tabs.tips.size() <= static_cast<size_t>(index)) f.tabs.tips.resize(static_cast<size_t>(index) + 1);
    f.tabs.tips[static_cast<size_t>(index)] = tip;
}

void SetTabCaption(ViewerForm& f, int index, const std::wstring& caption) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(caption.c_str());
    SendMessageW(f.tabs.strip, TCM_SETITEMW, index, reinterpret_cast<LPARAM>(&item));
}

// Lets pending window messages run; false when the viewer went away meanwhile.
bool PumpMessages(const ViewerForm* f) { return PumpPendingMessages() && Form() == f; }

// The rich-edit position of a character index of `text`: the box keeps a
// CR LF pair as one character.
LONG BoxPosition(const std::wstring& text, size_t index) {
    LONG pos = 0;
    for (size_t i = 0; i < index && i < text.size(); ++i) {
        if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') continue;
        ++pos;
    }
    return pos;
}

void ShowNoText(ViewerForm& f) {
    HWND box = f.tabs.BoxAt(0);
    std::wstring body = kNoTextBody;
    SetBoxText(box, body);
    if (!IsDefaultTextColour(AppSettings().TextColor)) ColourRange(box, 0, -1, ResolveColour(AppSettings().TextColor));
    ColourRange(box, BoxPosition(body, kNoTextRedStart), kNoTextRedLength, RGB(255, 0, 0));
    SendMessageW(box, EM_SETSEL, 0, 0);
    InsertTab(f, 0, kNoTextCaption, L"");
}

// The tab list from the texts the reader extracted, in the work folder's
// order. Returns the number of tabs, or -1 when the viewer went away while
// messages ran.
int BuildTabList(ViewerForm& f, const std::vector<std::wstring>& names) {
    const Settings& s = AppSettings();
    const AppState& app = App();
    CaptionRules rules{s.TabName, s.NoExt == 1, ShortCutDigitOn(s.ShortCutKey, 6)};
    int count = 0;
    bool readmePlaced = false;
    // Only a readme this archive brought counts, not one an earlier run left.
    const bool hasReadme = std::any_of(names.begin(), names.end(), IsReadmeName);
    if (s.ReadmeFirst == 1 && hasReadme) {
        f.tabs.lastIndex = 0;
        InsertTab(f, 0, TabCaption(kReadmePlaceholder, 0, rules), TabTooltip(0, rules));
        f.tabs.files.assign(1, TabFile{app.WorkFolder + kReadmeName, 0});
        count = 1;
        readmePlaced = true;
    }
    for (size_t pos = 0; pos < names.size() && count < s.OpenMax; ++pos) {
        if (!PumpMessages(&f)) return -1;
        const std::wstring& name = names[pos];
        if (IsTextFileName(name, s.TxtType)) {
            if (readmePlaced && IsReadmeName(name)) {
                SetTabCaption(f, 0, TabCaption(name, 0, rules));  // the case the file really has
            } else {
                int i = ++f.tabs.lastIndex;
                InsertTab(f, i, TabCaption(name, static_cast<size_t>(i), rules),
                          TabTooltip(static_cast<size_t>(i), rules));
                f.tabs.files.push_back(TabFile{app.WorkFolder + name, 0});
                if (i > 0) {
                    if (!CreateTextBox(f, i)) throw std::runtime_error("no text box");
                    if (s.TextLoadMode == 0) LoadTabText(f, i, true);
                }
                count = i + 1;
            }
        }
    }
    return count;
}

// The viewer cannot be built: the user hears why in words to act on, the
// work folder is emptied and the viewer closes (which ends the program).
// `f` is gone afterwards.
void ErrorExit(ViewerForm& f, const wchar_t* text) {
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    ShowPlainMessage(text, MB_ICONERROR | MB_OK);
    DeleteWorkFiles();
    DestroyWindow(f.hwnd());
}

}  // namespace

void BuildViewer(const ArchiveContents& contents) {
    ViewerForm* fp = Form();
    if (!fp || fp->built) return;
    ViewerForm& f = *fp;
    const Settings& s = AppSettings();
    f.documents = contents.documents;
    f.tabs.lastIndex = -1;
    int count = 0;
    HCURSOR oldCursor = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    if (s.TopMost == 1) SetViewerTopMost(f, true);
    ShowSplash(f);
    UpdateWindow(f.frame2);
    try {
        if (contents.texts.empty()) {
            ShowNoText(f);
        } else {
            count = BuildTabList(f, contents.texts);
            if (count < 0) return;
            if (f.tabs.lastIndex >= 0) LoadTabText(f, 0, s.TextLoadMode == 0);
        }
        std::wstring longPath = LongPathName(f.archive.path);
        f.status.path = longPath.empty() ? f.archive.path : longPath;
        ShowWindow(f.status.bar, SW_SHOWNA);
        if (count == 1 && ShortCutDigitOn(s.ShortCutKey, 6)) {
            wchar_t caption[MAX_PATH] = {};
            TCITEMW item{};
            item.mask = TCIF_TEXT;
            item.pszText = caption;
            item.cchTextMax = static_cast<int>(std::size(caption));
            SendMessageW(f.tabs.strip, TCM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
            SetTabCaption(f, 0, DropNumberPrefix(caption));
            f.tabs.tips[0].clear();
        }
        // The splash goes; the tab strip and the first text come.
        f.built = true;
        ShowWindow(f.frame2, SW_HIDE);
        SetWindowPos(f.frame1, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
        ShowWindow(f.tabs.strip, SW_SHOWNA);
        ShowWindow(f.tabs.BoxAt(0), SW_SHOWNA);
        SendMessageW(f.tabs.strip, TCM_SETCURSEL, 0, 0);
        ShowWindow(f.dummy, SW_SHOWNA);
        if (f.toolbar.bar) {
            SetToolbarHints(f);
            ShowWindow(f.toolbar.bar, SW_SHOWNA);
        }
        LayoutViewer(f);
        if (f.tabs.lastIndex > 0 && s.HighLightTab == 1) SendMessageW(f.tabs.strip, TCM_HIGHLIGHTITEM, 0, TRUE);
        SetFocus(f.tabs.BoxAt(0));
        SetStatusPanel(f, 1, FitPathToStatus(f, f.status.path));
        SetStatusPanel(f, 2, FamilyOf(f.archive.kind).formatName);
        SetStatusPanel(f, 3, std::to_wstring(count));
        SetCursor(oldCursor);
        SetForegroundWindow(f.hwnd());
        PostMessageW(f.hwnd(), kMsgFirstTextShown, 0, 0);
    } catch (const std::bad_alloc&) {
        ErrorExit(f, kBuildOutOfMemory);
    } catch (const std::exception&) {
        ErrorExit(f, kBuildFailed);
    }
}

}  // namespace quibex
