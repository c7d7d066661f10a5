// A fresh, private program folder per test: copies of the built binaries,
// optionally an INI, removed again when the object goes away.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace e2e {

class ProgramFolder {
public:
  // Creates a new empty folder under the Wine temp folder; path() is empty if that failed.
  ProgramFolder();
  // Removes the folder and everything in it, retrying while files are still in use.
  ~ProgramFolder();
  ProgramFolder(const ProgramFolder&) = delete;
  ProgramFolder& operator=(const ProgramFolder&) = delete;

  // The folder (Windows path, no trailing backslash).
  const std::wstring& path() const { return path_; }
  // path() + "\\" + name.
  std::wstring file(std::wstring_view name) const;

  // The build's program folder (build/win32/bin) as a Windows path.
  static std::wstring buildBinFolder();
  // Copies each named file from `from` (default: the build's program folder); false if any copy failed.
  bool copyFrom(const std::vector<std::wstring>& names, const std::wstring& from = buildBinFolder());
  // Where the programs under test come from: the build's program folder, or the
  // host folder named by QUIBEX_E2E_PROGRAMS (an unpacked release, for instance).
  static std::wstring programSourceFolder();
  // Copies those of Quibex.exe, Quibexsetup.exe and the three archiver libraries that exist there; returns the names copied.
  std::vector<std::wstring> copyProgramFiles(const std::wstring& from = programSourceFolder());

  // Writes an INI given as UTF-8 in CP932, no BOM, lone LF turned into CRLF.
  bool writeIni(std::string_view utf8Text, std::wstring_view name = L"Quibex.ini") const;
  // Reads the INI back as UTF-8 with CRLF turned into LF; ok=false if it does not exist.
  std::string readIni(std::wstring_view name = L"Quibex.ini", bool* ok = nullptr) const;
  // One INI value through the profile API (system code page); `fallback` when missing.
  std::wstring iniValue(std::wstring_view section, std::wstring_view key,
                        std::wstring_view fallback = L"", std::wstring_view name = L"Quibex.ini") const;

  // Deletes a folder tree, clearing read-only/hidden/system attributes and retrying for up to `timeoutMs`.
  static bool removeTree(const std::wstring& folder, unsigned timeoutMs = 10000);

private:
  std::wstring path_;
};

}  // namespace e2e
