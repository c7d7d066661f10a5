#include "command_line.h"

#include <cctype>

namespace arc {

namespace {

std::string lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool endsAsFolder(const std::string& s) {
    return !s.empty() && (s.back() == '\\' || s.back() == '/' || s.back() == ':');
}

// Archive, then an optional folder (a name ending in a separator or ':'), then patterns.
Status placeNames(const std::vector<std::string>& names, ExtractCommand* out) {
    if (names.empty()) return kStatusNotFindArcFile;
    out->archive = names[0];
    size_t next = 1;
    if (names.size() > 1 && endsAsFolder(names[1])) out->outputFolder = names[next++];
    out->patterns.assign(names.begin() + static_cast<std::ptrdiff_t>(next), names.end());
    return Status::Ok;
}

Status parseLzh(const std::vector<CommandToken>& tokens, ExtractCommand* out) {
    if (tokens.empty()) return Status::CommandName;
    std::string cmd = lower(tokens[0].text);
    // "e" extracts flat, "x" with folders; flat output serves both.
    if (cmd != "e" && cmd != "x") return Status::CommandName;
    out->rule = MatchRule::LzhFileName;
    out->overwrite = false;
    char switchChar = 0;  // '-' or '/', fixed by the first switch; the other one is then a name
    std::vector<std::string> names;
    for (size_t i = 1; i < tokens.size(); ++i) {
        const CommandToken& t = tokens[i];
        char lead = t.text.empty() ? 0 : t.text[0];
        bool isSwitch = !t.quoted && t.text.size() > 1 && (lead == '-' || lead == '/') &&
                        (switchChar == 0 || switchChar == lead);
        if (!isSwitch) {
            if (!t.text.empty()) names.push_back(t.text);
            continue;
        }
        switchChar = lead;
        std::string sw = lower(t.text.substr(1));
        char letter = sw[0];
        std::string arg = sw.substr(1);
        switch (letter) {
        case 'y': out->overwrite = true; break;
        case 'n': out->showProgress = false; break;  // "-n", "-n0".."-n2": no indicator
        case 'a': out->restoreAttributes = arg == "1" || arg == "2"; break;
        case 'p': out->rule = arg == "0" ? MatchRule::LzhFileName : MatchRule::LzhWholePath; break;
        default: break;  // -c, -m, -gm... change nothing for flat extraction
        }
    }
    return placeNames(names, out);
}

// ZIP, CAB, 7z and RAR: "-x" extracts (also the default); clusters like "-xjo" allowed.
Status parseZipOrCab(const std::vector<CommandToken>& tokens, Format format, ExtractCommand* out) {
    out->rule = MatchRule::ZipPath;
    out->overwrite = false;
    // The 7z and RAR libraries take ZIP's switches as they are.
    const bool zipSwitches = format != Format::Cab;
    std::vector<std::string> names;
    bool first = true;
    for (size_t i = 0; i < tokens.size(); ++i) {
        const CommandToken& t = tokens[i];
        bool isSwitch = !t.quoted && t.text.size() > 1 && t.text[0] == '-' && names.empty();
        if (!isSwitch) {
            if (!t.text.empty()) names.push_back(t.text);
            first = false;
            continue;
        }
        // The password switch is the one upper-case letter that matters (-p
        // is another command): its value is the rest of the token or the
        // next token, whatever it holds.
        if (zipSwitches && t.text[1] == 'P') {
            if (t.text.size() > 2)
                out->password = t.text.substr(2);
            else if (i + 1 < tokens.size())
                out->password = tokens[++i].text;
            first = false;
            continue;
        }
        bool negate = t.text.size() > 2 && t.text[1] == '-';
        std::string letters = lower(t.text.substr(negate ? 2 : 1));
        if (first && !negate) {
            // Commands of the family we do not perform: list, test, add, comment...
            const std::string others = zipSwitches ? "ltvzcpf" : "altmd";
            if (others.find(letters[0]) != std::string::npos) return Status::CommandName;
            if (letters[0] == 'x') letters.erase(0, 1);
        }
        first = false;
        for (char c : letters) {
            switch (c) {
            case 'o': out->overwrite = !negate; break;
            case 'n': if (zipSwitches && !negate) out->overwrite = false; break;
            case 'i':
                // ZIP: -i shows the window, --i hides it. CAB: -i hides it.
                out->showProgress = zipSwitches ? !negate : negate;
                break;
            default: break;  // -j (flat output is the only kind) and unknown switches
            }
        }
    }
    return placeNames(names, out);
}

}  // namespace

std::vector<CommandToken> tokenizeCommandLine(std::string_view line) {
    std::vector<CommandToken> tokens;
    CommandToken cur;
    bool inQuotes = false, inToken = false;
    for (char c : line) {
        if (c == '"') {
            inQuotes = !inQuotes;
            cur.quoted = inToken = true;
        } else if (!inQuotes && (c == ' ' || c == '\t' || c == '\r' || c == '\n')) {
            if (inToken) tokens.push_back(cur);
            cur = {};
            inToken = false;
        } else {
            cur.text += c;
            inToken = true;
        }
    }
    if (inToken) tokens.push_back(cur);
    return tokens;
}

Status parseCommandLine(std::string_view utf8, Format format, ExtractCommand* out) {
    *out = {};
    std::vector<CommandToken> tokens = tokenizeCommandLine(utf8);
    return format == Format::Lzh ? parseLzh(tokens, out) : parseZipOrCab(tokens, format, out);
}

}  // namespace arc
