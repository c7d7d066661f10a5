#include "archive/archive_detection.h"

#include <windows.h>

#include <vector>

#include "archive/ansi_path.h"
#include "archive/archive_signature.h"
#include "archive/archiver_library.h"
#include "archive/archive_texts.h"
#include "core/handle.h"
#include "core/init_window.h"
#include "core/message_box.h"
#include "core/path_text.h"

namespace quibex {

namespace {

std::nullopt_t Fail(const std::wstring& message) {
    UnloadInitWindow();
    ShowPlainMessage(message, MB_ICONERROR);
    return std::nullopt;
}

void ShowSystemError(DWORD code) {
    wchar_t* text = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                   code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message = text ? text : archive_text::SystemError(code);
    if (text) LocalFree(text);
    ShowPlainMessage(message, MB_ICONERROR);
}

// The kind the file's first bytes announce; nothing when they announce none
// or the file cannot be read (the not-an-archive message follows).
std::optional<ReaderKind> KindByFileSignature(const std::wstring& path) {
    UniqueHandle in(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!in) return std::nullopt;
    unsigned char head[kSignatureBytes] = {};
    DWORD got = 0;
    if (!ReadFile(in.get(), head, static_cast<DWORD>(std::size(head)), &got, nullptr)) return std::nullopt;
    return KindBySignature(head, got);
}

}  // namespace

std::wstring FindCabInExe(const std::wstring& path, const std::wstring& cabWorkFolder) {
    std::wstring name = FileNameOf(path);
    const std::wstring cabPath = cabWorkFolder + L"\\" + name.substr(0, name.size() >= 4 ? name.size() - 4 : 0) + L".cab";

    UniqueHandle in(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!in) {
        ShowSystemError(GetLastError());
        return {};
    }
    LARGE_INTEGER size{};
    std::vector<char> bytes;
    DWORD error = 0;
    if (!GetFileSizeEx(in.get(), &size) || size.QuadPart > 0x7FFFFFFF) {
        error = GetLastError() ? GetLastError() : ERROR_FILE_TOO_LARGE;
    } else {
        bytes.resize(static_cast<size_t>(size.QuadPart));
        DWORD got = 0;
        if (!bytes.empty() &&
            (!ReadFile(in.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) || got != bytes.size()))
            error = GetLastError() ? GetLastError() : ERROR_READ_FAULT;
    }
    in.reset();
    if (error) {
        ShowSystemError(error);
        return {};
    }

    size_t last = std::string::npos;
    for (size_t i = 0; i + 4 <= bytes.size();) {
        if (bytes[i] == 'M' && bytes[i + 1] == 'S' && bytes[i + 2] == 'C' && bytes[i + 3] == 'F') {
            last = i;
            i += 4;
        } else {
            ++i;
        }
    }
    if (last == std::string::npos) return {};

    if (!CreateDirectoryW(cabWorkFolder.c_str(), nullptr)) {
        ShowSystemError(GetLastError());
        return {};
    }
    SetFileAttributesW(cabWorkFolder.c_str(), FILE_ATTRIBUTE_HIDDEN);
    UniqueHandle out(CreateFileW(cabPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    if (!out) {
        ShowSystemError(GetLastError());
        return {};
    }
    DWORD put = 0;
    DWORD tail = static_cast<DWORD>(bytes.size() - last);
    bool ok = WriteFile(out.get(), bytes.data() + last, tail, &put, nullptr) && put == tail;
    error = ok ? 0 : GetLastError();
    out.reset();
    if (!ok) {
        DeleteFileW(cabPath.c_str());
        ShowSystemError(error ? error : ERROR_WRITE_FAULT);
        return {};
    }
    return cabPath;
}

std::optional<OpenedArchive> DetectArchiveKind(const std::wstring& path, const std::wstring& cabWorkFolder) {
    OpenedArchive archive;
    archive.path = path;
    archive.libraryPath = path;
    archive.extension = ToUpper(ExtensionOf(path));
    std::optional<ReaderKind> kind = KindOfExtension(archive.extension);
    // A file whose extension names no kind may still start like a 7z or RAR
    // archive; a program is left to the libraries' checks below.
    if (!kind && archive.extension != L"EXE") kind = KindByFileSignature(path);
    if (kind) {
        if (LibraryVersion(*kind) == 0) return Fail(archive_text::MissingLibrary(FamilyOf(*kind).dllName));
        archive.kind = *kind;
        return archive;
    }
    if (archive.extension != L"EXE") return Fail(archive_text::kNotAnArchive);
    archive.selfExtracting = true;
    for (ReaderKind carrier : kReaderKinds) {
        const WORD version = LibraryVersion(carrier);
        if (version == 0) continue;
        archive.kind = carrier;
        // Before version 0.90 the CAB library cannot check a program: the
        // cabinet is cut out of it and given to the library instead.
        if (carrier == ReaderKind::Cab && version < 90) {
            archive.libraryPath = FindCabInExe(path, cabWorkFolder);
            if (!archive.libraryPath.empty()) return archive;
        } else if (LibraryOf(carrier).CheckArchive(ToAnsi(PathForLibrary(path)), 0)) {
            return archive;
        }
    }
    return Fail(archive_text::kNotAnArchive);
}

}  // namespace quibex
