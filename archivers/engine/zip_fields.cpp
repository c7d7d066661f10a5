#include "zip_fields.h"

#include <zlib.h>

#include "text_codec.h"
#include "zip_format.h"

namespace arc::zip {

bool findExtra(const uint8_t* extra, size_t extraLen, uint16_t id, ExtraField* out) {
    size_t pos = 0;
    while (extraLen - pos >= 4) {
        uint16_t tag = le16(extra + pos);
        size_t len = le16(extra + pos + 2);
        pos += 4;
        if (len > extraLen - pos) return false;
        if (tag == id) {
            out->data = extra + pos;
            out->size = len;
            return true;
        }
        pos += len;
    }
    return false;
}

void applyZip64(const uint8_t* extra, size_t extraLen, uint64_t* size, uint64_t* packed, uint64_t* offset) {
    ExtraField f;
    if (!findExtra(extra, extraLen, kExtraZip64, &f)) return;
    size_t pos = 0;
    for (uint64_t* field : {size, packed, offset}) {
        if (!field || *field != 0xFFFFFFFF) continue;
        if (f.size - pos < 8) return;
        *field = le64(f.data + pos);
        pos += 8;
    }
}

bool readAesExtra(const uint8_t* extra, size_t extraLen, AesExtra* out) {
    ExtraField f;
    // Vendor version, vendor id "AE", strength, method.
    if (!findExtra(extra, extraLen, kExtraAes, &f) || f.size < 7) return false;
    out->version = le16(f.data);
    out->strength = f.data[4];
    out->method = le16(f.data + 5);
    return true;
}

namespace {

// The 0x7075 block: version 1, CRC-32 of the header name, UTF-8 name.
bool unicodePathName(const uint8_t* raw, size_t rawLen, const uint8_t* extra, size_t extraLen, std::string* out) {
    ExtraField f;
    if (!findExtra(extra, extraLen, kExtraUnicodePath, &f) || f.size < 5 || f.data[0] != 1) return false;
    uint32_t want = le32(f.data + 1);
    uint32_t have = static_cast<uint32_t>(crc32(0L, raw, static_cast<uInt>(rawLen)));
    if (want != have) return false;
    *out = sanitizeUtf8(std::string(reinterpret_cast<const char*>(f.data + 5), f.size - 5));
    return true;
}

}  // namespace

std::string decodeName(const uint8_t* raw, size_t rawLen, uint16_t flags, uint8_t host, const uint8_t* extra,
                       size_t extraLen) {
    std::string bytes(reinterpret_cast<const char*>(raw), rawLen);
    std::string name;
    if (flags & kFlagUtf8) {
        name = sanitizeUtf8(bytes);
    } else if (unicodePathName(raw, rawLen, extra, extraLen, &name)) {
        // taken from the extra field
    } else if ((host == kHostUnix || host == kHostOsx) && sanitizeUtf8(bytes) == bytes) {
        // Unix and macOS tools write the locale's UTF-8 without setting the
        // flag; CP932 names with non-ASCII characters are almost never valid UTF-8.
        name = bytes;
    } else {
        // Decode before touching separators: a CP932 trail byte may be 0x5C.
        name = cp932ToUtf8(bytes);
    }
    for (char& c : name)
        if (c == '\\') c = '/';
    return name;
}

std::string methodName(uint16_t method) {
    switch (method) {
    case 0: return "stored";
    case 1: return "shrink";
    case 2: return "reduce1";
    case 3: return "reduce2";
    case 4: return "reduce3";
    case 5: return "reduce4";
    case 6: return "implode";
    case 8: return "deflate";
    case 9: return "deflt64";
    case 10: return "pkimplo";
    case 12: return "bzip2";
    case 14: return "lzma";
    case 18: return "terse";
    case 19: return "lz77";
    case 93: return "zstd";
    case 94: return "mp3";
    case 95: return "xz";
    case 96: return "jpeg";
    case 97: return "wavpack";
    case 98: return "ppmd";
    case 99: return "aes";
    default: {
        std::string label = std::to_string(method);
        label.insert(label.begin(), 'm');
        return label;
    }
    }
}

uint32_t dosAttributes(uint8_t host, uint32_t external) {
    switch (host) {
    case kHostFat: case kHostHpfs: case kHostNtfs: case kHostVfat:
        return external & 0xFF;
    case kHostUnix: {
        // Unix mode bits sit in the high half; translate the two that matter.
        uint32_t mode = external >> 16;
        uint32_t attr = external & 0xFF;  // Info-ZIP fills the DOS bits too
        if ((mode & 0170000) == 0040000) attr |= 0x10;
        if (mode != 0 && !(mode & 0200)) attr |= 0x01;
        return attr;
    }
    default:
        return external & 0xFF;
    }
}

}  // namespace arc::zip
