// The shell state the welcome and about scenarios change in the shared
// prefix, each piece put back when the scenario ends, pass or fail.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "install/shell_link.h"

// One registry value, saved with its type and put back (or deleted again) at the end.
class SavedRegistryValue {
public:
    SavedRegistryValue(HKEY root, std::wstring subkey, std::wstring value);
    ~SavedRegistryValue();
    SavedRegistryValue(const SavedRegistryValue&) = delete;
    SavedRegistryValue& operator=(const SavedRegistryValue&) = delete;

private:
    HKEY root_;
    std::wstring subkey_, value_;
    bool existed_ = false;
    DWORD type_ = 0;
    std::vector<BYTE> data_;
};

// Points the prefix's Desktop and Send To folders at folders inside `base`
// for the scenario, so that links land there and never in the host's home
// (Wine links the prefix's Desktop to it). `sendToExists` false leaves the
// Send To folder missing, as on a machine without one.
class ScenarioShellFolders {
public:
    explicit ScenarioShellFolders(const std::wstring& base, bool sendToExists = true);
    const std::wstring& desktop() const { return desktop_; }
    const std::wstring& sendTo() const { return sendTo_; }

private:
    std::wstring desktop_, sendTo_;
    SavedRegistryValue userDesktop_, userSendTo_, resolvedDesktop_, resolvedSendTo_;
};

// Points the prefix's "https" open command at `program` "%1" for the scenario.
class HttpsHandler {
public:
    explicit HttpsHandler(const std::wstring& program);

private:
    SavedRegistryValue command_;
};

// A link read back through the shell's link object; nothing when unreadable.
std::optional<quibex::ShellLinkFields> ReadLink(const std::wstring& lnkFile);
// The long form of an existing path with an upper-case drive letter.
std::wstring LongPath(const std::wstring& path);
