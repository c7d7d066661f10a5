// The archive kinds are one design; this table holds what differs between
// them (the library, its routines' prefix, the kind's name on screen) and the
// command lines they send: a new kind is one row. Pure, tested natively.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace quibex {

enum class ReaderKind { Lzh, Zip, Cab, SevenZip, Rar };

struct ReaderFamily {
    ReaderKind kind;
    const wchar_t* dllName;       // "UNLHA32.DLL"
    const char* routinePrefix;    // "Unlha": UnlhaGetVersion, UnlhaOpenArchive, ...
    const wchar_t* switches;      // without the progress-off switch
    const wchar_t* progressOff;   // appended when "Progress" is 0
    const wchar_t* ownExtension;  // "LZH"; see IsOwnExtension for RAR's old volumes
    const wchar_t* noTextLine;    // the no-text sentence
    const wchar_t* formatName;    // "LHA": the messages and the status bar
};

const ReaderFamily& FamilyOf(ReaderKind kind);
// Every kind, in the order self-extracting programs are checked.
inline constexpr ReaderKind kReaderKinds[] = {ReaderKind::Lzh, ReaderKind::Zip, ReaderKind::Cab, ReaderKind::SevenZip,
                                              ReaderKind::Rar};

// Whether `upperExtension` (upper case, without the dot) is the kind's own:
// its `ownExtension`, and for RAR also the old volume names "R00" to "R99".
bool IsOwnExtension(ReaderKind kind, const std::wstring& upperExtension);

// The kind whose own extension `upperExtension` is; nothing for any other.
std::optional<ReaderKind> KindOfExtension(const std::wstring& upperExtension);

// Targets of the extraction command: "*.txt" plus the "TxtType" patterns, or
// only "readme.txt" when not every text is wanted.
std::wstring TextTargets(bool allText, const std::wstring& txtType);

// The reader's one extraction command. `workFolder` ends with "\".
std::wstring ExtractionCommand(ReaderKind kind, const std::wstring& archive, const std::wstring& workFolder,
                               bool progress, const std::wstring& targets);

// The single-member command of the document opener; `member` uses "/".
std::wstring DocumentCommand(ReaderKind kind, const std::wstring& archive, const std::wstring& workFolder,
                             const std::wstring& member);

// Whether a library result counts as success: the ZIP library's warnings
// below 0x8000, 0x800D and 0x8020 (members whose password the user declined)
// are not errors, and the 7z and RAR libraries report as it does; the LZH
// and CAB libraries accept only 0.
bool ReaderSucceeded(ReaderKind kind, int result);

// "UNLHA32.DLL からエラー(8010)が報告されました。"
std::wstring LibraryErrorMessage(ReaderKind kind, int result);

// Upper-case hexadecimal without leading zeros.
std::wstring Hex(uint32_t value);

}  // namespace quibex
