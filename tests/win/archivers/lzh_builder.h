// Writes level-0 LZH archives of stored (-lh0-) members with any name bytes
// and DOS attribute, for cases the peer archivers cannot make on this host.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace dlltest {

struct LzhEntry {
    std::string name;  // bytes as stored (CP932, '\' or '/' between folders)
    std::string data;
    uint8_t attributes = 0x20;
};

std::vector<uint8_t> buildStoredLzh(const std::vector<LzhEntry>& entries);

}  // namespace dlltest
