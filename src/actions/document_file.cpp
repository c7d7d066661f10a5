#include "actions/document_file.h"

#include <windows.h>

#include "actions/action_messages.h"
#include "actions/association.h"
#include "archive/ansi_path.h"
#include "archive/archiver_library.h"
#include "archive/reader_family.h"
#include "core/message_box.h"
#include "core/path_text.h"

namespace quibex {
namespace {

bool FileInWorkFolder(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());  // hidden and system files count
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The library and archive for the archive kind; false for any other kind.
bool LibraryFor(const AppState& app, ArchiverLibrary*& library, ReaderKind& kind, std::wstring& archive) {
    if (app.ArchiveKind == L"LHA") {
        library = &UnlhaLibrary();
        kind = ReaderKind::Lzh;
        archive = app.ViewedArchivePath;
    } else if (app.ArchiveKind == L"ZIP") {
        library = &UnzipLibrary();
        kind = ReaderKind::Zip;
        archive = app.ViewedArchivePath;
    } else if (app.ArchiveKind == L"CAB" || app.ArchiveKind == L"CABSFX") {
        library = &CabLibrary();
        kind = ReaderKind::Cab;
        archive = app.ArchiveKind == L"CABSFX" ? app.CabArchivePath : app.ViewedArchivePath;
    } else {
        return false;
    }
    return true;
}

int Extract(ArchiverLibrary& library, ReaderKind kind, const std::wstring& archive, const std::wstring& member) {
    const AppState& app = App();
    std::wstring command = DocumentCommand(kind, PathForLibrary(archive), PathForLibrary(app.WorkFolder), member);
    std::string output(255, '\0');
    return library.Command(app.LibraryOwner, ToAnsi(command), &output);
}

}  // namespace

std::wstring DocumentMemberPath(const std::wstring& folder, const std::wstring& name) {
    std::wstring member = folder + name;
    for (auto& c : member)
        if (c == L'\\') c = L'/';
    return member;
}

std::wstring HelpContentsName(const std::wstring& name) {
    if (name.size() < 4 || ToLower(name.substr(name.size() - 4)) != L".hlp") return L"";
    return name.substr(0, name.size() - 4) + L".cnt";
}

int32_t OpenDocumentFile(const std::wstring& folder, const DocumentEntry& entry) {
    const AppState& app = App();
    std::wstring target = app.WorkFolder + entry.Name;
    // A document is extracted at most once while the work folder holds it.
    if (!FileInWorkFolder(target)) {
        ArchiverLibrary* library = nullptr;
        ReaderKind kind = ReaderKind::Lzh;
        std::wstring archive;
        if (LibraryFor(app, library, kind, archive)) {
            int result = Extract(*library, kind, archive, DocumentMemberPath(folder, entry.Name));
            if (result != 0) {
                ShowMessage(
                    entry.Name + action_text::kDocumentExtractFailed + Hex(static_cast<uint32_t>(result)) + L")",
                    MB_ICONERROR | MB_OK);
                return result;
            }
            std::wstring contents = HelpContentsName(entry.Name);
            if (!contents.empty()) Extract(*library, kind, archive, DocumentMemberPath(folder, contents));
        }
    }
    if (OpenByAssociation(target, VerbModeFromSettings())) return -1;
    ShowMessage(entry.Name + action_text::kDocumentOpenFailed + Hex(0) + L")", MB_ICONERROR | MB_OK);
    return 0;
}

}  // namespace quibex
