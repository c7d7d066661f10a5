// Pattern matching of the archiver family over UTF-8 member names, and the
// per-library rules for which members a command's patterns select.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "archive.h"
#include "text_codec.h"  // decodeUtf8, encodeUtf8

namespace arc {

// Case folding used for names: ASCII, Latin-1 letters and full-width Latin.
char32_t foldCase(char32_t c);
std::u32string foldCase(std::u32string_view s);

// DOS wildcards: '*' any run, '?' one character; case-insensitive; '/' and
// '\' are the same. When starCrossesFolders is false, '*' and '?' never match
// a separator. A trailing ".*" also matches a name without a dot ("*.*", "README.*").
bool wildcardMatch(std::string_view pattern, std::string_view name, bool starCrossesFolders = true);
bool hasWildcard(std::string_view pattern);

enum class MatchRule {
    LzhFileName,  // LZH without -p: the last path component (whole path if the pattern names folders)
    LzhWholePath, // LZH with -p: the whole stored path
    ZipPath,      // ZIP and CAB: the whole stored path, plus bare names found at any depth
};

// Which members the patterns select; no patterns select every member.
// A member matched by several patterns is selected once.
std::vector<bool> selectMembers(const std::vector<Member>& members,
                                const std::vector<std::string>& patterns, MatchRule rule);

// Splits a blank-separated pattern list ("*.txt *.doc", quotes allowed).
std::vector<std::string> splitPatterns(std::string_view list);

}  // namespace arc
