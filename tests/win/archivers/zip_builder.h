// Writes stored ZIP archives with whatever member names a test wants,
// including ones no archiver would produce (hostile names).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace dlltest {

struct ZipEntry {
    std::string name;  // bytes exactly as stored
    std::string data;
    bool utf8 = false;  // sets the UTF-8 name flag
};

// A member whose data is already packed with `method` (0: stored, `packed` unused).
struct PackedEntry {
    ZipEntry entry;
    uint16_t method = 0;
    std::string packed;
};

std::vector<uint8_t> buildStoredZip(const std::vector<ZipEntry>& entries);
std::vector<uint8_t> buildZip(const std::vector<PackedEntry>& entries);
uint32_t crc32Of(const std::string& data);

}  // namespace dlltest
