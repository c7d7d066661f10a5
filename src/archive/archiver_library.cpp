#include "archive/archiver_library.h"

#include <vector>

namespace quibex {

std::wstring ProgramFolderFile(const wchar_t* name) {
    std::vector<wchar_t> buf(MAX_PATH);
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
        if (n == 0) return name;
        if (n < buf.size()) break;
        buf.resize(buf.size() * 2);
    }
    std::wstring path(buf.data());
    return path.substr(0, path.rfind(L'\\') + 1) + name;
}

ArchiverLibrary::ArchiverLibrary(const wchar_t* dllName, const char* prefix) : dllName_(dllName), prefix_(prefix) {}

ArchiverLibrary::~ArchiverLibrary() = default;

bool ArchiverLibrary::Available() {
    if (!tried_) {
        tried_ = true;
        // The program folder first, so the libraries shipped beside Quibex win;
        // then the system's search order, where installed originals live.
        module_.reset(LoadLibraryExW(ProgramFolderFile(dllName_).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
        if (!module_) module_.reset(LoadLibraryW(dllName_));
    }
    return static_cast<bool>(module_);
}

FARPROC ArchiverLibrary::Routine(const char* suffix) {
    if (!Available()) return nullptr;
    std::string name = std::string(prefix_) + suffix;
    return GetProcAddress(module_.get(), name.c_str());
}

namespace {
// Casts a looked-up routine to its stdcall prototype.
template <typename Fn>
Fn As(FARPROC p) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(p));
}
}  // namespace

WORD ArchiverLibrary::GetVersion() {
    auto fn = As<WORD(WINAPI*)()>(Routine("GetVersion"));
    return fn ? fn() : 0;
}

WORD ArchiverLibrary::GetSubVersion() {
    auto fn = As<WORD(WINAPI*)()>(Routine("GetSubVersion"));
    return fn ? fn() : 0;
}

BOOL ArchiverLibrary::GetRunning() {
    auto fn = As<BOOL(WINAPI*)()>(Routine("GetRunning"));
    return fn ? fn() : FALSE;
}

BOOL ArchiverLibrary::GetCursorMode() {
    auto fn = As<BOOL(WINAPI*)()>(Routine("GetCursorMode"));
    return fn ? fn() : FALSE;
}

BOOL ArchiverLibrary::SetCursorMode(BOOL mode) {
    auto fn = As<BOOL(WINAPI*)(BOOL)>(Routine("SetCursorMode"));
    return fn ? fn(mode) : FALSE;
}

BOOL ArchiverLibrary::CheckArchive(const std::string& ansiPath, int mode) {
    auto fn = As<BOOL(WINAPI*)(LPCSTR, int)>(Routine("CheckArchive"));
    return fn ? fn(ansiPath.c_str(), mode) : FALSE;
}

int ArchiverLibrary::Command(HWND owner, const std::string& ansiCommandLine, std::string* output) {
    auto fn = As<int(WINAPI*)(HWND, LPCSTR, LPSTR, DWORD)>(Routine(""));
    if (!fn) return kErrorNotSupport;
    // The libraries get a buffer of 255 NUL bytes and its size.
    char buffer[256] = {};
    int result = fn(owner, ansiCommandLine.c_str(), buffer, 255);
    if (output) *output = std::string(buffer, strnlen(buffer, 255));
    return result;
}

HARC ArchiverLibrary::OpenArchive(HWND owner, const std::string& ansiPath, DWORD mode) {
    auto fn = As<HARC(WINAPI*)(HWND, LPCSTR, DWORD)>(Routine("OpenArchive"));
    return fn ? fn(owner, ansiPath.c_str(), mode) : nullptr;
}

int ArchiverLibrary::FindFirst(HARC archive, const std::string& ansiPatterns, ArchiveEntryInfo* entry) {
    auto fn = As<int(WINAPI*)(HARC, LPCSTR, ArchiveEntryInfo*)>(Routine("FindFirst"));
    return fn ? fn(archive, ansiPatterns.c_str(), entry) : kErrorNotSupport;
}

int ArchiverLibrary::FindNext(HARC archive, ArchiveEntryInfo* entry) {
    auto fn = As<int(WINAPI*)(HARC, ArchiveEntryInfo*)>(Routine("FindNext"));
    return fn ? fn(archive, entry) : kErrorNotSupport;
}

int ArchiverLibrary::CloseArchive(HARC archive) {
    auto fn = As<int(WINAPI*)(HARC)>(Routine("CloseArchive"));
    return fn ? fn(archive) : kErrorHarcNotOpened;
}

ArchiverLibrary& LibraryOf(ReaderKind kind) {
    static ArchiverLibrary libraries[] = {
        {FamilyOf(ReaderKind::Lzh).dllName, FamilyOf(ReaderKind::Lzh).routinePrefix},
        {FamilyOf(ReaderKind::Zip).dllName, FamilyOf(ReaderKind::Zip).routinePrefix},
        {FamilyOf(ReaderKind::Cab).dllName, FamilyOf(ReaderKind::Cab).routinePrefix},
        {FamilyOf(ReaderKind::SevenZip).dllName, FamilyOf(ReaderKind::SevenZip).routinePrefix},
        {FamilyOf(ReaderKind::Rar).dllName, FamilyOf(ReaderKind::Rar).routinePrefix},
    };
    static_assert(std::size(libraries) == std::size(kReaderKinds));
    return libraries[static_cast<int>(kind)];
}

WORD LibraryVersion(ReaderKind kind) { return LibraryOf(kind).GetVersion(); }

}  // namespace quibex
