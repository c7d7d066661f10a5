#include "ui/program_version.h"

#include <windows.h>

#include <cstdio>
#include <vector>

namespace quibex {

ProgramVersion ReadProgramVersion() {
    ProgramVersion version;
    wchar_t exe[MAX_PATH] = {};
    DWORD n = GetModuleFileNameW(nullptr, exe, static_cast<DWORD>(std::size(exe)));
    if (n == 0 || n >= std::size(exe)) return version;
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeW(exe, &ignored);
    if (size == 0) return version;
    std::vector<BYTE> block(size);
    if (!GetFileVersionInfoW(exe, 0, size, block.data())) return version;

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) && fixed &&
        length >= sizeof(VS_FIXEDFILEINFO)) {
        version.major = HIWORD(fixed->dwFileVersionMS);
        version.minor = LOWORD(fixed->dwFileVersionMS);
        version.revision = HIWORD(fixed->dwFileVersionLS);
    }

    // The strings of the record's first language.
    WORD language = 0x0411, codePage = 1200;
    WORD* translation = nullptr;
    if (VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length) &&
        translation && length >= 2 * sizeof(WORD)) {
        language = translation[0];
        codePage = translation[1];
    }
    wchar_t key[64] = {};
    swprintf(key, std::size(key), L"\\StringFileInfo\\%04x%04x\\LegalCopyright", language, codePage);
    wchar_t* copyright = nullptr;
    if (VerQueryValueW(block.data(), key, reinterpret_cast<void**>(&copyright), &length) && copyright)
        version.copyright = copyright;
    return version;
}

}  // namespace quibex
