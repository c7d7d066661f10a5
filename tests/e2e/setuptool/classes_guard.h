// The scenarios write below HKEY_CLASSES_ROOT of a prefix every test shares:
// ClassesGuard gives a scenario a clean start for the keys it names and puts
// them back as they were afterwards, pass or fail. KeyLock takes the user's
// write rights away from one key, as on a locked-down machine.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class ClassesGuard {
public:
    // Saves each named key (with everything under it) aside, then deletes it.
    explicit ClassesGuard(std::vector<std::wstring> keys);
    // Deletes the keys again and copies the saved ones back.
    ~ClassesGuard();
    ClassesGuard(const ClassesGuard&) = delete;
    ClassesGuard& operator=(const ClassesGuard&) = delete;
    // True when every key was saved and is gone now.
    bool clean() const { return clean_; }

private:
    std::vector<std::wstring> keys_;
    bool clean_ = true;
};

class KeyLock {
public:
    // Denies everyone setting values, making subkeys and deleting `subKey` of `root`.
    KeyLock(HKEY root, std::wstring subKey);
    // Gives full access back.
    ~KeyLock();
    KeyLock(const KeyLock&) = delete;
    KeyLock& operator=(const KeyLock&) = delete;
    bool locked() const { return locked_; }

private:
    bool SetDacl(const wchar_t* sddl);
    HKEY root_;
    std::wstring subKey_;
    bool locked_ = false;
};
