#include "ui/about_version.h"

#include <string>

#include "ui/about_texts.h"

namespace quibex {

namespace {
// At least `digits` digits, zeros in front.
std::wstring Padded(int value, size_t digits) {
    std::wstring text = std::to_wstring(value);
    if (text.size() < digits) text.insert(0, digits - text.size(), L'0');
    return text;
}
}  // namespace

std::wstring LibraryVersionText(int version, int subVersion) {
    if (version == 0) return about_text::kNotInstalled;
    std::wstring text = about_text::kVersionPrefix + std::to_wstring(version / 100) + L"." + Padded(version % 100, 2);
    if (subVersion > 0) text += L"." + std::to_wstring(subVersion / 100) + L"." + std::to_wstring(subVersion % 100);
    return text;
}

int64_t LhaCombinedVersion(int version, int subVersion) {
    return std::stoll(Padded(version, 3) + Padded(subVersion, 3));
}

bool LhaOutdated(int version, int subVersion) {
    return version != 0 && LhaCombinedVersion(version, subVersion) < 198204;
}
bool ZipOutdated(int version) { return version >= 1 && version <= 539; }
bool CabOutdated(int version) { return version >= 1 && version <= 97; }
// The 7z library before 9.00 and the RAR library before 1.00 predate the
// ZIP-style command line the reader sends them.
bool SevenZipOutdated(int version) { return version >= 1 && version <= 899; }
bool RarOutdated(int version) { return version >= 1 && version <= 99; }

std::wstring ProgramVersionText(int major, int minor, int revision) {
    std::wstring text = std::to_wstring(major) + L"." + Padded(minor, 2);
    if (revision > 0) text += L"." + std::to_wstring(revision);
    return text;
}

}  // namespace quibex
