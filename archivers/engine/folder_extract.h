// Extraction of chosen archive members into one folder, flat: every member
// becomes one file directly inside the folder under a safe, unique name.
// A member is written to a temporary file next to its final place and renamed
// only after the reader confirmed its CRC, so no partial file ever remains.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "archive.h"
#include "wildcard.h"

namespace arc {

enum class Format { Lzh, Zip, Cab, SevenZip, Rar };

// Family code for "the output file exists and overwriting was not allowed".
constexpr Status kStatusAlreadyExist = static_cast<Status>(0x8010);

struct ExtractOptions {
    bool overwrite = true;          // replace files left by earlier commands
    bool restoreTime = true;        // stamp the member's DOS date/time on the file
    bool restoreAttributes = false; // hidden, system, read-only (LZH "-a1")
    PasswordSource* passwords = nullptr;  // encrypted members fail with PasswordFile without one
};

struct ExtractProgress {
    uint64_t doneBytes = 0;
    uint64_t totalBytes = 0;
    std::string member;  // stored name of the member being written (UTF-8)
};
// Called when a member starts and as its bytes arrive; returning false cancels
// (the current member is discarded, Status::UserCancel is returned).
using ProgressCallback = std::function<bool(const ExtractProgress&)>;

struct ExtractResult {
    Status status = Status::Ok;          // first failure, Ok when all went well
    std::vector<std::string> written;    // final file names (UTF-8), in archive order
    // Files of the archive (parts of a set) that were not found or did not
    // fit: members needing them failed; members they alone held are unknown.
    std::vector<std::string> missingParts;
};

// Extracts the wanted members of `archive` into `folderUtf8` (created when
// missing, one level). Folder members are skipped.
ExtractResult extractToFolder(Archive& archive, const std::vector<bool>& wanted, const std::string& folderUtf8,
                              const ExtractOptions& options, const ProgressCallback& progress = {});

// Reader for a format; null with *error set when the data is not such an
// archive. `parts` finds further files of a multi-file archive; volume sets
// named after the archive itself (RAR) need `archiveName`, the file's path.
std::unique_ptr<Archive> openArchive(ByteSource& src, Format format, Status* error, const PartOpener& parts = {},
                                     const std::string& archiveName = {});
// Finds the parts of the archive at `archiveUtf8` in its own folder, ignoring
// case as Windows does; a stored name that is not a plain, safe file name
// (folders, drive, device name) finds nothing.
PartOpener partsBeside(const std::string& archiveUtf8);
bool looksLikeArchive(ByteSource& src, Format format);
// The rule the library of `format` uses when no switch changes it.
MatchRule defaultMatchRule(Format format);

// The whole job for a native caller: open the archive file, select members
// by patterns (none = all) and extract them flat into the folder.
ExtractResult extractArchiveToFolder(const std::string& archiveUtf8, Format format,
                                     const std::vector<std::string>& patterns, MatchRule rule,
                                     const std::string& folderUtf8, const ExtractOptions& options,
                                     const ProgressCallback& progress = {});

}  // namespace arc
