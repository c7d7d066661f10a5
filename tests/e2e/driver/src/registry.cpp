#include "e2e/registry.h"

#include <algorithm>
#include <iterator>

namespace e2e {
namespace {

// Move-only owner of an open registry key.
class Key {
public:
  Key(HKEY root, const std::wstring& subkey, REGSAM access) {
    if (RegOpenKeyExW(root, subkey.c_str(), 0, access, &key_) != ERROR_SUCCESS) key_ = nullptr;
  }
  ~Key() {
    if (key_) RegCloseKey(key_);
  }
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;
  HKEY get() const { return key_; }

private:
  HKEY key_ = nullptr;
};

}  // namespace

std::optional<std::wstring> regString(HKEY root, const std::wstring& subkey, const std::wstring& value) {
  Key key(root, subkey, KEY_QUERY_VALUE);
  if (!key.get()) return std::nullopt;
  DWORD type = 0;
  DWORD bytes = 0;
  if (RegQueryValueExW(key.get(), value.c_str(), nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ)) {
    return std::nullopt;
  }
  std::wstring data(bytes / sizeof(wchar_t) + 1, L'\0');
  DWORD got = static_cast<DWORD>(data.size() * sizeof(wchar_t));
  if (RegQueryValueExW(key.get(), value.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &got) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  // The stored data may or may not carry its terminating zero.
  data.resize(std::min<size_t>(got / sizeof(wchar_t), data.size()));
  while (!data.empty() && data.back() == L'\0') data.pop_back();
  return data;
}

std::optional<DWORD> regDword(HKEY root, const std::wstring& subkey, const std::wstring& value) {
  Key key(root, subkey, KEY_QUERY_VALUE);
  if (!key.get()) return std::nullopt;
  DWORD type = 0;
  DWORD data = 0;
  DWORD bytes = sizeof data;
  if (RegQueryValueExW(key.get(), value.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&data), &bytes) !=
          ERROR_SUCCESS ||
      type != REG_DWORD || bytes != sizeof data) {
    return std::nullopt;
  }
  return data;
}

bool regKeyExists(HKEY root, const std::wstring& subkey) { return Key(root, subkey, KEY_READ).get() != nullptr; }

std::vector<std::wstring> regSubkeys(HKEY root, const std::wstring& subkey) {
  std::vector<std::wstring> names;
  Key key(root, subkey, KEY_ENUMERATE_SUB_KEYS);
  if (!key.get()) return names;
  // Registry key names are at most 255 characters.
  wchar_t name[256];
  for (DWORD i = 0;; ++i) {
    DWORD len = static_cast<DWORD>(std::size(name));
    if (RegEnumKeyExW(key.get(), i, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.emplace_back(name, len);
  }
  std::sort(names.begin(), names.end());
  return names;
}

bool regSetString(HKEY root, const std::wstring& subkey, const std::wstring& value, const std::wstring& data) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(root, subkey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const LONG rc = RegSetValueExW(key, value.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                                 static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
  return rc == ERROR_SUCCESS;
}

bool regSetDword(HKEY root, const std::wstring& subkey, const std::wstring& value, DWORD data) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(root, subkey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const LONG rc = RegSetValueExW(key, value.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data);
  RegCloseKey(key);
  return rc == ERROR_SUCCESS;
}

bool regDeleteValue(HKEY root, const std::wstring& subkey, const std::wstring& value) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, subkey.c_str(), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return true;
  const LONG rc = RegDeleteValueW(key, value.c_str());
  RegCloseKey(key);
  return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND;
}

namespace {
constexpr const wchar_t* kDesktopKey = L"Control Panel\\Desktop";
}

PrefixDpi::PrefixDpi(DWORD dpi) : saved_(regDword(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels")) {
  regSetDword(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels", dpi);
}

PrefixDpi::~PrefixDpi() {
  if (saved_) regSetDword(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels", *saved_);
  else regDeleteValue(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels");
}

bool regDeleteTree(HKEY root, const std::wstring& subkey) {
  // Never the root itself: an empty subkey would empty the whole hive.
  if (subkey.empty()) return false;
  for (const auto& child : regSubkeys(root, subkey)) regDeleteTree(root, subkey + L"\\" + child);
  RegDeleteKeyW(root, subkey.c_str());
  return !regKeyExists(root, subkey);
}

}  // namespace e2e
