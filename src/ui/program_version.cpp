#include "ui/program_version.h"

#include <windows.h>

#include <cstdio>
#include <vector>

#include "core/lazy_library.h"

namespace quibex {
namespace {

// The version library only when the about window asks.
LazyLibrary g_version{L"version.dll"};
LazyFunction<decltype(&::GetFileVersionInfoSizeW)> g_infoSize{g_version, "GetFileVersionInfoSizeW"};
LazyFunction<decltype(&::GetFileVersionInfoW)> g_info{g_version, "GetFileVersionInfoW"};
LazyFunction<decltype(&::VerQueryValueW)> g_query{g_version, "VerQueryValueW"};

}  // namespace

ProgramVersion ReadProgramVersion() {
    ProgramVersion version;
    auto GetFileVersionInfoSizeW = g_infoSize.get();
    auto GetFileVersionInfoW = g_info.get();
    auto VerQueryValueW = g_query.get();
    if (!GetFileVersionInfoSizeW || !GetFileVersionInfoW || !VerQueryValueW) return version;
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
