// Asking Windows which program belongs to a file, and starting that program
// through the shell.
#pragma once

#include <windows.h>

#include <string>

#include "actions/launch_text.h"  // ReplaceText

namespace quibex {

// Reads one value below `root`; an empty `valueName` is the key's default
// value. The key is opened with access 0x3F, so a key the user may not write
// to reads as missing. A string of 256 bytes or more in the system code page,
// a value of another type, or any failure gives `fallback`.
std::wstring RegReadValue(HKEY root, const std::wstring& subKey, const std::wstring& valueName, std::wstring fallback);
DWORD RegReadValue(HKEY root, const std::wstring& subKey, const std::wstring& valueName, DWORD fallback);

// The executable the shell associates with `path`, or empty when there is none.
std::wstring FindAssociatedExe(const std::wstring& path);

// Starts `path` with its associated program. `verbMode` 0 uses "open", 1 the
// default verb of the file's class (falling back to "open"); any other value
// does nothing. A path enclosed in double quotes loses them, also in the
// caller's variable. True when the shell started the program. Shows nothing.
bool OpenByAssociation(std::wstring& path, int verbMode);

// Open the archive / an extracted text with its association, with a message
// on failure. The archive routine refuses an association that leads back to
// this program.
bool OpenArchiveByAssociation(const std::wstring& archivePath);
bool OpenTextByAssociation(const std::wstring& textPath);

// The verb mode every caller uses: ShellExecOpen non-zero gives 0, zero gives 1.
int VerbModeFromSettings();

}  // namespace quibex
