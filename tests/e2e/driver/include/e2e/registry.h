// Reading (and cleaning up) the Wine prefix's registry after a scenario.
// The prefix is shared by every test of the build: use keys of your own.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace e2e {

// A REG_SZ / REG_EXPAND_SZ value (unexpanded); nothing if the key or value is missing or of another type.
std::optional<std::wstring> regString(HKEY root, const std::wstring& subkey, const std::wstring& value);
// A REG_DWORD value; nothing if missing or of another type.
std::optional<DWORD> regDword(HKEY root, const std::wstring& subkey, const std::wstring& value);
// True when the key exists.
bool regKeyExists(HKEY root, const std::wstring& subkey);
// Names of a key's direct subkeys, sorted.
std::vector<std::wstring> regSubkeys(HKEY root, const std::wstring& subkey);
// Writes a REG_SZ value, creating the key; for preparing a scenario.
bool regSetString(HKEY root, const std::wstring& subkey, const std::wstring& value, const std::wstring& data);
// Writes a REG_DWORD value, creating the key.
bool regSetDword(HKEY root, const std::wstring& subkey, const std::wstring& value, DWORD data);
// Deletes one value; true if it is gone afterwards.
bool regDeleteValue(HKEY root, const std::wstring& subkey, const std::wstring& value);

// The prefix's screen DPI for programs started while this lives (Wine reads
// it at process start); the earlier setting comes back at the end.
class PrefixDpi {
public:
  explicit PrefixDpi(DWORD dpi);
  ~PrefixDpi();
  PrefixDpi(const PrefixDpi&) = delete;
  PrefixDpi& operator=(const PrefixDpi&) = delete;

private:
  std::optional<DWORD> saved_;
};

// Deletes a key with everything under it; true if it is gone afterwards.
bool regDeleteTree(HKEY root, const std::wstring& subkey);

}  // namespace e2e
