#include "rar_volumes.h"

#include <cctype>
#include <cstring>

namespace arc {

namespace {

bool allDigits(const std::string& s) {
    if (s.empty()) return false;
    for (char c : s)
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    return true;
}

std::string lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// RAR 5 variable-length integer: 7 bits a byte, high bit = more follow.
bool readVint(const uint8_t* p, size_t n, size_t& at, uint64_t& value) {
    value = 0;
    for (unsigned shift = 0; at < n && shift < 64; shift += 7) {
        uint8_t b = p[at++];
        value |= uint64_t{b & 0x7Fu} << shift;
        if (!(b & 0x80)) return true;
    }
    return false;
}

}  // namespace

std::optional<RarVolumeName> parseRarVolumeName(const std::string& fileName) {
    const std::string low = lower(fileName);
    RarVolumeName v;
    size_t dot = low.rfind('.');
    if (dot == std::string::npos || dot == 0) return std::nullopt;
    const std::string ext = low.substr(dot + 1);
    v.upperCase = std::isupper(static_cast<unsigned char>(fileName[dot + 1])) != 0;
    if (ext == "rar") {
        size_t part = low.rfind(".part", dot);
        if (part != std::string::npos && part > 0 && allDigits(low.substr(part + 5, dot - part - 5))) {
            const std::string number = low.substr(part + 5, dot - part - 5);
            if (number.size() > 6) return std::nullopt;
            v.partScheme = true;
            v.stem = fileName.substr(0, part);
            v.digits = number.size();
            const size_t n = std::stoul(number);
            if (n == 0) return std::nullopt;
            v.index = n - 1;
            return v;
        }
        v.stem = fileName.substr(0, dot);
        return v;
    }
    // .r00 .. .r99, then .s00 .. .s99 and so on: a letter and two digits.
    if (ext.size() == 3 && ext[0] >= 'r' && ext[0] <= 'z' && allDigits(ext.substr(1))) {
        v.stem = fileName.substr(0, dot);
        v.index = 1 + static_cast<size_t>(ext[0] - 'r') * 100 + std::stoul(ext.substr(1));
        return v;
    }
    return std::nullopt;
}

std::string rarVolumeFileName(const RarVolumeName& v, size_t index) {
    if (v.partScheme) {
        // Zero-padded to the set's width; a set that outgrows it (part9, part10) just grows.
        std::string number = std::to_string(index + 1);
        if (number.size() < v.digits) number.insert(0, v.digits - number.size(), '0');
        return v.stem + ".part" + number + (v.upperCase ? ".RAR" : ".rar");
    }
    if (index == 0) return v.stem + (v.upperCase ? ".RAR" : ".rar");
    const size_t k = index - 1;
    if (k >= 900) return "";  // past .z99
    char ext[5] = {'.', static_cast<char>((v.upperCase ? 'R' : 'r') + k / 100), static_cast<char>('0' + k % 100 / 10),
                   static_cast<char>('0' + k % 10), 0};
    return v.stem + ext;
}

bool rarIsVolume(ByteSource& src) {
    uint8_t h[64] = {};
    const size_t n = src.readAt(0, h, sizeof h);
    static const uint8_t kRar4[] = {'R', 'a', 'r', '!', 0x1A, 0x07, 0x00};
    static const uint8_t kRar5[] = {'R', 'a', 'r', '!', 0x1A, 0x07, 0x01, 0x00};
    if (n >= 7 + 5 && std::memcmp(h, kRar4, sizeof kRar4) == 0) {
        // Main header: CRC16, type 0x73, flags (bit 0: volume).
        return h[7 + 2] == 0x73 && (h[7 + 3] & 0x01);
    }
    if (n > sizeof kRar5 && std::memcmp(h, kRar5, sizeof kRar5) == 0) {
        // CRC32, header size, type 1 (main), header flags, [extra size], archive flags (bit 0: volume).
        size_t at = sizeof kRar5 + 4;
        uint64_t size = 0, type = 0, flags = 0, extra = 0, archiveFlags = 0;
        if (!readVint(h, n, at, size) || !readVint(h, n, at, type) || type != 1) return false;
        if (!readVint(h, n, at, flags)) return false;
        if ((flags & 0x01) && !readVint(h, n, at, extra)) return false;
        if (flags & 0x02) {
            uint64_t dataSize = 0;
            if (!readVint(h, n, at, dataSize)) return false;
        }
        return readVint(h, n, at, archiveFlags) && (archiveFlags & 0x01);
    }
    return false;
}

}  // namespace arc
