// Names of the work folders, and the test every deletion passes first: only
// a folder named as the program names its work folders is ever emptied, so
// an empty or stray path can never delete the user's files. Pure, tested natively.
#pragma once

#include <string>

namespace quibex {

// "<program folder>\temp", without the trailing "\".
std::wstring WorkFolderFor(const std::wstring& appFolder);
// The fallback when the program folder is read-only: "<temp>\Quibex temp".
std::wstring FallbackWorkFolderFor(const std::wstring& tempPath);
// "<temp>\~quibex.tmp".
std::wstring CabWorkFolderFor(const std::wstring& tempPath);
// A side-by-side instance's own sub-folder: "<folder>\qx-<process id>" or
// "<cab folder>-<process id>".
std::wstring InstanceWorkFolder(const std::wstring& folder, unsigned long processId);
std::wstring InstanceCabWorkFolder(const std::wstring& cabFolder, unsigned long processId);

// True for an absolute path (drive or UNC) whose last part is "temp" or
// "Quibex temp", or "qx-<digits>" directly inside one of those; a trailing
// "\" is allowed.
bool IsWorkFolderPath(const std::wstring& path);
// True for an absolute path whose last part is "~quibex.tmp" or "~quibex.tmp-<digits>".
bool IsCabWorkFolderPath(const std::wstring& path);

}  // namespace quibex
