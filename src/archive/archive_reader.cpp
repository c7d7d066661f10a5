#include "archive/archive_reader.h"

#include <windows.h>

#include <sstream>

#include "actions/association.h"
#include "actions/external_tools.h"
#include "archive/ansi_path.h"
#include "archive/archiver_library.h"
#include "archive/text_selection.h"
#include "core/app_window.h"
#include "core/init_window.h"
#include "core/message_box.h"
#include "core/message_pump.h"
#include "core/path_text.h"
#include "viewer/viewer_window.h"

namespace quibex {

namespace {

ArchiverLibrary& LibraryOf(ReaderKind kind) {
    switch (kind) {
    case ReaderKind::Lzh: return UnlhaLibrary();
    case ReaderKind::Zip: return UnzipLibrary();
    case ReaderKind::Cab: break;
    }
    return CabLibrary();
}

const std::wstring& InputPathOf(ReaderKind kind) {
    AppState& app = App();
    switch (kind) {
    case ReaderKind::Lzh: return app.LhaArchivePath;
    case ReaderKind::Zip: return app.ZipArchivePath;
    case ReaderKind::Cab: break;
    }
    return app.CabArchivePath;
}

int PlainMessage(const std::wstring& text, UINT style) {
    return MessageBoxW(nullptr, text.c_str(), kAppTitle, style | MB_SETFOREGROUND);
}

// Opens the archive with the archiver tool when one is set, else by association.
void OpenArchive(const std::wstring& path) {
    if (!AppSettings().ArcAplPath.empty()) OpenArchiveWithTool(path);
    else OpenArchiveByAssociation(path);
}

// What happens when the archive holds neither a matching text nor a document.
void NoTextReaction(ReaderKind kind, const std::wstring& inputPath) {
    const AppState& app = App();
    const Settings& s = AppSettings();
    const ReaderFamily& f = FamilyOf(kind);
    const std::wstring m = std::wstring(f.noTextLine) + L"\r\n";
    const bool selfExtracting = app.ArchiveExtension == L"EXE";
    // The CAB reader hands the self-extracting program itself, not the carved cabinet.
    const std::wstring exePath = kind == ReaderKind::Cab ? app.ArchivePath : inputPath;

    if (selfExtracting) {
        switch (s.NoText) {
        case 0:
            if (PlainMessage(m + L"書庫ファイルを開きますか？\r\n\r\n"
                                 L"この操作には、オプションでアーカイバツールが登録されている必要があります。",
                             MB_YESNO | MB_ICONQUESTION) == IDYES)
                OpenArchiveWithTool(exePath);
            return;
        case 1: OpenArchiveWithTool(exePath); return;
        case 2: PlainMessage(m + L"アーカイバツールで確認してください。", MB_ICONINFORMATION); return;
        default: PlayBeep(s.PcBeep); return;
        }
    }
    if (app.ArchiveExtension != f.ownExtension) {
        PlayBeep(s.PcBeep);
        return;
    }
    switch (s.NoText) {
    case 0:
        if (PlainMessage(m + L"書庫ファイルを開きますか？\r\n\r\n", MB_YESNO | MB_ICONQUESTION) == IDYES)
            OpenArchive(inputPath);
        return;
    case 1: OpenArchive(inputPath); return;
    case 2: PlainMessage(m + L"アーカイバツールで確認してください。", MB_ICONINFORMATION); return;
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

int ListDocuments(ReaderKind kind, const std::wstring& path, const std::wstring& patterns) {
    AppState& app = App();
    if (path.empty() || patterns.empty()) return 0;
    ArchiverLibrary& lib = LibraryOf(kind);
    HARC archive = lib.OpenArchive(nullptr, ToAnsi(PathForLibrary(path)), kOpenErrorMessagesOff);
    if (!archive) return 0;
    app.Documents.clear();
    auto collect = [&](const std::wstring& pattern) {
        ArchiveEntryInfo entry{};
        for (int r = lib.FindFirst(archive, ToAnsi(pattern), &entry); r == 0; r = lib.FindNext(archive, &entry)) {
            std::string name(entry.szFileName, strnlen(entry.szFileName, sizeof entry.szFileName));
            app.Documents.push_back(DocumentEntryOf(FromAnsi(name)));
        }
    };
    if (kind == ReaderKind::Cab) {
        // The CAB library is given one pattern at a time; a member matching
        // two patterns is listed twice.
        std::wistringstream words(patterns);
        std::wstring pattern;
        while (words >> pattern) collect(pattern);
    } else {
        collect(patterns);
    }
    lib.CloseArchive(archive);
    return static_cast<int>(app.Documents.size());
}

bool ReadArchive(ReaderKind kind) {
    AppState& app = App();
    const Settings& s = AppSettings();
    std::wstring input = StripSurroundingQuotes(InputPathOf(kind));

    std::wstring command = ExtractionCommand(kind, PathForLibrary(input), PathForLibrary(app.WorkFolder),
                                             s.Progress == 1, TextTargets(s.AllText == 1, s.TxtType));
    int result = LibraryOf(kind).Command(ViewerWindow(), ToAnsi(command));
    if (!ReaderSucceeded(kind, result)) {
        if (s.InitDialog == 1) UnloadInitWindow();
        PlainMessage(LibraryErrorMessage(kind, result), MB_ICONERROR);
        return false;
    }

    std::wstring docTypes = TrimSpaces(s.DocType);
    app.DocumentCount = 0;
    app.Documents.clear();
    if (!docTypes.empty() && s.InsideViewer == 1)
        app.DocumentCount = ListDocuments(kind, input, ExtensionsToPatterns(docTypes));
    if (s.InitDialog == 1) UnloadInitWindow();

    app.ExtractedFiles = EnumerateWorkFolder(app.WorkFolder);
    app.CurrentFile = app.ExtractedFiles.empty() ? L"" : app.ExtractedFiles.front();
    if (app.CurrentFile.empty() && app.DocumentCount == 0) {
        NoTextReaction(kind, input);
        return false;
    }
    if (s.InsideViewer == 1) {
        app.ViewedArchivePath = app.ArchivePath;
        ShowViewerWindow();
        // The user may close the viewer before it is filled.
        if (!PumpPendingMessages() || !ViewerWindow()) return true;
        app.ViewerLoading = false;
        BuildViewer();
        return true;
    }
    OpenTextsOutsideViewer();
    return true;
}

}  // namespace

std::vector<std::wstring> EnumerateWorkFolder(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((folder + L"*.*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(fd.cFileName);
    } while (FindNextFileW(h, &fd));
    FindClose(h);
    return names;
}

DocumentEntry DocumentEntryOf(const std::wstring& memberName) {
    if (memberName.find_first_of(L"\\/") == std::wstring::npos) return {memberName, L"\\"};
    return {NamePartOf(memberName), FolderPartOf(memberName) + L"\\"};
}

bool ReadLzhArchive() { return ReadArchive(ReaderKind::Lzh); }
bool ReadZipArchive() { return ReadArchive(ReaderKind::Zip); }
bool ReadCabArchive() { return ReadArchive(ReaderKind::Cab); }

int ListLzhDocuments(const std::wstring& path, const std::wstring& patterns) {
    return ListDocuments(ReaderKind::Lzh, path, patterns);
}
int ListZipDocuments(const std::wstring& path, const std::wstring& patterns) {
    return ListDocuments(ReaderKind::Zip, path, patterns);
}
int ListCabDocuments(const std::wstring& path, const std::wstring& patterns) {
    return ListDocuments(ReaderKind::Cab, path, patterns);
}

}  // namespace quibex
