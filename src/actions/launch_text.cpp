#include "actions/launch_text.h"

#include <algorithm>
#include <cwctype>

#include "core/path_text.h"

namespace quibex {

namespace {

bool SameChar(wchar_t a, wchar_t b, bool ignoreCase) {
    if (!ignoreCase) return a == b;
    return std::towlower(static_cast<wint_t>(a)) == std::towlower(static_cast<wint_t>(b));
}

size_t FindFrom(const std::wstring& text, const std::wstring& find, size_t from, bool ignoreCase) {
    auto hit = std::search(text.begin() + static_cast<std::ptrdiff_t>(from), text.end(), find.begin(), find.end(),
                           [ignoreCase](wchar_t a, wchar_t b) { return SameChar(a, b, ignoreCase); });
    return hit == text.end() ? std::wstring::npos : static_cast<size_t>(hit - text.begin());
}

}  // namespace

std::wstring ReplaceText(const std::wstring& text, const std::wstring& find, const std::wstring& replacement, int start,
                         int count, int compareMode) {
    // An empty search text would match everywhere without advancing.
    if (find.empty() || count == 0) return text;
    size_t pos = start > 1 ? static_cast<size_t>(start) - 1 : 0;
    if (pos >= text.size()) return text;
    const bool ignoreCase = compareMode == 1;
    std::wstring result = text;
    for (int done = 0; count < 0 || done < count; ++done) {
        size_t hit = FindFrom(result, find, pos, ignoreCase);
        if (hit == std::wstring::npos) break;
        result.replace(hit, find.size(), replacement);
        pos = hit + replacement.size();
    }
    return result;
}

std::wstring CollapseExecutableBuffer(const std::wstring& buffer) {
    std::wstring s = buffer;
    std::replace(s.begin(), s.end(), L'\0', L' ');
    // Trimming happens only inside the loop: a path that fills the buffer up to
    // a single trailing blank keeps that blank.
    while (s.find(L"  ") != std::wstring::npos) {
        s = ReplaceText(s, L"  ", L" ");
        s = TrimSpaces(s);
    }
    return s;
}

bool NamesQuibex(const std::wstring& path) { return ToLower(path).find(L"quibex.exe") != std::wstring::npos; }

std::wstring QuoteToolPath(const std::wstring& toolPath) {
    if (toolPath.size() >= 2 && toolPath.front() == L'"' && toolPath.back() == L'"') return toolPath;
    return L"\"" + toolPath + L"\"";
}

std::wstring ToolCommandLine(const std::wstring& toolPath, const std::wstring& filePath) {
    return QuoteToolPath(toolPath) + L" \"" + filePath + L"\"";
}

std::wstring PrintToolCommandLine(const std::wstring& toolPath, const std::wstring& filePath, const std::wstring& param,
                                  int paramAfterFile) {
    if (param.empty()) return ToolCommandLine(toolPath, filePath);
    if (paramAfterFile == 1) return ToolCommandLine(toolPath, filePath) + L" " + param;
    return QuoteToolPath(toolPath) + L" " + param + L" \"" + filePath + L"\"";
}

}  // namespace quibex
