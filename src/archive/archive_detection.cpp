#include "archive/archive_detection.h"

#include <windows.h>

#include <vector>

#include "archive/ansi_path.h"
#include "archive/archiver_library.h"
#include "archive/archive_texts.h"
#include "core/app_state.h"
#include "core/handle.h"
#include "core/init_window.h"
#include "core/message_box.h"
#include "core/path_text.h"

namespace quibex {

namespace {

bool Fail(const std::wstring& message) {
    UnloadInitWindow();
    ShowPlainMessage(message, MB_ICONERROR);
    return false;
}

void ShowSystemError(DWORD code) {
    wchar_t* text = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                   code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message = text ? text : archive_text::SystemError(code);
    if (text) LocalFree(text);
    ShowPlainMessage(message, MB_ICONERROR);
}

bool CheckedBy(ArchiverLibrary& lib, WORD version, const std::wstring& path) {
    return version > 0 && lib.CheckArchive(ToAnsi(PathForLibrary(path)), 0);
}

}  // namespace

bool FindCabInExe(const std::wstring& path) {
    AppState& app = App();
    std::wstring name = FileNameOf(path);
    app.CabArchivePath = app.CabWorkFolder + L"\\" + name.substr(0, name.size() >= 4 ? name.size() - 4 : 0) + L".cab";

    UniqueHandle in(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!in) {
        ShowSystemError(GetLastError());
        return false;
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
        return false;
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
    if (last == std::string::npos) return false;

    if (!CreateDirectoryW(app.CabWorkFolder.c_str(), nullptr)) {
        ShowSystemError(GetLastError());
        return false;
    }
    SetFileAttributesW(app.CabWorkFolder.c_str(), FILE_ATTRIBUTE_HIDDEN);
    UniqueHandle out(CreateFileW(app.CabArchivePath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    if (!out) {
        ShowSystemError(GetLastError());
        return false;
    }
    DWORD put = 0;
    DWORD tail = static_cast<DWORD>(bytes.size() - last);
    bool ok = WriteFile(out.get(), bytes.data() + last, tail, &put, nullptr) && put == tail;
    error = ok ? 0 : GetLastError();
    out.reset();
    if (!ok) {
        DeleteFileW(app.CabArchivePath.c_str());
        ShowSystemError(error ? error : ERROR_WRITE_FAULT);
        return false;
    }
    return true;
}

bool DetectArchiveKind() {
    AppState& app = App();
    const std::wstring& ext = app.ArchiveExtension;
    if (ext == L"LZH") {
        if ((app.UnlhaVersion = GetUnlhaVersion()) > 0) return app.ArchiveKind = L"LHA", true;
        return Fail(archive_text::MissingLibrary(L"UNLHA32.DLL"));
    }
    if (ext == L"ZIP") {
        if ((app.UnzipVersion = GetUnzipVersion()) > 0) return app.ArchiveKind = L"ZIP", true;
        return Fail(archive_text::MissingLibrary(L"UNZIP32.DLL"));
    }
    if (ext == L"CAB") {
        if ((app.CabVersion = GetCabVersion()) > 0) return app.ArchiveKind = L"CAB", true;
        return Fail(archive_text::MissingLibrary(L"CAB32.DLL"));
    }
    if (ext == L"EXE") {
        app.UnlhaVersion = GetUnlhaVersion();
        app.UnzipVersion = GetUnzipVersion();
        app.CabVersion = GetCabVersion();
        if (CheckedBy(UnlhaLibrary(), app.UnlhaVersion, app.ArchivePath)) return app.ArchiveKind = L"LHA", true;
        if (CheckedBy(UnzipLibrary(), app.UnzipVersion, app.ArchivePath)) return app.ArchiveKind = L"ZIP", true;
        if (app.CabVersion > 0) {
            if (app.CabVersion >= 90) {
                if (CheckedBy(CabLibrary(), app.CabVersion, app.ArchivePath)) return app.ArchiveKind = L"CAB", true;
            } else if (FindCabInExe(app.ArchivePath)) {
                return app.ArchiveKind = L"CABSFX", true;
            }
        }
    }
    app.ArchiveKind.clear();
    return Fail(archive_text::kNotAnArchive);
}

}  // namespace quibex
