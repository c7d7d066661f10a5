#include "actions/association.h"

#include <vector>

#include "actions/action_messages.h"
#include "core/app_state.h"
#include "core/handle.h"
#include "core/lazy_shell.h"
#include "core/message_box.h"
#include "core/path_text.h"

namespace quibex {

namespace {

// Query, set, create sub-key, enumerate, notify, create link. Asking for more
// than reading on purpose: a class key the user may not write to reads as
// missing, so its verb falls back to "open".
constexpr REGSAM kOpenAccess = 0x3F;
// Values were read into a buffer of this many bytes in the system code page,
// terminating NUL included; anything longer counts as absent.
constexpr int kValueBufferBytes = 256;

bool OpenKey(HKEY root, const std::wstring& subKey, UniqueKey& key) {
    return RegOpenKeyExW(root, subKey.c_str(), 0, kOpenAccess, key.put()) == ERROR_SUCCESS;
}

int AnsiLength(const std::wstring& text) {
    if (text.empty()) return 0;
    return WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
}

bool IsStringType(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

bool Launched(HINSTANCE result) { return reinterpret_cast<INT_PTR>(result) > 32; }

}  // namespace

std::wstring RegReadValue(HKEY root, const std::wstring& subKey, const std::wstring& valueName, std::wstring fallback) {
    UniqueKey key;
    if (!OpenKey(root, subKey, key)) return fallback;
    const wchar_t* name = valueName.empty() ? nullptr : valueName.c_str();
    DWORD type = 0, bytes = 0;
    if (RegQueryValueExW(key.get(), name, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS) return fallback;
    if (!IsStringType(type)) return fallback;
    // Every UTF-16 unit but a surrogate half becomes at least one byte, so a
    // value longer than twice the buffer cannot fit; it is not even read.
    if (bytes / sizeof(wchar_t) > 2 * kValueBufferBytes + 1) return fallback;
    std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 1, L'\0');
    DWORD capacity = static_cast<DWORD>((buffer.size() - 1) * sizeof(wchar_t));
    if (RegQueryValueExW(key.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &capacity) !=
            ERROR_SUCCESS ||
        !IsStringType(type))
        return fallback;
    std::wstring value(buffer.data(), capacity / sizeof(wchar_t));
    if (!value.empty() && value.back() == L'\0') value.pop_back();
    if (AnsiLength(value) + 1 > kValueBufferBytes) return fallback;
    return value.substr(0, value.find(L'\0'));
}

DWORD RegReadValue(HKEY root, const std::wstring& subKey, const std::wstring& valueName, DWORD fallback) {
    UniqueKey key;
    if (!OpenKey(root, subKey, key)) return fallback;
    const wchar_t* name = valueName.empty() ? nullptr : valueName.c_str();
    DWORD type = 0, value = 0, bytes = sizeof(value);
    if (RegQueryValueExW(key.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &bytes) != ERROR_SUCCESS ||
        type != REG_DWORD || bytes != sizeof(value))
        return fallback;
    return value;
}

std::wstring FindAssociatedExe(const std::wstring& path) {
    std::wstring buffer(MAX_PATH, L'\0');
    if (!Launched(lazy::FindExecutableW(path.c_str(), nullptr, buffer.data()))) return L"";
    return CollapseExecutableBuffer(buffer);
}

bool OpenByAssociation(std::wstring& path, int verbMode) {
    try {
        if (path.empty() || (verbMode != 0 && verbMode != 1)) return false;
        path = StripSurroundingQuotes(path);
        std::wstring verb = L"open";
        if (verbMode == 1) {
            std::wstring fileClass =
                RegReadValue(HKEY_CLASSES_ROOT, L"." + ToLower(ExtensionOf(path)), L"", std::wstring());
            if (!fileClass.empty()) {
                std::wstring classVerb = RegReadValue(HKEY_CLASSES_ROOT, fileClass + L"\\shell", L"", std::wstring());
                if (!classVerb.empty()) verb = classVerb;
            }
        }
        return Launched(lazy::ShellExecuteW(GetDesktopWindow(), verb.c_str(), path.c_str(), L"", L"", SW_SHOW));
    } catch (...) {
        return false;
    }
}

bool OpenArchiveByAssociation(const std::wstring& archivePath) {
    auto show = [](const std::wstring& text) { ShowPlainMessage(text, MB_ICONERROR | MB_OK); };
    std::wstring exe = FindAssociatedExe(archivePath);
    if (exe.empty()) {
        show(action_text::NoAssociation(archivePath));
        return false;
    }
    // An archive without texts would be handed back to us, and so on forever.
    if (NamesQuibex(exe)) {
        show(action_text::kArchiveAssociatedWithSelf);
        return false;
    }
    std::wstring path = archivePath;
    if (OpenByAssociation(path, VerbModeFromSettings())) return true;
    show(action_text::LaunchFailed(archivePath));
    return false;
}

bool OpenTextByAssociation(const std::wstring& textPath) {
    if (FindAssociatedExe(textPath).empty()) {
        ShowMessage(action_text::NoAssociation(textPath), MB_ICONERROR | MB_OK);
        return false;
    }
    std::wstring path = textPath;
    if (OpenByAssociation(path, VerbModeFromSettings())) return true;
    ShowMessage(action_text::LaunchFailed(textPath), MB_ICONERROR | MB_OK);
    return false;
}

int VerbModeFromSettings() { return AppSettings().ShellExecOpen != 0 ? 0 : 1; }

}  // namespace quibex
