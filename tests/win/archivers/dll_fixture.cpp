#include "dll_fixture.h"

#include <memory>

namespace dlltest {

namespace {
template <typename F>
bool resolve(HMODULE m, const std::string& name, F*& out) {
    out = reinterpret_cast<F*>(reinterpret_cast<void*>(GetProcAddress(m, name.c_str())));
    return out != nullptr;
}

void removeTree(const std::wstring& dir) {
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((dir + L"*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::wstring n = fd.cFileName;
            if (n == L"." || n == L"..") continue;
            std::wstring p = dir + n;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                removeTree(p + L"\\");
            } else {
                SetFileAttributesW(p.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(p.c_str());
            }
        } while (FindNextFileW(h, &fd));
        FindClose(h);
    }
    RemoveDirectoryW(dir.c_str());
}
}  // namespace

bool ArchiverDll::load(const wchar_t* file, const std::string& p) {
    prefix = p;
    module = LoadLibraryW(file);
    if (!module) return false;
    bool ok = resolve(module, p + "GetVersion", getVersion) && resolve(module, p + "GetRunning", getRunning) &&
              resolve(module, p + "GetCursorMode", getCursorMode) &&
              resolve(module, p + "SetCursorMode", setCursorMode) &&
              resolve(module, p + "CheckArchive", checkArchive) && resolve(module, p, command) &&
              resolve(module, p + "OpenArchive", openArchive) && resolve(module, p + "FindFirst", findFirst) &&
              resolve(module, p + "FindNext", findNext) && resolve(module, p + "CloseArchive", closeArchive);
    if (p == "Unlha" || p == "SevenZip" || p == "Unrar") ok = ok && resolve(module, p + "GetSubVersion", getSubVersion);
    return ok;
}

int ArchiverDll::run(const std::string& utf8CommandLine, std::string* report) {
    char out[4096];
    memset(out, 0x7F, sizeof out);
    int r = command(nullptr, toAnsi(toWide(utf8CommandLine)).c_str(), out, sizeof out);
    if (report) *report = out;
    return r;
}

ArchiverDll& library(const std::string& format) {
    static std::map<std::string, std::unique_ptr<ArchiverDll>> loaded;
    auto& slot = loaded[format];
    if (!slot) {
        slot = std::make_unique<ArchiverDll>();
        if (format == "lzh") slot->load(L"UNLHA32.DLL", "Unlha");
        if (format == "zip") slot->load(L"UNZIP32.DLL", "UnZip");
        if (format == "cab") slot->load(L"CAB32.DLL", "Cab");
        if (format == "7z") slot->load(L"7-ZIP32.DLL", "SevenZip");
        if (format == "rar") slot->load(L"UNRAR32.DLL", "Unrar");
    }
    return *slot;
}

std::string toAnsi(const std::wstring& w) {
    int n = WideCharToMultiByte(CP_ACP, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<size_t>(n > 0 ? n : 0), '\0');
    if (n > 0) WideCharToMultiByte(CP_ACP, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
    return s;
}

std::wstring toWide(const std::string& utf8) {
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring w(static_cast<size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0) MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), w.data(), n);
    return w;
}

std::string toUtf8(const std::wstring& w) {
    int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<size_t>(n > 0 ? n : 0), '\0');
    if (n > 0) WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
    return s;
}

std::string archivePath(const std::string& name) {
    // Wine maps the host's root to drive Z:.
    std::string p = std::string("Z:") + QUIBEX_DLL_ARCHIVES + "/" + name;
    for (char& c : p)
        if (c == '/') c = '\\';
    return p;
}

std::vector<uint8_t> readFile(const std::string& utf8Path) {
    std::vector<uint8_t> data;
    HANDLE h = CreateFileW(toWide(utf8Path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return data;
    uint8_t buf[65536];
    DWORD got = 0;
    while (ReadFile(h, buf, sizeof buf, &got, nullptr) && got > 0) data.insert(data.end(), buf, buf + got);
    CloseHandle(h);
    return data;
}

bool writeFile(const std::string& utf8Path, const std::vector<uint8_t>& data) {
    HANDLE h = CreateFileW(toWide(utf8Path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD done = 0;
    bool ok = data.empty() || (WriteFile(h, data.data(), static_cast<DWORD>(data.size()), &done, nullptr) &&
                               done == data.size());
    CloseHandle(h);
    return ok;
}

TempFolder::TempFolder() {
    static unsigned counter = 0;
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    std::wstring dir;
    do {
        dir = std::wstring(base) + L"qbxdll" + std::to_wstring(GetCurrentProcessId()) + L"_" +
              std::to_wstring(++counter) + L"\\";
    } while (!CreateDirectoryW(dir.c_str(), nullptr) && GetLastError() == ERROR_ALREADY_EXISTS);
    path_ = toUtf8(dir);
}

TempFolder::~TempFolder() { removeTree(toWide(path_)); }

std::map<std::string, std::string> TempFolder::files() const {
    std::map<std::string, std::string> out;
    WIN32_FIND_DATAW fd;
    std::wstring dir = toWide(path_);
    HANDLE h = FindFirstFileW((dir + L"*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return out;
    do {
        std::wstring n = fd.cFileName;
        if (n == L"." || n == L"..") continue;
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            out[toUtf8(n)] = "<dir>";
        } else {
            auto d = readFile(toUtf8(dir + n));
            out[toUtf8(n)] = std::string(d.begin(), d.end());
        }
    } while (FindNextFileW(h, &fd));
    FindClose(h);
    return out;
}

}  // namespace dlltest
