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
void NoTextReaction(ReaderKind kind, const std::wstring& inputPath) {
    const AppState& app = App();
    const Settings& s = AppSettings();
    const ReaderFamily& f = FamilyOf(kind);
    const std::wstring m = std::wstring(f.noTextLine) + L"\r\n";
    const bool selfExtracting = app.ArchiveExtension == L"EXE";
    if (!selfExtracting && app.ArchiveExtension != f.ownExtension) {
        PlayBeep(s.PcBeep);
        return;
    }
    // The CAB reader hands the self-extracting program itself, not the carved cabinet.
    const std::wstring exePath = kind == ReaderKind::Cab ? app.ArchivePath : inputPath;
    auto open = [&] {
        if (selfExtracting) OpenArchiveWithTool(exePath);
        else OpenArchive(inputPath);
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
void OpenTextsOutsideViewer() {
    const AppState& app = App();
    const Settings& s = AppSettings();
    int opened = 0;
    for (const std::wstring& name : app.ExtractedFiles) {
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

bool ShowArchive(ReaderKind kind) {
    AppState& app = App();
    ReadOutcome outcome = ReadArchive(kind);
    switch (outcome.verdict) {
    case ReadVerdict::Failed: return false;
    case ReadVerdict::NoText: NoTextReaction(kind, outcome.inputPath); return false;
    case ReadVerdict::Found: break;
    }
    if (AppSettings().InsideViewer != 1) {
        OpenTextsOutsideViewer();
        return true;
    }
    app.ViewedArchivePath = app.ArchivePath;
    ShowViewerWindow();
    // The user may close the viewer before it is filled.
    if (!PumpPendingMessages() || !ViewerWindow()) return true;
    app.ViewerLoading = false;
    BuildViewer();
    return true;
}

}  // namespace quibex
