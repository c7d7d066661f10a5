// Path routines that look at the file system.
#pragma once

#include <windows.h>

#include <string>

namespace quibex {

// Unquotes `path` in place (see UnquotePath), then tells whether the file
// can be opened for reading. An empty path is false.
bool FileExists(std::wstring& path);
// The path with every component as stored on disk; empty when a component
// is missing or a UNC path has no share.
std::wstring LongPathName(const std::wstring& path);
// The system open-file dialog; empty when cancelled. `filter` holds pairs
// separated by NUL characters.
std::wstring SelectArchiveFile(HWND owner, const std::wstring& filter, const std::wstring& initialFolder,
                               const std::wstring& title);
// Folder of the running executable, without a trailing "\" unless it is a drive root.
std::wstring ApplicationFolder();
// Base name of the running executable without its extension.
std::wstring ApplicationBaseName();
bool PathExists(const std::wstring& path);

}  // namespace quibex
