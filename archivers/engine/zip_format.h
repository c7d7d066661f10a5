// ZIP on-disk constants and little-endian field access shared by the ZIP reader.
#pragma once

#include <cstddef>
#include <cstdint>

namespace arc::zip {

constexpr uint32_t kLocalSig = 0x04034b50;       // "PK\3\4"
constexpr uint32_t kCentralSig = 0x02014b50;     // "PK\1\2"
constexpr uint32_t kEndSig = 0x06054b50;         // "PK\5\6"
constexpr uint32_t kEnd64Sig = 0x06064b50;       // "PK\6\6"
constexpr uint32_t kEnd64LocatorSig = 0x07064b50;  // "PK\6\7"

constexpr size_t kLocalHeaderSize = 30;
constexpr size_t kCentralHeaderSize = 46;
constexpr size_t kEndSize = 22;
constexpr size_t kEnd64LocatorSize = 20;
constexpr size_t kEnd64MinSize = 56;
// The end record's comment length is a 16-bit field, so the record starts at
// most this far before the end of the archive.
constexpr size_t kMaxEndSearch = kEndSize + 0xFFFF;

constexpr uint16_t kFlagEncrypted = 0x0001;
constexpr uint16_t kFlagDescriptor = 0x0008;
constexpr uint16_t kFlagStrongEncryption = 0x0040;
constexpr uint16_t kFlagUtf8 = 0x0800;

constexpr uint16_t kMethodStored = 0;
constexpr uint16_t kMethodDeflate = 8;
constexpr uint16_t kMethodAes = 99;

constexpr uint16_t kExtraZip64 = 0x0001;
constexpr uint16_t kExtraUnicodePath = 0x7075;
constexpr uint16_t kExtraAes = 0x9901;

// Host systems in the high byte of "version made by" whose external
// attributes carry DOS attribute bits in the low byte.
constexpr uint8_t kHostFat = 0, kHostUnix = 3, kHostHpfs = 6, kHostNtfs = 11, kHostVfat = 14,
                  kHostOsx = 19;

inline uint16_t le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
inline uint32_t le32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}
inline uint64_t le64(const uint8_t* p) { return le32(p) | (static_cast<uint64_t>(le32(p + 4)) << 32); }

}  // namespace arc::zip
