// Flat output names that are safe to create directly inside the target
// folder on Windows and POSIX, whatever a hostile archive stores.
#pragma once

#include <set>
#include <string>
#include <string_view>

#include "name_case.h"

namespace arc {

// The member's last path component, made harmless: no drive prefix, no ':'
// streams, no characters Windows rejects or control characters (each becomes
// '_'), no trailing dots or spaces, no reserved device name (CON, NUL.txt...
// get a leading '_'), at most kMaxNameChars code points. Never empty, never
// "." or "..". Input and output are UTF-8.
std::string safeFileName(std::string_view memberName);

constexpr size_t kMaxNameChars = 200;  // leaves room for " (N)" and the folder within MAX_PATH-free APIs

// Hands out names unique within one command, compared as the Windows file
// system compares them (case-insensitive over all of Unicode): the first
// "a.txt" keeps its name, later ones get "a (2).txt", "a (3).txt".
class UniqueNames {
public:
    std::string claim(const std::string& safeName);
    bool taken(const std::string& name) const;

private:
    std::set<FileNameKey> used_;
};

}  // namespace arc
