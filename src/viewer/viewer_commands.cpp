// What the viewer's keys, toolbar and system menu do beyond moving between
// tabs: opening the archive or one of its documents, handing the shown text
// to the editor or the printer, searching, switching always-on-top, and the
// windows opened over the viewer.
#include <windows.h>

#include "actions/association.h"
#include "actions/document_file.h"
#include "actions/external_tools.h"
#include "core/app_state.h"
#include "core/message_box.h"
#include "core/path_text.h"
#include "options/key_list_window.h"
#include "search/search_window.h"
#include "ui/about_window.h"
#include "viewer/viewer_control.h"
#include "viewer/viewer_form.h"
#include "viewer/viewer_texts.h"

namespace quibex {
namespace {

std::wstring SelectedTextPath() {
    ViewerForm* f = Form();
    if (!f || f->tabs.lastIndex < 0) return {};
    return TabFilePath(SelectedTabIndex());
}

HWND SelectedTextBox() { return ViewerTextBox(SelectedTabIndex()); }

}  // namespace

void OpenSearchFromViewer() {
    if (ViewerForm* f = Form()) OpenSearchWindow({f->hwnd(), SelectedTextBox, SetViewerDropMode});
}

void OpenArchiveFromViewer(bool shiftHeld) {
    const Settings& s = AppSettings();
    ViewerForm* form = Form();
    if (!form) return;
    const OpenedArchive archive = form->archive;  // opening lets messages run; the viewer may go meanwhile
    if (!s.ArcAplPath.empty()) {
        OpenArchiveWithTool(archive.path);
    } else if (!archive.selfExtracting) {
        OpenArchiveByAssociation(archive.path);
    } else {
        ShowMessage(kSfxNeedsArchiverTool, MB_OK | MB_ICONEXCLAMATION);
    }
    // Shift inverts "ExitAfterOpen"; the rule holds whether opening worked or not.
    if ((s.ExitAfterOpen == 1) != shiftHeld) {
        // Posted: the key or click that asked for this is still being handled.
        if (ViewerForm* f = Form()) PostMessageW(f->hwnd(), WM_CLOSE, 0, 0);
    }
}

void OpenSelectedText() {
    std::wstring path = SelectedTextPath();
    if (path.empty()) return;
    if (!AppSettings().TxtEdtPath.empty())
        OpenTextWithEditor(path);
    else
        OpenTextByAssociation(path);
}

void PrintSelectedText() {
    std::wstring path = SelectedTextPath();
    if (path.empty()) return;
    if (!AppSettings().PrtToolPath.empty())
        PrintTextWithTool(path);
    else
        PrintTextByAssociation(path);
}

void ToggleTopMost() {
    ViewerForm* f = Form();
    if (!f) return;
    int16_t& topMost = AppSettings().TopMost;
    const bool on = topMost == 1;
    if (ShowMessage(on ? kAskTopMostOff : kAskTopMostOn, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
    // Written to the INI file only with the other settings.
    topMost = on ? 0 : 1;
    SetViewerTopMost(*f, !on);
}

void OpenDocumentFromViewer(int index) {
    ViewerForm* f = Form();
    if (!f || index < 0 || static_cast<size_t>(index) >= f->documents.size()) return;
    // Copied: opening lets messages run, and the viewer may go meanwhile.
    const DocumentEntry entry = f->documents[static_cast<size_t>(index)];
    const OpenedArchive archive = f->archive;
    OpenDocumentFile(archive, entry.Folder == L"\\" ? L"" : entry.Folder, entry);
}

void ShowKeyListFromViewer() {
    if (ViewerForm* f = Form()) ShowKeyListWindow(f->hwnd());
}

void ShowAboutFromViewer() {
    if (ViewerForm* f = Form()) ShowAboutWindow(f->hwnd());
}

void OnViewerSysCommand(ViewerForm& f, WPARAM id) {
    if (f.inSysCommand) return;
    f.inSysCommand = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{f.inSysCommand};
    // A modal window could open behind a topmost viewer and never be seen.
    if (AppSettings().TopMost == 1) {
        ShowMessage(kTopMostBlocksWindows, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    SetViewerDropMode(0);
    if (id == kSysMenuKeyList)
        ShowKeyListFromViewer();
    else
        ShowAboutFromViewer();
    SetViewerDropMode(1);
}

void SetViewerTopMost(ViewerForm& f, bool on) {
    SetWindowPos(f.hwnd(), on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
}

}  // namespace quibex
