#include "ansi.h"

#include <windows.h>

namespace arcdll {

namespace {
std::wstring toWide(const char* s, int len, UINT cp) {
    int n = MultiByteToWideChar(cp, 0, s, len, nullptr, 0);
    std::wstring w(static_cast<size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0) MultiByteToWideChar(cp, 0, s, len, w.data(), n);
    return w;
}
std::string fromWide(const std::wstring& w, UINT cp) {
    if (w.empty()) return {};
    int len = static_cast<int>(w.size());
    int n = WideCharToMultiByte(cp, 0, w.data(), len, nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<size_t>(n > 0 ? n : 0), '\0');
    if (n > 0) WideCharToMultiByte(cp, 0, w.data(), len, s.data(), n, nullptr, nullptr);
    return s;
}
}  // namespace

std::string ansiToUtf8(const char* ansi) {
    if (!ansi || !*ansi) return {};
    return fromWide(toWide(ansi, static_cast<int>(strlen(ansi)), CP_ACP), CP_UTF8);
}

std::string utf8ToAnsi(const std::string& utf8) { return fromWide(utf8ToWide(utf8), CP_ACP); }

std::wstring utf8ToWide(const std::string& utf8) {
    if (utf8.empty()) return {};
    return toWide(utf8.data(), static_cast<int>(utf8.size()), CP_UTF8);
}

std::string wideToUtf8(const std::wstring& wide) { return fromWide(wide, CP_UTF8); }

std::string wideToAnsi(const std::wstring& wide) { return fromWide(wide, CP_ACP); }

void copyAnsiField(const std::string& ansi, char* field, size_t fieldSize) {
    if (fieldSize == 0) return;
    size_t limit = fieldSize - 1, end = 0;
    // Walk characters so a double-byte character is never split at the cut.
    while (end < ansi.size()) {
        size_t len = IsDBCSLeadByte(static_cast<BYTE>(ansi[end])) && end + 1 < ansi.size() ? 2 : 1;
        if (end + len > limit) break;
        end += len;
    }
    memcpy(field, ansi.data(), end);
    field[end] = '\0';
}

}  // namespace arcdll
