// What every format reader offers: a member list and extraction of chosen
// members into caller-supplied sinks. Readers own no files and write nothing.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "byte_source.h"
#include "password_source.h"
#include "status.h"

namespace arc {

struct Member {
    std::string name;        // UTF-8, '/' between folders, as stored (not yet made safe)
    std::string method;      // "-lh5-", "stored", "deflate", "mszip", "lzx", "quantum", "none"
    uint64_t size = 0;       // uncompressed size the header promises
    uint64_t packedSize = 0; // compressed size (for CAB: share of the folder, may be 0)
    uint32_t crc = 0;        // CRC the archive stores (CRC-16 for LZH, CRC-32 for ZIP, 0 for CAB)
    uint16_t dosDate = 0;
    uint16_t dosTime = 0;
    uint32_t attributes = 0; // DOS attribute bits
    uint32_t osType = 0;     // family OS code, 0 when unknown
    bool isFolder = false;
    bool encrypted = false;
    // The extracted data may be shorter than `size` (a MacBinary member
    // whose stored form wraps the data fork); never longer.
    bool sizeIsUpperBound = false;
};

// Receives one member's bytes. write() returning false stops the extraction
// with Status::CannotWrite (disk full, cancel).
class OutputSink {
public:
    virtual ~OutputSink() = default;
    virtual bool write(const uint8_t* data, size_t n) = 0;
};

// The caller's side of an extraction: which sink a member goes to, and how it ended.
class ExtractTarget {
public:
    virtual ~ExtractTarget() = default;
    // Sink for member `index`, or null to skip it (its data is still decoded
    // when the format needs that to reach later members).
    virtual OutputSink* begin(size_t index) = 0;
    // Called once for every member begin() accepted: Ok after all bytes were
    // written and the CRC matched, else the reason. The target then commits or
    // discards what it received.
    virtual void end(size_t index, Status result) = 0;
    // Answers for encrypted members; null: they fail with Status::PasswordFile.
    virtual PasswordSource* passwords() { return nullptr; }
};

// Opens another file of a multi-file archive (a previous or next cabinet of a
// set) by the name the archive stores for it (UTF-8); null when there is none.
using PartOpener = std::function<std::unique_ptr<ByteSource>(const std::string& storedName)>;

class Archive {
public:
    virtual ~Archive() = default;
    virtual const std::vector<Member>& members() const = 0;
    // Names of the archive's other files (earlier or later parts of a set)
    // that could not be opened or do not fit, in set order; the members
    // needing them fail with Status::NotFindArcFile.
    virtual std::vector<std::string> missingParts() const { return {}; }
    // Extracts the members whose `wanted` flag is set, in archive order.
    // Returns Ok when every wanted member succeeded, else the first failure;
    // members after a failed one are still attempted where the format allows.
    virtual Status extract(const std::vector<bool>& wanted, ExtractTarget& target) = 0;
};

// Format readers. Each one finds its archive also inside a self-extracting
// program (leading data before the archive). On failure they return null and
// set *error.
std::unique_ptr<Archive> openLzh(ByteSource& src, Status* error);
std::unique_ptr<Archive> openZip(ByteSource& src, Status* error);
// A cabinet continued in further files reads them through `parts`; every
// cabinet stored one after another in `src` is read as well.
std::unique_ptr<Archive> openCab(ByteSource& src, Status* error, const PartOpener& parts = {});
// 7z and RAR decode through libarchive. A RAR volume of a set reads the set
// from its first volume on, finding the others through `parts` by the names
// the set's scheme gives `archiveName` (the opened file's name).
std::unique_ptr<Archive> openSevenZip(ByteSource& src, Status* error);
std::unique_ptr<Archive> openRar(ByteSource& src, Status* error, const PartOpener& parts = {},
                                 const std::string& archiveName = {});

// Quick content checks for CheckArchive: true when the reader would accept the data.
bool looksLikeLzh(ByteSource& src);
bool looksLikeZip(ByteSource& src);
bool looksLikeCab(ByteSource& src);
bool looksLikeSevenZip(ByteSource& src);
bool looksLikeRar(ByteSource& src);

}  // namespace arc
