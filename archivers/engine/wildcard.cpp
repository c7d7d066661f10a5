#include "wildcard.h"

#include <algorithm>
#include <cstdint>

namespace arc {

char32_t foldCase(char32_t c) {
    if (c >= U'A' && c <= U'Z') return c + 0x20;
    // Latin-1 capitals except the multiplication sign.
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;
    // Full-width Latin capitals, common in Japanese file names.
    if (c >= 0xFF21 && c <= 0xFF3A) return c + 0x20;
    return c;
}

std::u32string foldCase(std::u32string_view s) {
    std::u32string out(s);
    for (char32_t& c : out) c = foldCase(c);
    return out;
}

namespace {

// Folded, with '\' turned into '/'.
std::u32string normalise(std::string_view s) {
    std::u32string out = foldCase(decodeUtf8(s));
    for (char32_t& c : out)
        if (c == U'\\') c = U'/';
    return out;
}

// Table matching over code points: O(pattern × name) time, O(name) memory,
// no backtracking blow-up on patterns like "*a*a*a*b".
bool matchNormalised(const std::u32string& p, const std::u32string& n, bool cross) {
    std::vector<char> row(n.size() + 1, 0), next(n.size() + 1, 0);
    row[0] = 1;
    for (char32_t pc : p) {
        std::fill(next.begin(), next.end(), 0);
        if (pc == U'*') {
            next[0] = row[0];
            for (size_t j = 1; j <= n.size(); ++j)
                next[j] = row[j] || (next[j - 1] && (cross || n[j - 1] != U'/'));
        } else {
            for (size_t j = 1; j <= n.size(); ++j) {
                if (!row[j - 1]) continue;
                char32_t nc = n[j - 1];
                next[j] = pc == U'?' ? (cross || nc != U'/') : pc == nc;
            }
        }
        row.swap(next);
    }
    return row[n.size()] != 0;
}

std::u32string lastComponent(const std::u32string& path) {
    size_t slash = path.rfind(U'/');
    return slash == std::u32string::npos ? path : path.substr(slash + 1);
}

// Folder entries are stored as "doc/"; compare them without the slash.
std::string_view withoutTrailingSeparator(std::string_view name) {
    while (!name.empty() && (name.back() == '/' || name.back() == '\\')) name.remove_suffix(1);
    return name;
}

bool hasSeparator(std::string_view s) { return s.find_first_of("/\\") != std::string_view::npos; }

// Callers build member paths from a folder part and a name, so "\a.txt" and
// "doc/\a.txt" occur; stored names may start with '/'. Paths compare with
// one '/' between components and none in front.
std::string tidyPath(std::string_view path) {
    std::string out;
    out.reserve(path.size());
    for (char c : path) {
        bool sep = c == '/' || c == '\\';
        if (sep && (out.empty() || out.back() == '/')) continue;
        out += sep ? '/' : c;
    }
    return out;
}

}  // namespace

bool hasWildcard(std::string_view pattern) { return pattern.find_first_of("*?") != std::string_view::npos; }

bool wildcardMatch(std::string_view pattern, std::string_view name, bool starCrossesFolders) {
    std::u32string p = normalise(pattern), n = normalise(name);
    if (matchNormalised(p, n, starCrossesFolders)) return true;
    // DOS habit: "*.*" and "name.*" also mean names without an extension.
    if (p.size() >= 2 && p.compare(p.size() - 2, 2, U".*") == 0 &&
        lastComponent(n).find(U'.') == std::u32string::npos)
        return matchNormalised(p.substr(0, p.size() - 2), n, starCrossesFolders);
    return false;
}

std::vector<bool> selectMembers(const std::vector<Member>& members, const std::vector<std::string>& patterns,
                                MatchRule rule) {
    std::vector<bool> wanted(members.size(), patterns.empty());
    std::vector<std::string> paths;
    paths.reserve(members.size());
    for (const Member& m : members) paths.push_back(tidyPath(withoutTrailingSeparator(m.name)));
    for (const std::string& rawPattern : patterns) {
        const std::string pattern = tidyPath(rawPattern);
        if (pattern.empty()) continue;
        bool bare = !hasWildcard(pattern) && !hasSeparator(pattern);
        bool matchedRoot = false;
        for (size_t i = 0; i < members.size(); ++i) {
            std::string_view path = paths[i];
            bool hit;
            if (rule == MatchRule::LzhFileName && !hasSeparator(pattern)) {
                size_t slash = path.find_last_of("/\\");
                hit = wildcardMatch(pattern, slash == std::string_view::npos ? path : path.substr(slash + 1));
            } else {
                hit = wildcardMatch(pattern, path);
            }
            if (hit) {
                wanted[i] = true;
                if (!hasSeparator(path)) matchedRoot = true;
            }
        }
        if (rule != MatchRule::ZipPath || !bare || matchedRoot) continue;
        // "readme.txt" finds "MyApp/readme.txt" when the root has none.
        for (size_t i = 0; i < members.size(); ++i) {
            std::string_view path = paths[i];
            size_t slash = path.find_last_of("/\\");
            if (slash != std::string_view::npos && wildcardMatch(pattern, path.substr(slash + 1))) wanted[i] = true;
        }
    }
    return wanted;
}

std::vector<std::string> splitPatterns(std::string_view list) {
    std::vector<std::string> out;
    std::string cur;
    bool quoted = false, any = false;
    for (char c : list) {
        if (c == '"') {
            quoted = !quoted;
            any = true;
        } else if (!quoted && (c == ' ' || c == '\t')) {
            if (any) out.push_back(cur);
            cur.clear();
            any = false;
        } else {
            cur += c;
            any = true;
        }
    }
    if (any) out.push_back(cur);
    // An empty quoted token is no pattern.
    std::erase_if(out, [](const std::string& s) { return s.empty(); });
    return out;
}

}  // namespace arc
