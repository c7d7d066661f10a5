#include "safe_name.h"

#include "wildcard.h"

namespace arc {

namespace {

bool isSeparator(char32_t c) { return c == U'/' || c == U'\\'; }

bool isForbidden(char32_t c) {
    if (c < 0x20 || c == 0x7F) return true;
    switch (c) {
    case U'<': case U'>': case U':': case U'"': case U'/': case U'\\': case U'|': case U'?': case U'*':
        return true;
    default:
        return false;
    }
}

bool isAsciiLetter(char32_t c) { return (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z'); }

// Windows resolves these to devices in any folder, also with an extension
// ("con.txt") and with trailing blanks before the dot.
bool isDeviceName(const std::u32string& name) {
    size_t dot = name.find(U'.');
    std::u32string base = foldCase(name.substr(0, dot));
    while (!base.empty() && base.back() == U' ') base.pop_back();
    static const char32_t* const fixed[] = {U"con", U"prn", U"aux", U"nul", U"conin$", U"conout$", U"clock$"};
    for (const char32_t* d : fixed)
        if (base == d) return true;
    if (base.size() == 4 && (base.compare(0, 3, U"com") == 0 || base.compare(0, 3, U"lpt") == 0)) {
        char32_t n = base[3];
        // Superscript digits count as well on current Windows.
        return (n >= U'0' && n <= U'9') || n == 0xB9 || n == 0xB2 || n == 0xB3;
    }
    return false;
}

}  // namespace

std::string safeFileName(std::string_view memberName) {
    std::u32string full = decodeUtf8(memberName);
    // Last component; trailing separators belong to folder entries.
    while (!full.empty() && isSeparator(full.back())) full.pop_back();
    size_t start = full.size();
    while (start > 0 && !isSeparator(full[start - 1])) --start;
    std::u32string name = full.substr(start);
    // "C:name" is relative to a drive's current folder.
    if (name.size() >= 2 && isAsciiLetter(name[0]) && name[1] == U':') name.erase(0, 2);
    for (char32_t& c : name)
        if (isForbidden(c) || c == 0xFFFD) c = U'_';
    while (!name.empty() && (name.back() == U'.' || name.back() == U' ')) name.pop_back();
    while (!name.empty() && name.front() == U' ') name.erase(0, 1);
    if (name.size() > kMaxNameChars) {
        // Keep a short extension so the file still opens with the right program.
        size_t dot = name.rfind(U'.');
        std::u32string ext = dot != std::u32string::npos && name.size() - dot <= 16 ? name.substr(dot) : U"";
        name = name.substr(0, kMaxNameChars - ext.size()) + ext;
        while (!name.empty() && (name.back() == U'.' || name.back() == U' ')) name.pop_back();
    }
    if (name.empty()) return "noname";
    if (isDeviceName(name)) name.insert(0, 1, U'_');
    return encodeUtf8(name);
}

bool UniqueNames::taken(const std::string& name) const { return used_.count(FileNameKey(name)) != 0; }

std::string UniqueNames::claim(const std::string& safeName) {
    std::string result = safeName;
    if (taken(result)) {
        // The extension is whatever follows the last dot, unless the dot leads the name.
        size_t dot = safeName.rfind('.');
        if (dot == 0 || dot == std::string::npos) dot = safeName.size();
        std::string stem = safeName.substr(0, dot), ext = safeName.substr(dot);
        for (unsigned k = 2;; ++k) {
            result = stem + " (" + std::to_string(k) + ")" + ext;
            if (!taken(result)) break;
        }
    }
    used_.insert(FileNameKey(result));
    return result;
}

}  // namespace arc
