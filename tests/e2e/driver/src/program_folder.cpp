#include "e2e/program_folder.h"

#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <iterator>

#include "e2e/files.h"
#include "e2e/text.h"

namespace e2e {
namespace {

// Copied when a test asks for the whole program: whichever of these the build produced.
const wchar_t* const kProgramFiles[] = {L"Quibex.exe", L"Quibexsetup.exe", L"UNLHA32.DLL", L"UNZIP32.DLL",
                                        L"CAB32.DLL",  L"7-ZIP32.DLL",     L"UNRAR32.DLL"};

std::wstring tempRoot() {
  wchar_t buf[MAX_PATH + 1];
  const DWORD n = GetTempPathW(static_cast<DWORD>(std::size(buf)), buf);
  if (n == 0 || n > std::size(buf)) return hostToWinePath(E2E_HOST_TMP_DIR);
  std::wstring root(buf, n);
  while (!root.empty() && root.back() == L'\\') root.pop_back();
  return root;
}

std::string toCrlf(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
    out += text[i];
  }
  return out;
}

std::string fromCrlf(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out += text[i];
  }
  return out;
}

bool removeOnce(const std::wstring& folder) {
  WIN32_FIND_DATAW fd;
  HANDLE find = FindFirstFileW(joinPath(folder, L"*").c_str(), &fd);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = fd.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring full = joinPath(folder, name);
      // Read-only, hidden and system entries refuse deletion until cleared.
      SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        removeOnce(full);
      } else {
        DeleteFileW(full.c_str());
      }
    } while (FindNextFileW(find, &fd));
    FindClose(find);
  }
  SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
  RemoveDirectoryW(folder.c_str());
  return !pathExists(folder);
}

}  // namespace

ProgramFolder::ProgramFolder() {
  static std::atomic<unsigned> counter{0};
  const std::wstring root = tempRoot();
  createFolders(root);
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::wstring candidate =
        joinPath(root, L"quibex-e2e-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                           std::to_wstring(GetTickCount()) + L"-" + std::to_wstring(counter++));
    // CreateDirectory fails on an existing name, so a success is ours alone.
    if (CreateDirectoryW(candidate.c_str(), nullptr)) {
      path_ = candidate;
      return;
    }
  }
}

ProgramFolder::~ProgramFolder() {
  if (!path_.empty()) removeTree(path_);
}

std::wstring ProgramFolder::file(std::wstring_view name) const { return joinPath(path_, name); }

std::wstring ProgramFolder::buildBinFolder() { return hostToWinePath(E2E_HOST_BIN_DIR); }

std::wstring ProgramFolder::programSourceFolder() {
  const char* unpacked = std::getenv("QUIBEX_E2E_PROGRAMS");
  return unpacked && *unpacked ? hostToWinePath(unpacked) : buildBinFolder();
}

bool ProgramFolder::copyFrom(const std::vector<std::wstring>& names, const std::wstring& from) {
  if (path_.empty()) return false;
  bool all = true;
  for (const auto& name : names) {
    if (!CopyFileW(joinPath(from, name).c_str(), file(name).c_str(), FALSE)) all = false;
  }
  return all;
}

std::vector<std::wstring> ProgramFolder::copyProgramFiles(const std::wstring& from) {
  std::vector<std::wstring> copied;
  for (const wchar_t* name : kProgramFiles) {
    if (pathExists(joinPath(from, name)) && copyFrom({name}, from)) copied.emplace_back(name);
  }
  return copied;
}

bool ProgramFolder::writeIni(std::string_view utf8Text, std::wstring_view name) const {
  if (path_.empty()) return false;
  return writeFileBytes(file(name), utf8ToCp932(toCrlf(utf8Text)));
}

std::string ProgramFolder::readIni(std::wstring_view name, bool* ok) const {
  const auto bytes = readFileBytes(file(name), ok);
  return fromCrlf(cp932ToUtf8(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size())));
}

std::wstring ProgramFolder::iniValue(std::wstring_view section, std::wstring_view key, std::wstring_view fallback,
                                     std::wstring_view name) const {
  std::wstring buf(4096, L'\0');
  const DWORD n = GetPrivateProfileStringW(std::wstring(section).c_str(), std::wstring(key).c_str(),
                                           std::wstring(fallback).c_str(), buf.data(),
                                           static_cast<DWORD>(buf.size()), file(name).c_str());
  buf.resize(n);
  return buf;
}

bool ProgramFolder::removeTree(const std::wstring& folder, unsigned timeoutMs) {
  if (folder.empty() || !pathExists(folder)) return true;
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  // Files stay locked for a moment after the program ends; retry until they let go.
  while (!removeOnce(folder)) {
    if (GetTickCount64() >= deadline) return false;
    Sleep(50);
  }
  return true;
}

}  // namespace e2e
