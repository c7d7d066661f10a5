#include "classes_guard.h"

#include <sddl.h>

#include <e2e/registry.h>

namespace {

constexpr const wchar_t* kBackup = L"Software\\QuibexSetupE2e";

std::wstring BackupOf(size_t index) { return std::wstring(kBackup) + L"\\" + std::to_wstring(index); }

// Copies `from` of one root with its values and subkeys into `to` of another.
bool CopyTree(HKEY fromRoot, const std::wstring& from, HKEY toRoot, const std::wstring& to) {
    HKEY source = nullptr, target = nullptr;
    bool ok = RegOpenKeyExW(fromRoot, from.c_str(), 0, KEY_READ, &source) == ERROR_SUCCESS &&
              RegCreateKeyExW(toRoot, to.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &target, nullptr) ==
                  ERROR_SUCCESS &&
              RegCopyTreeW(source, nullptr, target) == ERROR_SUCCESS;
    if (source) RegCloseKey(source);
    if (target) RegCloseKey(target);
    return ok;
}

}  // namespace

ClassesGuard::ClassesGuard(std::vector<std::wstring> keys) : keys_(std::move(keys)) {
    e2e::regDeleteTree(HKEY_CURRENT_USER, kBackup);
    for (size_t i = 0; i < keys_.size(); ++i) {
        if (!e2e::regKeyExists(HKEY_CLASSES_ROOT, keys_[i])) continue;
        clean_ = CopyTree(HKEY_CLASSES_ROOT, keys_[i], HKEY_CURRENT_USER, BackupOf(i)) &&
                 e2e::regDeleteTree(HKEY_CLASSES_ROOT, keys_[i]) && clean_;
    }
}

ClassesGuard::~ClassesGuard() {
    for (size_t i = 0; i < keys_.size(); ++i) {
        e2e::regDeleteTree(HKEY_CLASSES_ROOT, keys_[i]);
        if (e2e::regKeyExists(HKEY_CURRENT_USER, BackupOf(i)))
            CopyTree(HKEY_CURRENT_USER, BackupOf(i), HKEY_CLASSES_ROOT, keys_[i]);
    }
    e2e::regDeleteTree(HKEY_CURRENT_USER, kBackup);
}

KeyLock::KeyLock(HKEY root, std::wstring subKey) : root_(root), subKey_(std::move(subKey)) {
    // DELETE | KEY_CREATE_SUB_KEY | KEY_SET_VALUE denied, everything else allowed.
    locked_ = SetDacl(L"D:(D;;0x10006;;;WD)(A;;KA;;;WD)");
}

KeyLock::~KeyLock() {
    if (locked_) SetDacl(L"D:(A;;KA;;;WD)");
}

bool KeyLock::SetDacl(const wchar_t* sddl) {
    PSECURITY_DESCRIPTOR sd = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &sd, nullptr)) return false;
    HKEY key = nullptr;
    bool ok = RegOpenKeyExW(root_, subKey_.c_str(), 0, WRITE_DAC, &key) == ERROR_SUCCESS &&
              RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, sd) == ERROR_SUCCESS;
    if (key) RegCloseKey(key);
    LocalFree(sd);
    return ok;
}
