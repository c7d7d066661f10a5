#include "app/archive_session.h"

#include <windows.h>

#include "actions/association.h"
#include "actions/external_tools.h"
#include "app/startup_texts.h"
#include "archive/archive_reader.h"
#include "archive/text_selection.h"
#include "core/app_state.h"
#include "core/message_box.h"
#include "core/message_pump.h"
#include "viewer/viewer_window.h"

namespace quibex {

namespace {

// Opens the archive with the archiver tool when one is set, else by association.
void OpenArchive(const std::wstring& path) {
    if (!AppSettings().ArcAplPath.empty())
        OpenArchiveWithTool(path);
    else
        OpenArchiveByAssociation(path);
}

// What happens when the archive holds neither a matching text nor a document.
// A self-extracting program can only go to the archiver tool; a plain archive
// to the tool or its association, and only when its extension is the
// reader's own (a renamed file gets a beep).
void NoTextReaction(const OpenedArchive& archive) {
    const Settings& s = AppSettings();
    const ReaderFamily& f = FamilyOf(archive.kind);
    const std::wstring m = std::wstring(f.noTextLine) + L"\r\n";
    const bool selfExtracting = archive.selfExtracting;
    if (!selfExtracting && !IsOwnExtension(archive.kind, archive.extension)) {
        PlayBeep(s.PcBeep);
        return;
    }
    // The user's own file, never a cabinet cut out of a program.
    auto open = [&] {
        if (selfExtracting) OpenArchiveWithTool(archive.path);
        else OpenArchive(archive.path);
    };
    switch (s.NoText) {
    case 0: {
        const wchar_t* question = selfExtracting ? startup_text::kAskOpenSelfExtracting : startup_text::kAskOpenArchive;
        if (ShowPlainMessage(m + question, MB_YESNO | MB_ICONQUESTION) == IDYES) open();
        return;
    }
    case 1: open(); return;
    case 2: ShowPlainMessage(m + startup_text::kCheckWithArchiverTool, MB_ICONINFORMATION); return;
    default: PlayBeep(s.PcBeep); return;
    }
}

// "InsideViewer" 0: the texts go to the editor or their association, at most "OpenMax" of them.
void OpenTextsOutsideViewer(const std::vector<std::wstring>& texts) {
    const AppState& app = App();
    const Settings& s = AppSettings();
    int opened = 0;
    for (const std::wstring& name : texts) {
        if (!IsTextFileName(name, s.TxtType)) continue;
        std::wstring path = app.WorkFolder + name;
        if (!s.TxtEdtPath.empty()) {
            if (OpenTextWithEditor(path) == 0) break;
        } else if (!OpenTextByAssociation(path)) {
            break;
        }
        if (++opened == s.OpenMax) break;
    }
}

}  // namespace

bool ShowArchive(const OpenedArchive& archive) {
    AppState& app = App();
    const ArchiveContents contents = ReadArchive(archive, AppSettings(), app.WorkFolder, app.LibraryOwner);
    switch (contents.verdict) {
    case ReadVerdict::Failed: return false;
    case ReadVerdict::NoText: NoTextReaction(archive); return false;
    case ReadVerdict::Found: break;
    }
    if (AppSettings().InsideViewer != 1) {
        OpenTextsOutsideViewer(contents.texts);
        return true;
    }
    ShowViewerWindow();
    // The user may close the viewer before it is filled.
    if (!PumpPendingMessages() || !ViewerWindow()) return true;
    app.ViewerLoading = false;
    BuildViewer(contents);
    return true;
}

}  // namespace quibex
