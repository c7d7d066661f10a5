// Decoding of per-member ZIP header fields that do not involve offsets:
// extra-field lookup, member names, method names, attributes.
//
// Where real archives differ from the published format description:
// - Names without the UTF-8 flag are in the writer's OEM/ANSI code page; the
//   archives this reader serves come from Japanese Windows, so that is CP932.
//   Old Windows archivers also store '\' between folders.
// - Some writers store a UTF-8 copy of the name in the Info-ZIP 0x7075 extra
//   field while leaving the header name in the code page; the copy is only
//   trusted while its CRC still matches the header name (a later tool may have
//   renamed the member without updating it).
// - Info-ZIP on Unix and macOS archivers store UTF-8 names without setting
//   the UTF-8 flag; for those hosts a name that is valid UTF-8 is taken as such.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace arc::zip {

struct ExtraField {
    const uint8_t* data = nullptr;
    size_t size = 0;
};

// First extra-field block with the given id; false when absent or when the
// block list is malformed before it is reached.
bool findExtra(const uint8_t* extra, size_t extraLen, uint16_t id, ExtraField* out);

// Replaces saturated (0xFFFFFFFF) 32-bit fields by the ZIP64 extra field's
// values, which appear only for saturated fields, in this fixed order.
// `offset` may be null (local headers have none).
void applyZip64(const uint8_t* extra, size_t extraLen, uint64_t* size, uint64_t* packed, uint64_t* offset);

// The AES extra field (0x9901) of a method-99 member.
struct AesExtra {
    uint16_t version = 0;  // 1 = AE-1 (CRC stored), 2 = AE-2 (no CRC); 0 = no field
    uint8_t strength = 0;  // 1, 2, 3 = 128, 192, 256-bit keys
    uint16_t method = 0;   // the compression method inside the encryption
};
// False when absent or shorter than its 7 bytes.
bool readAesExtra(const uint8_t* extra, size_t extraLen, AesExtra* out);

// Header name bytes -> UTF-8 with '/' between folders. `host` is the high
// byte of "version made by".
std::string decodeName(const uint8_t* raw, size_t rawLen, uint16_t flags, uint8_t host, const uint8_t* extra,
                       size_t extraLen);

// Short method label (at most 7 characters, as the listing record holds).
std::string methodName(uint16_t method);

// DOS attribute bits for a member, from the host system and external attributes.
uint32_t dosAttributes(uint8_t host, uint32_t external);

}  // namespace arc::zip
