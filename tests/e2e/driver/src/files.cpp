#include "e2e/files.h"

#include <windows.h>

#include <algorithm>

#include "e2e/handle.h"
#include "e2e/text.h"

namespace e2e {

std::vector<unsigned char> readFileBytes(const std::wstring& path, bool* ok) {
  if (ok) *ok = false;
  UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return {};
  LARGE_INTEGER size{};
  // Test files are small; refuse anything that does not fit a DWORD read.
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > 0x7fffffff) return {};
  std::vector<unsigned char> bytes(static_cast<size_t>(size.QuadPart));
  DWORD got = 0;
  if (!bytes.empty() && (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) ||
                         got != bytes.size())) {
    return {};
  }
  if (ok) *ok = true;
  return bytes;
}

bool writeFileBytes(const std::wstring& path, std::string_view bytes) {
  UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                nullptr));
  if (!file) return false;
  DWORD put = 0;
  return bytes.empty() ||
         (WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr) && put == bytes.size());
}

std::wstring hostToWinePath(std::string_view hostPath) {
  std::wstring path = fromUtf8(hostPath);
  for (auto& c : path) {
    if (c == L'/') c = L'\\';
  }
  // Wine maps the host root to drive Z:.
  if (!hostPath.empty() && hostPath.front() == '/') path.insert(0, L"Z:");
  while (path.size() > 3 && path.back() == L'\\') path.pop_back();
  return path;
}

std::wstring joinPath(std::wstring_view folder, std::wstring_view name) {
  std::wstring out(folder);
  if (!out.empty() && out.back() != L'\\' && out.back() != L'/') out += L'\\';
  out += name;
  return out;
}

bool pathExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool createFolders(const std::wstring& path) {
  if (path.empty()) return false;
  const DWORD attrs = GetFileAttributesW(path.c_str());
  if (attrs != INVALID_FILE_ATTRIBUTES) return (attrs & FILE_ATTRIBUTE_DIRECTORY) != 0;
  const size_t cut = path.find_last_of(L"\\/");
  // Stop at a drive root ("Z:\") or a bare name.
  if (cut != std::wstring::npos && cut > 2) {
    if (!createFolders(path.substr(0, cut))) return false;
  }
  return CreateDirectoryW(path.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

std::vector<std::wstring> listFolder(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW fd;
  HANDLE find = FindFirstFileW(joinPath(folder, L"*").c_str(), &fd);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring name = fd.cFileName;
    if (name != L"." && name != L"..") names.push_back(name);
  } while (FindNextFileW(find, &fd));
  FindClose(find);
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace e2e
