// Default (unnamed) texts of keys below a classes root: HKEY_CLASSES_ROOT in
// the program, a private key in the tests. Each routine opens and closes its
// key; none reports more than success.
#pragma once

#include <windows.h>

#include <string>

namespace quibexsetup {

// The key's default text up to its first NUL; empty when the key or a text
// value is missing. Opened for reading only, so entries are still found
// where the user may not write.
std::wstring ReadDefaultText(HKEY root, const std::wstring& subKey);
// Creates the key if needed and sets its default text (REG_SZ); false when
// the key cannot be created or opened for writing, or the write fails.
bool WriteDefaultText(HKEY root, const std::wstring& subKey, const std::wstring& text);
// Deletes a key that has no subkeys; true when it was deleted.
bool DeleteKey(HKEY root, const std::wstring& subKey);

}  // namespace quibexsetup
