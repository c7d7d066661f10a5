#include "zip_builder.h"

namespace dlltest {

namespace {
void put16(std::vector<uint8_t>& o, uint32_t v) {
    o.push_back(static_cast<uint8_t>(v));
    o.push_back(static_cast<uint8_t>(v >> 8));
}
void put32(std::vector<uint8_t>& o, uint32_t v) {
    put16(o, v & 0xFFFF);
    put16(o, v >> 16);
}
constexpr uint16_t kDosTime = (4 << 11) | (5 << 5) | 3;              // 04:05:06
constexpr uint16_t kDosDate = ((2001 - 1980) << 9) | (2 << 5) | 3;   // 2001-02-03
}  // namespace

uint32_t crc32Of(const std::string& data) {
    uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char c : data) {
        crc ^= c;
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

std::vector<uint8_t> buildStoredZip(const std::vector<ZipEntry>& entries) {
    std::vector<PackedEntry> stored;
    for (const ZipEntry& e : entries) stored.push_back({e, 0, {}});
    return buildZip(stored);
}

std::vector<uint8_t> buildZip(const std::vector<PackedEntry>& members) {
    std::vector<uint8_t> out, central;
    for (const PackedEntry& m : members) {
        const ZipEntry& e = m.entry;
        uint32_t offset = static_cast<uint32_t>(out.size());
        uint32_t crc = crc32Of(e.data), size = static_cast<uint32_t>(e.data.size());
        const std::string& body = m.method ? m.packed : e.data;
        uint32_t packed = static_cast<uint32_t>(body.size());
        uint16_t flags = e.utf8 ? 0x0800 : 0;
        put32(out, 0x04034b50);
        put16(out, 20);
        put16(out, flags);
        put16(out, m.method);
        put16(out, kDosTime);
        put16(out, kDosDate);
        put32(out, crc);
        put32(out, packed);
        put32(out, size);
        put16(out, static_cast<uint32_t>(e.name.size()));
        put16(out, 0);
        out.insert(out.end(), e.name.begin(), e.name.end());
        out.insert(out.end(), body.begin(), body.end());

        put32(central, 0x02014b50);
        put16(central, 20);  // made by: DOS
        put16(central, 20);
        put16(central, flags);
        put16(central, m.method);
        put16(central, kDosTime);
        put16(central, kDosDate);
        put32(central, crc);
        put32(central, packed);
        put32(central, size);
        put16(central, static_cast<uint32_t>(e.name.size()));
        put16(central, 0);  // extra
        put16(central, 0);  // comment
        put16(central, 0);  // disk
        put16(central, 0);  // internal attributes
        put32(central, 0x20);
        put32(central, offset);
        central.insert(central.end(), e.name.begin(), e.name.end());
    }
    uint32_t cdOffset = static_cast<uint32_t>(out.size()), cdSize = static_cast<uint32_t>(central.size());
    out.insert(out.end(), central.begin(), central.end());
    put32(out, 0x06054b50);
    put16(out, 0);
    put16(out, 0);
    put16(out, static_cast<uint32_t>(members.size()));
    put16(out, static_cast<uint32_t>(members.size()));
    put32(out, cdSize);
    put32(out, cdOffset);
    put16(out, 0);
    return out;
}

}  // namespace dlltest
