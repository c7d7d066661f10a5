// Test-only cabinet writer (one folder: none, MSZIP or LZX) and a minimal
// reader of a cabinet's folders and CFDATA blocks, for driving block decoders
// directly. Not shipped.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "lzx_encoder.h"

namespace cabtest {

enum class Method { None, Mszip, Lzx };

struct FileEntry {
    std::string name;
    std::vector<uint8_t> data;
};

struct WriterOptions {
    Method method = Method::Lzx;
    lzxtest::LzxOptions lzx;
    bool checksums = true;  // false: every CFDATA checksum is 0 ("not present")
};

std::vector<uint8_t> writeCab(const std::vector<FileEntry>& files, const WriterOptions& opt);

// A cabinet set, one cabinet per name (at least two; each header names its
// neighbours): one folder whose blocks are dealt out evenly. Files crossing
// a part boundary are marked continued as the format says. With
// `splitBlocks` the last block of each part but the last is cut in two and
// its rest opens the next part.
std::vector<std::vector<uint8_t>> writeCabSet(const std::vector<FileEntry>& files, const WriterOptions& opt,
                                              const std::vector<std::string>& names, bool splitBlocks);

// What one cabinet's header says about its set; hostile sets change it.
struct SetHeader {
    uint16_t setId = 0x4242;
    uint16_t index = 0;
    bool hasPrevious = false, hasNext = false;
    std::string previous, next;  // stored only with their flag
};
// The set above with each part's header given; the data layout is the same.
std::vector<std::vector<uint8_t>> writeCabSet(const std::vector<FileEntry>& files, const WriterOptions& opt,
                                              const std::vector<SetHeader>& headers, bool splitBlocks);
// A cabinet holding `files` whole, with a set header (a part of a set that
// breaks between folders).
std::vector<uint8_t> writeCabPart(const std::vector<FileEntry>& files, const WriterOptions& opt,
                                  const SetHeader& header);

// CFDATA checksum: XOR of little-endian 32-bit words, the 1..3 leftover bytes
// folded in most significant first, seeded by the running value.
uint32_t cabChecksum(const uint8_t* p, size_t n, uint32_t seed);

struct DataBlock {
    std::vector<uint8_t> payload;
    uint16_t uncompressed = 0;
};
struct Folder {
    uint16_t typeCompress = 0;
    std::vector<DataBlock> blocks;
};
struct FileRecord {
    std::string name;
    uint32_t size = 0, offset = 0;
    uint16_t folder = 0;
};
struct ParsedCab {
    std::vector<Folder> folders;
    std::vector<FileRecord> files;
};
// Parses a single cabinet starting at offset 0; false when malformed.
bool parseCab(const std::vector<uint8_t>& cab, ParsedCab& out);

}  // namespace cabtest
