// clsShellLink: the shell's link (.lnk) object and its special-folder
// lookup. Every failure of the shell becomes a false result; nothing is
// shown. The object keeps COM available on this thread while it lives; each
// call makes and releases the shell objects it needs.
#pragma once

#include <windows.h>

#include <string>

namespace quibex {

// Special folders the program asks for.
inline constexpr int kDesktopFolder = 0;  // CSIDL_DESKTOP
inline constexpr int kSendToFolder = 9;   // CSIDL_SENDTO

// What a link holds besides its own file name.
struct ShellLinkFields {
    std::wstring ExeFile;
    std::wstring WorkDir;
    std::wstring ExeArgs;
    std::wstring IconFile;
    int IconIdx = 0;
    int ShowCmd = SW_SHOWNORMAL;
    std::wstring Description;
};

class ShellLink {
public:
    ShellLink();
    ~ShellLink();
    ShellLink(const ShellLink&) = delete;
    ShellLink& operator=(const ShellLink&) = delete;

    // The file-system path of special folder `id`; false (and `sfPath`
    // untouched) when the folder is unknown, virtual or not on disk.
    bool GetSystemFolderPath(HWND owner, int id, std::wstring& sfPath) const;
    // Writes the link `lnkFile`, replacing a file of that name. Working
    // folder, arguments and icon are set only when given. False without
    // touching the disk when `lnkFile` or the target is empty.
    bool CreateShellLink(const std::wstring& lnkFile, const ShellLinkFields& link) const;
    // Reads the link `lnkFile` back.
    bool GetShellLinkInfo(const std::wstring& lnkFile, ShellLinkFields& link) const;

private:
    bool uninitialize_ = false;
};

}  // namespace quibex
