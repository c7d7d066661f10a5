// Command lines of the archiver libraries, parsed into one extraction
// request. The text arrives already converted to UTF-8.
//   LZH: cmd [switches] archive [outdir\] [patterns...]   switches '-' or '/' anywhere after cmd
//   ZIP: [-cmd] [switches] archive [outdir\] [patterns...] "--X" turns switch X off;
//        "-P password" (or "-Ppassword") opens encrypted members without asking
//   CAB: as ZIP
//   7z, RAR: as ZIP, switches included ("-P" is accepted; their encrypted members are not read)
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "folder_extract.h"
#include "status.h"
#include "wildcard.h"

namespace arc {

// Family code for a command line that names no archive.
constexpr Status kStatusNotFindArcFile = static_cast<Status>(0x8029);

struct ExtractCommand {
    std::string archive;
    std::string outputFolder;           // "" = current folder
    std::vector<std::string> patterns;  // empty = every member
    MatchRule rule = MatchRule::ZipPath;
    bool overwrite = false;             // LZH -y, ZIP/CAB -o
    bool showProgress = true;           // off with LZH -n, ZIP --i, CAB -i
    bool restoreAttributes = false;     // LZH -a1
    std::optional<std::string> password;  // ZIP -P, exactly as given (case kept)
};

// Tokens separated by blanks; '"' quotes blanks and is dropped. `quoted`
// tells whether a token had quotes (a quoted token is never a switch).
struct CommandToken {
    std::string text;
    bool quoted = false;
};
std::vector<CommandToken> tokenizeCommandLine(std::string_view line);

// Ok with *out filled, Status::CommandName for a command the library does not
// perform, kStatusNotFindArcFile when no archive is named. Unknown switches are ignored.
Status parseCommandLine(std::string_view utf8, Format format, ExtractCommand* out);

}  // namespace arc
