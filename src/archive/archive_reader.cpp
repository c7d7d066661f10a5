#include "archive/archive_reader.h"

#include <windows.h>

#include <map>
#include <sstream>

#include "archive/ansi_path.h"
#include "archive/archiver_library.h"
#include "archive/text_selection.h"
#include "core/handle.h"
#include "core/init_window.h"
#include "core/message_box.h"
#include "core/path_text.h"

namespace quibex {

namespace {

// Each file the folder holds before extraction, with its last write: what an
// earlier run could not delete (a document still open in another program).
std::map<std::wstring, FILETIME> FolderSnapshot(const std::wstring& folder) {
    std::map<std::wstring, FILETIME> files;
    WIN32_FIND_DATAW fd;
    UniqueFind find(FindFirstFileW((folder + L"*.*").c_str(), &fd));
    if (!find) return files;
    do {
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) files[fd.cFileName] = fd.ftLastWriteTime;
    } while (FindNextFileW(find.get(), &fd));
    return files;
}

// The files this extraction wrote, in the folder's order: new names, and
// leftovers the library overwrote.
std::vector<std::wstring> WrittenSince(const std::wstring& folder, const std::map<std::wstring, FILETIME>& before) {
    std::vector<std::wstring> written;
    WIN32_FIND_DATAW fd;
    UniqueFind find(FindFirstFileW((folder + L"*.*").c_str(), &fd));
    if (!find) return written;
    do {
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        auto old = before.find(fd.cFileName);
        if (old == before.end() || CompareFileTime(&old->second, &fd.ftLastWriteTime) != 0)
            written.push_back(fd.cFileName);
    } while (FindNextFileW(find.get(), &fd));
    return written;
}

}  // namespace

std::vector<DocumentEntry> ListDocuments(ReaderKind kind, const std::wstring& path, const std::wstring& patterns) {
    std::vector<DocumentEntry> documents;
    if (path.empty() || patterns.empty()) return documents;
    ArchiverLibrary& lib = LibraryOf(kind);
    HARC archive = lib.OpenArchive(nullptr, ToAnsi(PathForLibrary(path)), kOpenErrorMessagesOff);
    if (!archive) return documents;
    auto collect = [&](const std::wstring& pattern) {
        ArchiveEntryInfo entry{};
        for (int r = lib.FindFirst(archive, ToAnsi(pattern), &entry); r == 0; r = lib.FindNext(archive, &entry)) {
            std::string name(entry.szFileName, strnlen(entry.szFileName, sizeof entry.szFileName));
            documents.push_back(DocumentEntryOf(FromAnsi(name)));
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
    return documents;
}

ArchiveContents ReadArchive(const OpenedArchive& archive, const Settings& s, const std::wstring& workFolder,
                            HWND owner) {
    ArchiveContents contents;
    const ReaderKind kind = archive.kind;
    const std::wstring input = StripSurroundingQuotes(archive.libraryPath);

    std::map<std::wstring, FILETIME> leftovers = FolderSnapshot(workFolder);
    std::wstring command = ExtractionCommand(kind, PathForLibrary(input), PathForLibrary(workFolder), s.Progress == 1,
                                             TextTargets(s.AllText == 1, s.TxtType));
    int result = LibraryOf(kind).Command(owner, ToAnsi(command));
    if (!ReaderSucceeded(kind, result)) {
        if (s.InitDialog == 1) UnloadInitWindow();
        ShowPlainMessage(LibraryErrorMessage(kind, result), MB_ICONERROR);
        return contents;
    }

    std::wstring docTypes = TrimSpaces(s.DocType);
    if (!docTypes.empty() && s.InsideViewer == 1)
        contents.documents = ListDocuments(kind, input, ExtensionsToPatterns(docTypes));
    if (s.InitDialog == 1) UnloadInitWindow();

    contents.texts = WrittenSince(workFolder, leftovers);
    const bool nothing = contents.texts.empty() && contents.documents.empty();
    contents.verdict = nothing ? ReadVerdict::NoText : ReadVerdict::Found;
    return contents;
}

DocumentEntry DocumentEntryOf(const std::wstring& memberName) {
    if (memberName.find_first_of(L"\\/") == std::wstring::npos) return {memberName, L"\\"};
    return {NamePartOf(memberName), FolderPartOf(memberName) + L"\\"};
}

}  // namespace quibex
