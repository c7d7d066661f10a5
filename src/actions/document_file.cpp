#include "actions/document_file.h"

#include <windows.h>

#include "actions/action_messages.h"
#include "actions/association.h"
#include "archive/ansi_path.h"
#include "archive/archiver_library.h"
#include "archive/reader_family.h"
#include "core/app_state.h"
#include "core/message_box.h"
#include "core/path_text.h"

namespace quibex {
namespace {

bool FileInWorkFolder(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());  // hidden and system files count
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

int Extract(const OpenedArchive& archive, const std::wstring& member) {
    const AppState& app = App();
    std::wstring command =
        DocumentCommand(archive.kind, PathForLibrary(archive.libraryPath), PathForLibrary(app.WorkFolder), member);
    std::string output(255, '\0');
    return LibraryOf(archive.kind).Command(app.LibraryOwner, ToAnsi(command), &output);
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

int32_t OpenDocumentFile(const OpenedArchive& archive, const std::wstring& folder, const DocumentEntry& entry) {
    const AppState& app = App();
    std::wstring target = app.WorkFolder + entry.Name;
    // A document is extracted at most once while the work folder holds it.
    if (!FileInWorkFolder(target)) {
        int result = Extract(archive, DocumentMemberPath(folder, entry.Name));
        if (result != 0) {
            ShowMessage(entry.Name + action_text::kDocumentExtractFailed + Hex(static_cast<uint32_t>(result)) + L")",
                        MB_ICONERROR | MB_OK);
            return result;
        }
        std::wstring contents = HelpContentsName(entry.Name);
        if (!contents.empty()) Extract(archive, DocumentMemberPath(folder, contents));
    }
    if (OpenByAssociation(target, VerbModeFromSettings())) return -1;
    ShowMessage(entry.Name + action_text::kDocumentOpenFailed + Hex(0) + L")", MB_ICONERROR | MB_OK);
    return 0;
}

}  // namespace quibex
