#include "shell_places.h"

#include <cwctype>
#include <utility>

#include <e2e/files.h>

namespace {
constexpr const wchar_t* kExplorer = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\";
const std::wstring kUserShellFolders = std::wstring(kExplorer) + L"User Shell Folders";
const std::wstring kShellFolders = std::wstring(kExplorer) + L"Shell Folders";
constexpr const wchar_t* kHttpsCommand = L"https\\shell\\open\\command";

bool SetString(HKEY root, const std::wstring& subkey, const std::wstring& value, const std::wstring& data) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(root, subkey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    LONG r = RegSetValueExW(key, value.empty() ? nullptr : value.c_str(), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(data.c_str()),
                            static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    return r == ERROR_SUCCESS;
}
}  // namespace

SavedRegistryValue::SavedRegistryValue(HKEY root, std::wstring subkey, std::wstring value)
    : root_(root), subkey_(std::move(subkey)), value_(std::move(value)) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root_, subkey_.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return;
    const wchar_t* name = value_.empty() ? nullptr : value_.c_str();
    DWORD size = 0;
    if (RegQueryValueExW(key, name, nullptr, &type_, nullptr, &size) == ERROR_SUCCESS) {
        data_.resize(size);
        existed_ = RegQueryValueExW(key, name, nullptr, &type_, data_.data(), &size) == ERROR_SUCCESS;
        data_.resize(size);
    }
    RegCloseKey(key);
}

SavedRegistryValue::~SavedRegistryValue() {
    HKEY key = nullptr;
    if (RegCreateKeyExW(root_, subkey_.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    const wchar_t* name = value_.empty() ? nullptr : value_.c_str();
    if (existed_)
        RegSetValueExW(key, name, 0, type_, data_.data(), static_cast<DWORD>(data_.size()));
    else
        RegDeleteValueW(key, name);
    RegCloseKey(key);
}

ScenarioShellFolders::ScenarioShellFolders(const std::wstring& base, bool sendToExists)
    : desktop_(base + L"\\Desktop"),
      sendTo_(base + L"\\SendTo"),
      userDesktop_(HKEY_CURRENT_USER, kUserShellFolders, L"Desktop"),
      userSendTo_(HKEY_CURRENT_USER, kUserShellFolders, L"SendTo"),
      resolvedDesktop_(HKEY_CURRENT_USER, kShellFolders, L"Desktop"),
      resolvedSendTo_(HKEY_CURRENT_USER, kShellFolders, L"SendTo") {
    e2e::createFolders(desktop_);
    if (sendToExists) e2e::createFolders(sendTo_);
    for (auto [name, path] : {std::pair{L"Desktop", &desktop_}, std::pair{L"SendTo", &sendTo_}}) {
        SetString(HKEY_CURRENT_USER, kUserShellFolders, name, *path);
        SetString(HKEY_CURRENT_USER, kShellFolders, name, *path);
    }
}

HttpsHandler::HttpsHandler(const std::wstring& program) : command_(HKEY_CLASSES_ROOT, kHttpsCommand, L"") {
    SetString(HKEY_CLASSES_ROOT, kHttpsCommand, L"", L"\"" + program + L"\" \"%1\"");
}

std::optional<quibex::ShellLinkFields> ReadLink(const std::wstring& lnkFile) {
    quibex::ShellLink shell;
    quibex::ShellLinkFields fields;
    if (!shell.GetShellLinkInfo(lnkFile, fields)) return std::nullopt;
    return fields;
}

std::wstring LongPath(const std::wstring& path) {
    wchar_t buffer[MAX_PATH] = {};
    DWORD n = GetLongPathNameW(path.c_str(), buffer, MAX_PATH);
    std::wstring result = n > 0 && n < MAX_PATH ? std::wstring(buffer, n) : path;
    if (!result.empty()) result[0] = static_cast<wchar_t>(std::towupper(result[0]));
    return result;
}
