#include "core/paths.h"

#include <commdlg.h>

#include <vector>

#include "core/handle.h"
#include "core/lazy_comdlg32.h"
#include "core/path_text.h"

namespace quibex {

bool FileExists(std::wstring& path) {
    path = UnquotePath(path);
    if (path.empty()) return false;
    // A folder can be opened only with backup semantics, so this is a file.
    UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return static_cast<bool>(file);
}

bool PathExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::wstring LongPathName(const std::wstring& path) {
    std::wstring upper = ToUpper(TrimSpaces(path));
    std::wstring root, rest;
    if (!SplitPathRoot(upper, root, rest)) return L"";
    std::wstring result = root;
    size_t pos = 0;
    while (pos < rest.size()) {
        size_t end = rest.find(L'\\', pos);
        if (end == std::wstring::npos) end = rest.size();
        std::wstring component = rest.substr(pos, end - pos);
        pos = end + 1;
        if (component.empty()) continue;
        // A wildcard would be replaced by whatever matches first.
        if (component.find_first_of(L"*?") != std::wstring::npos) return L"";
        WIN32_FIND_DATAW found;
        std::wstring probe = result + L"\\" + component;
        if (!UniqueFind(FindFirstFileW(probe.c_str(), &found))) return L"";
        result += L"\\";
        result += found.cFileName;
    }
    if (result == root) result += L"\\";
    return result;
}

std::wstring SelectArchiveFile(HWND owner, const std::wstring& filter, const std::wstring& initialFolder,
                               const std::wstring& title) {
    wchar_t file[256] = {};
    wchar_t fileTitle[256] = {};
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.hInstance = GetModuleHandleW(nullptr);
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file;
    ofn.nMaxFile = static_cast<DWORD>(std::size(file));
    ofn.lpstrFileTitle = fileTitle;
    ofn.nMaxFileTitle = static_cast<DWORD>(std::size(fileTitle));
    ofn.lpstrInitialDir = initialFolder.c_str();
    ofn.lpstrTitle = title.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;  // 0x81804
    if (!lazy::GetOpenFileNameW(&ofn)) return L"";
    return std::wstring(file);
}

namespace {
std::wstring ModulePath() {
    std::vector<wchar_t> buf(MAX_PATH);
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
        if (n == 0) return L"";
        if (n < buf.size()) return std::wstring(buf.data(), n);
        buf.resize(buf.size() * 2);
    }
}
}  // namespace

std::wstring ApplicationFolder() {
    std::wstring path = ModulePath();
    std::wstring folder = path.substr(0, path.rfind(L'\\'));
    if (folder.size() == 2 && folder[1] == L':') folder += L'\\';  // a drive root keeps its "\"
    return folder;
}

std::wstring ApplicationBaseName() {
    std::wstring path = ModulePath();
    std::wstring name = path.substr(path.rfind(L'\\') + 1);
    size_t dot = name.rfind(L'.');
    return dot == std::wstring::npos ? name : name.substr(0, dot);
}

}  // namespace quibex
