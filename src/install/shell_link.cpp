#include "install/shell_link.h"

#include <objbase.h>
#include <shlobj.h>

#include <utility>

#include "core/lazy_ole32.h"
#include "core/lazy_shell.h"

namespace quibex {

namespace {

// One reference to a COM interface, released when it goes.
template <class T>
class ComRef {
public:
    ComRef() = default;
    ~ComRef() {
        if (p_) p_->Release();
    }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    T* operator->() const { return p_; }
    T* get() const { return p_; }
    void** put() { return reinterpret_cast<void**>(&p_); }

private:
    T* p_ = nullptr;
};

// Enough for any path and for the longest argument or description the
// shell keeps (INFOTIPSIZE).
constexpr int kFieldChars = 1024;

bool MakeLink(ComRef<IShellLinkW>& link, ComRef<IPersistFile>& file) {
    if (FAILED(lazy::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.put())))
        return false;
    return SUCCEEDED(link->QueryInterface(IID_IPersistFile, file.put()));
}

template <class Getter>
bool ReadField(std::wstring& out, Getter&& get) {
    wchar_t buffer[kFieldChars] = {};
    if (FAILED(get(buffer, kFieldChars))) return false;
    out = buffer;
    return true;
}

}  // namespace

ShellLink::ShellLink() {
    // S_FALSE when this thread already has COM; still one call to undo.
    HRESULT hr = lazy::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    uninitialize_ = SUCCEEDED(hr);
}

ShellLink::~ShellLink() {
    if (uninitialize_) lazy::CoUninitialize();
}

bool ShellLink::GetSystemFolderPath(HWND owner, int id, std::wstring& sfPath) const {
    PIDLIST_ABSOLUTE items = nullptr;
    if (lazy::SHGetSpecialFolderLocation(owner, id, &items) != S_OK || !items) return false;
    wchar_t buffer[MAX_PATH] = {};
    BOOL found = lazy::SHGetPathFromIDListW(items, buffer);
    lazy::CoTaskMemFree(items);
    // Only a folder on disk can take a link: an empty path would put it beside
    // the current folder, and Wine names virtual folders by "::{GUID}" paths.
    DWORD attributes = found ? GetFileAttributesW(buffer) : INVALID_FILE_ATTRIBUTES;
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
    sfPath = buffer;
    return true;
}

bool ShellLink::CreateShellLink(const std::wstring& lnkFile, const ShellLinkFields& link) const {
    if (lnkFile.empty() || link.ExeFile.empty()) return false;
    ComRef<IShellLinkW> shellLink;
    ComRef<IPersistFile> file;
    if (!MakeLink(shellLink, file)) return false;
    if (FAILED(shellLink->SetPath(link.ExeFile.c_str()))) return false;
    if (!link.WorkDir.empty() && FAILED(shellLink->SetWorkingDirectory(link.WorkDir.c_str()))) return false;
    if (!link.ExeArgs.empty() && FAILED(shellLink->SetArguments(link.ExeArgs.c_str()))) return false;
    if (!link.IconFile.empty() && FAILED(shellLink->SetIconLocation(link.IconFile.c_str(), link.IconIdx))) return false;
    if (FAILED(shellLink->SetDescription(link.Description.c_str()))) return false;
    if (FAILED(shellLink->SetShowCmd(link.ShowCmd))) return false;
    // Brings the stored data up to date with the target; never asks the user.
    if (FAILED(shellLink->Resolve(nullptr, SLR_UPDATE | SLR_NO_UI))) return false;
    return SUCCEEDED(file->Save(lnkFile.c_str(), FALSE));
}

bool ShellLink::GetShellLinkInfo(const std::wstring& lnkFile, ShellLinkFields& link) const {
    if (lnkFile.empty()) return false;
    ComRef<IShellLinkW> shellLink;
    ComRef<IPersistFile> file;
    if (!MakeLink(shellLink, file) || FAILED(file->Load(lnkFile.c_str(), STGM_READ))) return false;
    ShellLinkFields read;
    IShellLinkW* l = shellLink.get();
    int showCmd = 0;
    bool ok =
        ReadField(read.ExeFile, [l](wchar_t* b, int n) { return l->GetPath(b, n, nullptr, SLGP_UNCPRIORITY); }) &&
        ReadField(read.WorkDir, [l](wchar_t* b, int n) { return l->GetWorkingDirectory(b, n); }) &&
        ReadField(read.ExeArgs, [l](wchar_t* b, int n) { return l->GetArguments(b, n); }) &&
        ReadField(read.Description, [l](wchar_t* b, int n) { return l->GetDescription(b, n); }) &&
        ReadField(read.IconFile, [l, &read](wchar_t* b, int n) { return l->GetIconLocation(b, n, &read.IconIdx); }) &&
        SUCCEEDED(l->GetShowCmd(&showCmd));
    if (!ok) return false;
    read.ShowCmd = showCmd;
    link = std::move(read);
    return true;
}

}  // namespace quibex
