#include "lzh_builder.h"

namespace dlltest {

namespace {
uint16_t crc16(const std::string& data) {
    uint16_t crc = 0;
    for (unsigned char c : data) {
        crc ^= c;
        for (int k = 0; k < 8; ++k) crc = static_cast<uint16_t>((crc >> 1) ^ (0xA001 & (0u - (crc & 1))));
    }
    return crc;
}
void put(std::vector<uint8_t>& o, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) o.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
}  // namespace

std::vector<uint8_t> buildStoredLzh(const std::vector<LzhEntry>& entries) {
    std::vector<uint8_t> out;
    for (const LzhEntry& e : entries) {
        std::vector<uint8_t> h;  // header from the method on, what the checksum covers
        for (char c : std::string("-lh0-")) h.push_back(static_cast<uint8_t>(c));
        put(h, static_cast<uint32_t>(e.data.size()), 4);  // packed
        put(h, static_cast<uint32_t>(e.data.size()), 4);  // original
        put(h, (4 << 11) | (5 << 5) | 3, 2);                 // 04:05:06
        put(h, ((2001 - 1980) << 9) | (2 << 5) | 3, 2);      // 2001-02-03
        h.push_back(e.attributes);
        h.push_back(0);  // level 0
        h.push_back(static_cast<uint8_t>(e.name.size()));
        h.insert(h.end(), e.name.begin(), e.name.end());
        put(h, crc16(e.data), 2);
        uint8_t sum = 0;
        for (uint8_t b : h) sum = static_cast<uint8_t>(sum + b);
        out.push_back(static_cast<uint8_t>(h.size()));
        out.push_back(sum);
        out.insert(out.end(), h.begin(), h.end());
        out.insert(out.end(), e.data.begin(), e.data.end());
    }
    out.push_back(0);  // end of archive
    return out;
}

}  // namespace dlltest
