// RAR 5 block layout, as far as this scan needs it:
//   CRC32 (4), header size (vint, counted from the type field), type (vint),
//   flags (vint; 0x01 extra area present, 0x02 data area present),
//   [extra area size (vint)], [data size (vint)], fields of the type,
//   extra area (the header's last `extra size` bytes), then the data area.
// Extra records: size (vint, counted from the type field), type (vint), data;
// type 0x01 in a file header (type 2) is the file encryption record.
#include "rar5_crypt_scan.h"

#include <cstring>

namespace arc {

namespace {

constexpr uint8_t kSignature[] = {'R', 'a', 'r', '!', 0x1A, 0x07, 0x01, 0x00};
constexpr uint64_t kMaxHeaderSize = 2 * 1024 * 1024;  // the format's own limit
constexpr size_t kMaxHeaders = 1u << 20;              // more than any real archive has
constexpr uint64_t kTypeFile = 2, kTypeArchiveEncryption = 4, kTypeEnd = 5, kRecordEncryption = 1;

// Variable-length integer: 7 bits a byte, low first, high bit = more follow.
// Sticky: once `ok` is false every later read returns 0.
struct VintReader {
    const uint8_t* p;
    size_t n, at = 0;
    bool ok = true;
    uint64_t next() {
        uint64_t v = 0;
        for (unsigned shift = 0; ok; shift += 7) {
            if (at >= n || shift > 63) {
                ok = false;
                break;
            }
            uint8_t b = p[at++];
            v |= uint64_t{b & 0x7Fu} << shift;
            if (!(b & 0x80)) return v;
        }
        return 0;
    }
};

bool hasEncryptionRecord(const std::vector<uint8_t>& header, size_t extraStart) {
    VintReader r{header.data(), header.size(), extraStart};
    while (r.ok && r.at < header.size()) {
        const uint64_t size = r.next();
        const size_t recordStart = r.at;
        if (!r.ok || size == 0 || size > header.size() - recordStart) return false;
        if (r.next() == kRecordEncryption && r.ok) return true;
        r.at = recordStart + static_cast<size_t>(size);
    }
    return false;
}

}  // namespace

std::vector<bool> rar5EncryptedFileHeaders(ByteSource& src) {
    std::vector<bool> flags;
    uint8_t sig[sizeof kSignature];
    if (!src.readExact(0, sig, sizeof sig) || std::memcmp(sig, kSignature, sizeof sig) != 0) return flags;
    const uint64_t fileSize = src.size();
    uint64_t pos = sizeof kSignature;
    std::vector<uint8_t> header;
    for (size_t count = 0; count < kMaxHeaders && pos < fileSize; ++count) {
        // CRC32 and the header size: at most 4 + 3 bytes for sizes up to 2 MiB.
        uint8_t lead[4 + 10] = {};
        const size_t got = src.readAt(pos, lead, sizeof lead);
        VintReader sizeReader{lead, got, 4};
        const uint64_t headerSize = sizeReader.next();
        if (!sizeReader.ok || headerSize == 0 || headerSize > kMaxHeaderSize) break;
        const uint64_t headerStart = pos + sizeReader.at;
        if (headerStart > fileSize || headerSize > fileSize - headerStart) break;
        header.resize(static_cast<size_t>(headerSize));
        if (!src.readExact(headerStart, header.data(), header.size())) break;

        VintReader r{header.data(), header.size()};
        const uint64_t type = r.next(), headerFlags = r.next();
        const uint64_t extraSize = (headerFlags & 0x01) ? r.next() : 0;
        const uint64_t dataSize = (headerFlags & 0x02) ? r.next() : 0;
        if (!r.ok || extraSize > header.size()) break;
        if (type == kTypeArchiveEncryption) return {};
        if (type == kTypeEnd) break;
        if (type == kTypeFile) flags.push_back(extraSize && hasEncryptionRecord(header, header.size() - extraSize));

        const uint64_t next = headerStart + headerSize;
        if (dataSize > fileSize - next) break;
        pos = next + dataSize;
    }
    return flags;
}

}  // namespace arc
