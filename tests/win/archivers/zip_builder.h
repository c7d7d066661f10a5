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

std::vector<uint8_t> buildStoredZip(const std::vector<ZipEntry>& entries);
uint32_t crc32Of(const std::string& data);

}  // namespace dlltest
