#include "cab_writer.h"

#include <zlib.h>

#include <algorithm>
#include <stdexcept>

namespace cabtest {

namespace {

constexpr size_t kBlock = 32768;

void put16(std::vector<uint8_t>& v, uint32_t x) {
    v.push_back(static_cast<uint8_t>(x));
    v.push_back(static_cast<uint8_t>(x >> 8));
}
void put32(std::vector<uint8_t>& v, uint32_t x) {
    put16(v, x & 0xFFFF);
    put16(v, x >> 16);
}
void set32(std::vector<uint8_t>& v, size_t at, uint32_t x) {
    for (int k = 0; k < 4; ++k) v[at + k] = static_cast<uint8_t>(x >> (8 * k));
}
uint16_t get16(const std::vector<uint8_t>& v, size_t at) { return static_cast<uint16_t>(v[at] | (v[at + 1] << 8)); }
uint32_t get32(const std::vector<uint8_t>& v, size_t at) { return get16(v, at) | (uint32_t{get16(v, at + 2)} << 16); }

// MSZIP: "CK" then a complete raw deflate stream per block, each primed with
// the previous 32 KiB of uncompressed data.
std::vector<std::vector<uint8_t>> mszipBlocks(const std::vector<uint8_t>& data) {
    std::vector<std::vector<uint8_t>> out;
    z_stream zs{};
    if (deflateInit2(&zs, 9, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK) throw std::runtime_error("deflateInit2");
    for (size_t off = 0; off < data.size(); off += kBlock) {
        size_t len = std::min(kBlock, data.size() - off);
        deflateReset(&zs);
        if (off > 0) deflateSetDictionary(&zs, data.data() + off - kBlock, kBlock);
        std::vector<uint8_t> block(2 + deflateBound(&zs, len) + 16);
        block[0] = 'C';
        block[1] = 'K';
        zs.next_in = const_cast<Bytef*>(data.data() + off);
        zs.avail_in = static_cast<uInt>(len);
        zs.next_out = block.data() + 2;
        zs.avail_out = static_cast<uInt>(block.size() - 2);
        if (deflate(&zs, Z_FINISH) != Z_STREAM_END) throw std::runtime_error("deflate");
        block.resize(block.size() - zs.avail_out);
        out.push_back(std::move(block));
    }
    deflateEnd(&zs);
    return out;
}

}  // namespace

uint32_t cabChecksum(const uint8_t* p, size_t n, uint32_t seed) {
    uint32_t c = seed;
    size_t words = n / 4;
    for (size_t i = 0; i < words; ++i, p += 4) c ^= p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t{p[3]} << 24);
    uint32_t last = 0;
    switch (n & 3) {
    case 3: last |= uint32_t{*p++} << 16; [[fallthrough]];
    case 2: last |= uint32_t{*p++} << 8; [[fallthrough]];
    case 1: last |= *p++;
    }
    return c ^ last;
}

std::vector<uint8_t> writeCab(const std::vector<FileEntry>& files, const WriterOptions& opt) {
    std::vector<uint8_t> folderData;
    for (const auto& f : files) folderData.insert(folderData.end(), f.data.begin(), f.data.end());

    std::vector<std::vector<uint8_t>> payloads;
    uint16_t typeCompress = 0;
    switch (opt.method) {
    case Method::None:
        for (size_t off = 0; off < folderData.size(); off += kBlock)
            payloads.emplace_back(folderData.begin() + off, folderData.begin() + std::min(folderData.size(), off + kBlock));
        break;
    case Method::Mszip:
        payloads = mszipBlocks(folderData);
        typeCompress = 1;
        break;
    case Method::Lzx:
        payloads = lzxtest::lzxEncode(folderData, opt.lzx);
        typeCompress = static_cast<uint16_t>(3 | (opt.lzx.windowBits << 8));
        break;
    }

    std::vector<uint8_t> cab;
    cab.reserve(64 + files.size() * 32 + folderData.size() + payloads.size() * 8);
    put32(cab, 0x4643534D);  // "MSCF"
    put32(cab, 0);  // reserved
    put32(cab, 0);  // cbCabinet, patched below
    put32(cab, 0);  // reserved
    put32(cab, 0);  // coffFiles, patched below
    put32(cab, 0);  // reserved
    cab.push_back(3);  // version 1.3
    cab.push_back(1);
    put16(cab, 1);  // one folder
    put16(cab, static_cast<uint32_t>(files.size()));
    put16(cab, 0);  // flags: no set, no reserve
    put16(cab, 0x1234);  // set id
    put16(cab, 0);  // index in set
    size_t folderAt = cab.size();
    put32(cab, 0);  // coffCabStart, patched below
    put16(cab, static_cast<uint32_t>(payloads.size()));
    put16(cab, typeCompress);
    set32(cab, 16, static_cast<uint32_t>(cab.size()));
    uint32_t offset = 0;
    for (const auto& f : files) {
        put32(cab, static_cast<uint32_t>(f.data.size()));
        put32(cab, offset);
        put16(cab, 0);       // folder 0
        put16(cab, 0x5821);  // 2024-01-01
        put16(cab, 0x6000);  // 12:00:00
        put16(cab, 0x20);    // archive attribute
        cab.insert(cab.end(), f.name.begin(), f.name.end());
        cab.push_back(0);
        offset += static_cast<uint32_t>(f.data.size());
    }
    set32(cab, folderAt, static_cast<uint32_t>(cab.size()));
    for (size_t i = 0; i < payloads.size(); ++i) {
        const auto& p = payloads[i];
        if (p.size() > 0xFFFF) throw std::runtime_error("CFDATA payload too large");
        uint32_t uncompressed = static_cast<uint32_t>(std::min(kBlock, folderData.size() - i * kBlock));
        const uint8_t sizes[4] = {static_cast<uint8_t>(p.size()), static_cast<uint8_t>(p.size() >> 8),
                                  static_cast<uint8_t>(uncompressed), static_cast<uint8_t>(uncompressed >> 8)};
        uint32_t sum = opt.checksums ? cabChecksum(sizes, 4, cabChecksum(p.data(), p.size(), 0)) : 0;
        put32(cab, sum);
        put16(cab, static_cast<uint32_t>(p.size()));
        put16(cab, uncompressed);
        for (uint8_t b : p) cab.push_back(b);
    }
    set32(cab, 8, static_cast<uint32_t>(cab.size()));
    return cab;
}

bool parseCab(const std::vector<uint8_t>& cab, ParsedCab& out) {
    out = {};
    if (cab.size() < 36 || get32(cab, 0) != 0x4643534D) return false;
    const uint32_t coffFiles = get32(cab, 16);
    const uint16_t nFolders = get16(cab, 26), nFiles = get16(cab, 28), flags = get16(cab, 30);
    size_t at = 36;
    unsigned folderReserve = 0, dataReserve = 0;
    if (flags & 4) {
        if (at + 4 > cab.size()) return false;
        uint16_t headerReserve = get16(cab, at);
        folderReserve = cab[at + 2];
        dataReserve = cab[at + 3];
        at += 4 + headerReserve;
    }
    for (int s = 0; s < ((flags & 1) ? 2 : 0) + ((flags & 2) ? 2 : 0); ++s) {  // previous/next cabinet names
        while (at < cab.size() && cab[at] != 0) ++at;
        ++at;
    }
    for (unsigned f = 0; f < nFolders; ++f) {
        if (at + 8 > cab.size()) return false;
        uint32_t dataAt = get32(cab, at);
        uint16_t nBlocks = get16(cab, at + 4);
        Folder folder;
        folder.typeCompress = get16(cab, at + 6);
        at += 8 + folderReserve;
        for (unsigned b = 0; b < nBlocks; ++b) {
            if (dataAt + 8 + dataReserve > cab.size()) return false;
            uint16_t cb = get16(cab, dataAt + 4);
            DataBlock block;
            block.uncompressed = get16(cab, dataAt + 6);
            size_t p = dataAt + 8 + dataReserve;
            if (p + cb > cab.size()) return false;
            block.payload.assign(cab.begin() + p, cab.begin() + p + cb);
            folder.blocks.push_back(std::move(block));
            dataAt = static_cast<uint32_t>(p + cb);
        }
        out.folders.push_back(std::move(folder));
    }
    at = coffFiles;
    for (unsigned i = 0; i < nFiles; ++i) {
        if (at + 16 > cab.size()) return false;
        FileRecord r;
        r.size = get32(cab, at);
        r.offset = get32(cab, at + 4);
        r.folder = get16(cab, at + 8);
        at += 16;
        while (at < cab.size() && cab[at] != 0) r.name.push_back(static_cast<char>(cab[at++]));
        if (at >= cab.size()) return false;
        ++at;
        out.files.push_back(std::move(r));
    }
    return true;
}

}  // namespace cabtest
