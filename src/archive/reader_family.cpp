#include "archive/reader_family.h"

#include <iterator>

#include "archive/archive_texts.h"
#include "archive/text_selection.h"

namespace quibex {

namespace {
const ReaderFamily kFamilies[] = {
    {ReaderKind::Lzh, L"UNLHA32.DLL", "Unlha", L"-y -c -a1", L" -n", L"LZH", archive_text::kNoTextLha, L"LHA"},
    {ReaderKind::Zip, L"UNZIP32.DLL", "UnZip", L"-x -j -o", L" --i", L"ZIP", archive_text::kNoTextZip, L"ZIP"},
    {ReaderKind::Cab, L"CAB32.DLL", "Cab", L"-x -j -o", L" -i", L"CAB", archive_text::kNoTextCab, L"CAB"},
    {ReaderKind::SevenZip, L"7-ZIP32.DLL", "SevenZip", L"-x -j -o", L" --i", L"7Z", archive_text::kNoText7z, L"7Z"},
    {ReaderKind::Rar, L"UNRAR32.DLL", "Unrar", L"-x -j -o", L" --i", L"RAR", archive_text::kNoTextRar, L"RAR"},
};
static_assert(std::size(kFamilies) == std::size(kReaderKinds));

// "R00" to "R99": the volumes after the first of an old RAR set.
bool IsAsciiDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }
bool IsOldRarVolume(const std::wstring& ext) {
    return ext.size() == 3 && ext[0] == L'R' && IsAsciiDigit(ext[1]) && IsAsciiDigit(ext[2]);
}

std::wstring Quoted(const std::wstring& s) { return L"\"" + s + L"\""; }
}  // namespace

const ReaderFamily& FamilyOf(ReaderKind kind) { return kFamilies[static_cast<int>(kind)]; }

bool IsOwnExtension(ReaderKind kind, const std::wstring& upperExtension) {
    if (upperExtension == FamilyOf(kind).ownExtension) return true;
    return kind == ReaderKind::Rar && IsOldRarVolume(upperExtension);
}

std::optional<ReaderKind> KindOfExtension(const std::wstring& upperExtension) {
    for (ReaderKind kind : kReaderKinds)
        if (IsOwnExtension(kind, upperExtension)) return kind;
    return std::nullopt;
}

std::wstring TextTargets(bool allText, const std::wstring& txtType) {
    if (!allText) return L"readme.txt";
    std::wstring extra = ExtensionsToPatterns(txtType);
    return extra.empty() ? L"*.txt" : L"*.txt " + extra;
}

std::wstring ExtractionCommand(ReaderKind kind, const std::wstring& archive, const std::wstring& workFolder,
                               bool progress, const std::wstring& targets) {
    const ReaderFamily& f = FamilyOf(kind);
    std::wstring switches = std::wstring(f.switches) + (progress ? L"" : f.progressOff);
    if (kind == ReaderKind::Lzh)
        return L"E " + Quoted(archive) + L" " + switches + L" " + Quoted(workFolder) + L" " + targets;
    return switches + L" " + Quoted(archive) + L" " + Quoted(workFolder) + L" " + targets;
}

std::wstring DocumentCommand(ReaderKind kind, const std::wstring& archive, const std::wstring& workFolder,
                             const std::wstring& member) {
    // The extraction switches of the kind, with progress always off.
    const ReaderFamily& f = FamilyOf(kind);
    const std::wstring switches = std::wstring(f.switches) + f.progressOff;
    if (kind == ReaderKind::Lzh)
        return L"E " + Quoted(archive) + L" " + switches + L" -p " + Quoted(workFolder) + L" " + Quoted(member);
    return switches + L" " + Quoted(archive) + L" " + Quoted(workFolder) + L" " + Quoted(member);
}

bool ReaderSucceeded(ReaderKind kind, int result) {
    // USER_CANCEL from the ZIP library: the user declined a member's password.
    // The members that were read stay readable, as after a member that failed
    // with a warning (the library reports any other failure in its place).
    // PASSWORD_FILE from the 7z and RAR libraries, which ask for no password:
    // an encrypted member was skipped and the others were read, so it counts
    // as the declined password does.
    constexpr int kUserCancel = 0x8020;
    constexpr int kPasswordFile = 0x800A;
    if (kind == ReaderKind::SevenZip || kind == ReaderKind::Rar) {
        if (result == kPasswordFile) return true;
    }
    if (kind == ReaderKind::Zip || kind == ReaderKind::SevenZip || kind == ReaderKind::Rar)
        return result < 0x8000 || result == 0x800D || result == kUserCancel;
    return result == 0;
}

std::wstring Hex(uint32_t value) {
    static const wchar_t* digits = L"0123456789ABCDEF";
    std::wstring out;
    do {
        out.insert(out.begin(), digits[value & 15]);
        value >>= 4;
    } while (value);
    return out;
}

std::wstring LibraryErrorMessage(ReaderKind kind, int result) {
    return archive_text::LibraryError(FamilyOf(kind).dllName, Hex(static_cast<uint32_t>(result)));
}

}  // namespace quibex
