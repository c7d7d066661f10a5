// LZH member headers, levels 0 to 3.
//
// Where real archives differ from the usual description:
// - OS-9/68k LHa writes level-2 header sizes 2 bytes short; other OS-9 and
//   some DOS programs add a padding byte after the extended headers. The end
//   of the extended-header chain and the size field are both believed, the
//   later one wins.
// - MorphOS LhA stores an Amiga file comment after a NUL inside the name.
// - Level-0/1 names separate folders with '\' (or 0xFF); a CP932 trail byte
//   may also be 0x5C, so names are decoded before separators are replaced.
// - Unix LHa stores a symbolic link as a -lhd- entry named "link|target".
#include "lzh_header.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "lzh_crc16.h"
#include "text_codec.h"

namespace arc {

namespace {

constexpr size_t kLevel01Fixed = 22;      // bytes up to and including the name length
constexpr size_t kLevel2Fixed = 26;
constexpr size_t kLevel3Fixed = 32;
constexpr uint32_t kMaxLevel3Header = 1u << 20;  // far above any real header; bounds the read
constexpr size_t kMaxExtHeaders = 4096;          // chains longer than this are hostile

uint16_t le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t le32(const uint8_t* p) { return le16(p) | (static_cast<uint32_t>(le16(p + 2)) << 16); }
uint64_t le64(const uint8_t* p) { return le32(p) | (static_cast<uint64_t>(le32(p + 4)) << 32); }

bool plausibleMethod(const uint8_t* m) {
    if (m[0] != '-' || m[4] != '-') return false;
    for (int i = 1; i < 4; ++i)
        if (!((m[i] >= 'a' && m[i] <= 'z') || (m[i] >= '0' && m[i] <= '9') || (m[i] >= 'A' && m[i] <= 'Z')))
            return false;
    return true;
}

// A stored name or folder in CP932 to UTF-8 with '/' separators. 0xFF is no
// CP932 byte at all, so it can be mapped to '/' before decoding; '\' only after.
std::string decodePath(const uint8_t* p, size_t n) {
    std::string raw(reinterpret_cast<const char*>(p), n);
    raw = raw.substr(0, raw.find('\0'));
    std::replace(raw.begin(), raw.end(), '\xFF', '/');
    std::string s = cp932ToUtf8(raw);
    std::replace(s.begin(), s.end(), '\\', '/');
    return s;
}

void unixToDos(uint32_t t, Member& m) {
    // Civil date from days since 1970-01-01 (UTC; the archive keeps no zone).
    int64_t days = t / 86400, secs = t % 86400;
    int64_t z = days + 719468, era = z / 146097, doe = z - era * 146097;
    int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100), mp = (5 * doy + 2) / 153;
    int64_t d = doy - (153 * mp + 2) / 5 + 1, mon = mp < 10 ? mp + 3 : mp - 9, y = yoe + era * 400 + (mon <= 2);
    if (y < 1980) return;
    if (y > 2107) y = 2107;
    m.dosDate = static_cast<uint16_t>(((y - 1980) << 9) | (mon << 5) | d);
    m.dosTime = static_cast<uint16_t>(((secs / 3600) << 11) | (((secs / 60) % 60) << 5) | ((secs % 60) / 2));
}

struct ExtFields {
    std::string fileName, dirName;
    bool hasFileName = false, hasDirName = false, hasUnicodeName = false, hasUnicodeDir = false;
    std::string unicodeName, unicodeDir;
    int attributes = -1;
    bool has64 = false;
    uint64_t packed64 = 0, size64 = 0;
    size_t crcAt = 0;  // offset of the header CRC field within the header buffer, 0 = none
    uint16_t headerCrc = 0;
};

// One extended header: type byte and its data (without the trailing size).
void takeExt(uint8_t type, const uint8_t* d, size_t n, size_t dataOffset, ExtFields& x) {
    switch (type) {
    case 0x00:
        if (n >= 2) x.crcAt = dataOffset, x.headerCrc = le16(d);
        break;
    case 0x01:
        x.fileName = decodePath(d, n), x.hasFileName = true;
        break;
    case 0x02: {
        x.dirName = decodePath(d, n), x.hasDirName = true;
        break;
    }
    case 0x40:
        if (n >= 2) x.attributes = le16(d);
        break;
    case 0x42:
        if (n >= 16) x.has64 = true, x.packed64 = le64(d), x.size64 = le64(d + 8);
        break;
    case 0x44:
        x.unicodeName = utf16leToUtf8(d, n), x.hasUnicodeName = true;
        std::replace(x.unicodeName.begin(), x.unicodeName.end(), '\\', '/');
        break;
    case 0x45:
        x.unicodeDir = utf16leToUtf8(d, n), x.hasUnicodeDir = true;
        std::replace(x.unicodeDir.begin(), x.unicodeDir.end(), '\\', '/');
        break;
    default:
        break;  // comments, timestamps, Unix and OS/2 metadata: not needed
    }
}

// Walks a chain of extended headers held in buf[at..), each ending with the
// size (sizeBytes wide) of the next. Returns the offset after the chain, or 0
// when the chain leaves the buffer or is malformed.
size_t walkChain(const std::vector<uint8_t>& buf, size_t at, uint32_t next, int sizeBytes, ExtFields& x) {
    size_t count = 0;
    while (next != 0) {
        if (next < static_cast<uint32_t>(1 + sizeBytes) || next > buf.size() - at || ++count > kMaxExtHeaders)
            return 0;
        takeExt(buf[at], &buf[at + 1], next - 1 - sizeBytes, at + 1, x);
        const uint8_t* tail = &buf[at + next - sizeBytes];
        at += next;
        next = sizeBytes == 2 ? le16(tail) : le32(tail);
    }
    return at;
}

bool headerCrcMatches(std::vector<uint8_t> buf, size_t len, const ExtFields& x) {
    buf[x.crcAt] = buf[x.crcAt + 1] = 0;
    return lzhCrc16(0, buf.data(), std::min(len, buf.size())) == x.headerCrc;
}

void finishName(const std::string& base, const ExtFields& x, LzhEntry& e) {
    std::string name = x.hasUnicodeName ? x.unicodeName : x.hasFileName ? x.fileName : base;
    std::string dir = x.hasUnicodeDir ? x.unicodeDir : x.dirName;
    Member& m = e.member;
    m.isFolder = m.method == "-lhd-";
    if (!dir.empty() && dir.back() != '/' && !name.empty()) dir += '/';
    name = dir + name;
    // "link|target"; a target with folders may sit in the folder field.
    if (m.isFolder) name = name.substr(0, name.find('|'));
    if (m.isFolder)
        while (!name.empty() && name.back() == '/') name.pop_back();
    m.name = name;
    if (x.attributes >= 0) m.attributes = static_cast<uint32_t>(x.attributes);
    else if (e.level >= 1) m.attributes = m.isFolder ? 0x10 : 0x20;  // no DOS attribute byte there
    if (x.has64) m.packedSize = x.packed64, m.size = x.size64;
}

Status readLevel01(ByteSource& src, uint64_t pos, const uint8_t* head, LzhEntry& e) {
    size_t total = static_cast<size_t>(head[0]) + 2;
    if (total < kLevel01Fixed) return Status::HeaderBroken;
    std::vector<uint8_t> buf(total);
    if (!src.readExact(pos, buf.data(), total)) return Status::UnexpectedEof;
    uint8_t sum = 0;
    for (size_t i = 2; i < total; ++i) sum = static_cast<uint8_t>(sum + buf[i]);
    if (sum != buf[1]) return Status::HeaderCrc;
    size_t nameLen = buf[21];
    if (kLevel01Fixed + nameLen > total) return Status::HeaderBroken;
    Member& m = e.member;
    m.packedSize = le32(&buf[7]);
    m.size = le32(&buf[11]);
    m.dosTime = le16(&buf[15]);
    m.dosDate = le16(&buf[17]);
    m.attributes = buf[19];
    size_t after = kLevel01Fixed + nameLen;  // CRC-16, then OS id
    if (after + 2 <= total) m.crc = le16(&buf[after]);
    if (after + 3 <= total) m.osType = buf[after + 2];
    std::string base = decodePath(&buf[22], nameLen);
    ExtFields x;
    e.dataOffset = pos + total;
    if (e.level == 1) {
        if (after + 5 > total) return Status::HeaderBroken;
        // Extended headers follow the base header and count into the packed size.
        uint64_t skip = m.packedSize, extBytes = 0;
        uint32_t next = le16(&buf[total - 2]);
        size_t count = 0;
        std::vector<uint8_t> ext;
        while (next != 0) {
            if (next < 3 || ++count > kMaxExtHeaders) return Status::HeaderBroken;
            extBytes += next;
            if (extBytes > skip) return Status::HeaderBroken;
            ext.resize(next);
            if (!src.readExact(e.dataOffset, ext.data(), next)) return Status::UnexpectedEof;
            takeExt(ext[0], &ext[1], next - 3, 0, x);
            e.dataOffset += next;
            next = le16(&ext[next - 2]);
        }
        x.crcAt = 0;  // level 1 is guarded by its checksum
        m.packedSize = skip - extBytes;
        e.lharkMethod = m.method == "-lh7-" && m.osType == ' ';
    }
    finishName(base, x, e);
    e.nextOffset = e.dataOffset + m.packedSize;
    return Status::Ok;
}

Status readLevel23(ByteSource& src, uint64_t pos, const uint8_t* head, LzhEntry& e) {
    const bool l3 = e.level == 3;
    const size_t fixed = l3 ? kLevel3Fixed : kLevel2Fixed;
    const uint64_t avail = src.size() - pos;
    uint64_t claimed;
    if (l3) {
        if (le16(head) != 4) return Status::HeaderBroken;
        uint8_t sz[4];
        if (!src.readExact(pos + 24, sz, 4)) return Status::UnexpectedEof;
        claimed = le32(sz);
        if (claimed > kMaxLevel3Header) return Status::HeaderBroken;
    } else {
        claimed = le16(head);
    }
    if (claimed < fixed) return Status::HeaderBroken;
    if (claimed > avail) return Status::UnexpectedEof;
    // Two bytes more than claimed: room for the OS-9/68k chain that overruns its size.
    std::vector<uint8_t> buf(static_cast<size_t>(std::min<uint64_t>(claimed + 2, avail)));
    if (!src.readExact(pos, buf.data(), buf.size())) return Status::UnexpectedEof;
    Member& m = e.member;
    m.packedSize = le32(&buf[7]);
    m.size = le32(&buf[11]);
    unixToDos(le32(&buf[15]), m);
    m.crc = le16(&buf[21]);
    m.osType = buf[23];
    ExtFields x;
    uint32_t next = l3 ? le32(&buf[28]) : le16(&buf[24]);
    size_t chainEnd = walkChain(buf, fixed, next, l3 ? 4 : 2, x);
    if (chainEnd == 0) return Status::HeaderBroken;
    size_t len = std::max<size_t>(static_cast<size_t>(claimed), chainEnd);
    if (x.crcAt && !headerCrcMatches(buf, len, x) && !headerCrcMatches(buf, chainEnd, x) &&
        !headerCrcMatches(buf, static_cast<size_t>(claimed), x))
        return Status::HeaderCrc;
    e.dataOffset = pos + len;
    finishName(std::string(), x, e);
    e.nextOffset = e.dataOffset + m.packedSize;
    return Status::Ok;
}

}  // namespace

Status lzhReadHeader(ByteSource& src, uint64_t pos, LzhEntry& entry, LzhHeaderKind* kind) {
    *kind = LzhHeaderKind::End;
    entry = LzhEntry{};
    uint8_t head[kLevel01Fixed];
    size_t got = pos < src.size() ? src.readAt(pos, head, sizeof head) : 0;
    // A 0 byte is the end marker; fewer bytes than any header, or bytes
    // without a method name, are trailing padding (CP/M records, SFX tails).
    if (got == 0 || head[0] == 0 || got < sizeof head || !plausibleMethod(head + 2)) return Status::Ok;
    entry.level = head[20];
    entry.headerOffset = pos;
    entry.member.method.assign(reinterpret_cast<const char*>(head + 2), 5);
    Status st;
    switch (entry.level) {
    case 0:
    case 1: st = readLevel01(src, pos, head, entry); break;
    case 2:
    case 3: st = readLevel23(src, pos, head, entry); break;
    default: return Status::UnknownLevel;
    }
    if (st == Status::Ok) *kind = LzhHeaderKind::Member;
    return st;
}

uint64_t lzhFindFirstHeader(ByteSource& src, uint64_t from, uint64_t limit) {
    const uint64_t size = src.size();
    const uint64_t end = std::min(size, limit);
    std::vector<uint8_t> buf(64 * 1024);
    constexpr size_t kOverlap = 8;
    for (uint64_t base = from; base < end;) {
        size_t got = src.readAt(base, buf.data(), buf.size());
        if (got < 7) break;
        for (size_t i = 0; i + 7 <= got && base + i < end; ++i) {
            if (buf[i + 2] != '-' || buf[i + 6] != '-' || (buf[i + 3] != 'l' && buf[i + 3] != 'p')) continue;
            LzhEntry e;
            LzhHeaderKind kind;
            // Inside a stub we also demand that the member fits in the file,
            // so a stray method-like string with a lucky checksum is passed over.
            if (lzhReadHeader(src, base + i, e, &kind) == Status::Ok && kind == LzhHeaderKind::Member &&
                e.nextOffset <= size)
                return base + i;
        }
        if (got <= kOverlap) break;
        base += got - kOverlap;
    }
    return UINT64_MAX;
}

}  // namespace arc
