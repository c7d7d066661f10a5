#include "zip_recovery.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "zip_fields.h"
#include "zip_format.h"

namespace arc::zip {

namespace {

constexpr uint32_t kDescriptorSig = 0x08074b50;  // "PK\7\8"
constexpr size_t kSearchChunk = 256 * 1024;

struct Descriptor {
    uint64_t packed = 0, size = 0;
    uint32_t crc = 0;
    uint64_t end = 0;  // first byte after it
};

// The descriptor at `at` if it describes `packed` bytes of data.
bool descriptorAt(ByteSource& src, uint64_t at, uint64_t packed, bool wide, Descriptor* d) {
    uint8_t b[24];
    const size_t len = wide ? 24 : 16;
    if (!src.readExact(at, b, len) || le32(b) != kDescriptorSig) return false;
    uint64_t storedPacked = wide ? le64(b + 8) : le32(b + 8);
    if (storedPacked != (wide ? packed : packed & 0xFFFFFFFF)) return false;
    d->crc = le32(b + 4);
    d->packed = packed;
    d->size = wide ? le64(b + 16) : le32(b + 12);
    d->end = at + len;
    return true;
}

// Searches forward from dataStart for the descriptor that ends this member's data.
bool findDescriptor(ByteSource& src, uint64_t dataStart, bool wide, std::vector<uint8_t>& buf, Descriptor* d) {
    const uint64_t fileSize = src.size();
    // Small files need no full-size buffer.
    size_t chunk = static_cast<size_t>(std::min<uint64_t>(kSearchChunk, fileSize));
    if (buf.size() < chunk) buf.resize(chunk);
    uint64_t pos = dataStart;
    while (pos < fileSize) {
        size_t got = src.readAt(pos, buf.data(), static_cast<size_t>(std::min<uint64_t>(buf.size(), fileSize - pos)));
        if (got < 4) return false;
        for (size_t i = 0; i + 4 <= got; ++i) {
            const uint8_t* hit = static_cast<const uint8_t*>(std::memchr(buf.data() + i, 'P', got - 3 - i));
            if (!hit) break;
            i = static_cast<size_t>(hit - buf.data());
            if (le32(hit) == kDescriptorSig && descriptorAt(src, pos + i, pos + i - dataStart, wide, d)) return true;
        }
        pos += got - 3;  // overlap so a signature across chunks is seen
    }
    return false;
}

}  // namespace

Status scanLocalHeaders(ByteSource& src, Directory* out) {
    const uint64_t fileSize = src.size();
    out->entries.clear();
    out->shift = 0;
    std::vector<uint8_t> var, searchBuf;
    uint64_t pos = 0;
    // Each step moves past at least one 30-byte header, so the walk ends.
    while (fileSize - pos >= kLocalHeaderSize) {
        uint8_t h[kLocalHeaderSize];
        if (!src.readExact(pos, h, sizeof h) || le32(h) != kLocalSig) break;
        size_t nameLen = le16(h + 26), extraLen = le16(h + 28);
        uint64_t dataStart = pos + sizeof h + nameLen + extraLen;
        if (dataStart > fileSize) break;
        var.resize(nameLen + extraLen);
        if (!var.empty() && !src.readExact(pos + sizeof h, var.data(), var.size())) break;

        Entry e;
        e.flags = le16(h + 6);
        e.method = le16(h + 8);
        e.localOffset = e.storedOffset = pos;
        Member& m = e.member;
        m.method = methodName(e.method);
        m.dosTime = le16(h + 10);
        m.dosDate = le16(h + 12);
        m.crc = le32(h + 14);
        m.packedSize = le32(h + 18);
        m.size = le32(h + 22);
        ExtraField z64;
        const bool wide = findExtra(var.data() + nameLen, extraLen, kExtraZip64, &z64);
        applyZip64(var.data() + nameLen, extraLen, &m.size, &m.packedSize, nullptr);
        // Local headers do not say which system wrote them: names follow the
        // Windows rules.
        m.name = decodeName(var.data(), nameLen, e.flags, kHostFat, var.data() + nameLen, extraLen);
        m.isFolder = !m.name.empty() && m.name.back() == '/';
        m.encrypted = (e.flags & (kFlagEncrypted | kFlagStrongEncryption)) || e.method == kMethodAes;
        if (e.method == kMethodAes) readAesExtra(var.data() + nameLen, extraLen, &e.aes);

        uint64_t next;
        if (e.flags & kFlagDescriptor) {
            Descriptor d;
            if (!findDescriptor(src, dataStart, wide, searchBuf, &d)) {
                // Cut inside this member: list it so its extraction reports why.
                e.cutOff = true;
                out->entries.push_back(std::move(e));
                break;
            }
            m.packedSize = d.packed;
            m.size = d.size;
            m.crc = d.crc;
            next = d.end;
        } else if (m.packedSize > fileSize - dataStart) {
            e.cutOff = true;
            out->entries.push_back(std::move(e));
            break;
        } else {
            next = dataStart + m.packedSize;
        }
        out->entries.push_back(std::move(e));
        pos = next;
    }
    return out->entries.empty() ? Status::UnexpectedEof : Status::Ok;
}

}  // namespace arc::zip
