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

namespace {

// One folder holding every file's data: its CFDATA payloads and typeCompress.
std::vector<std::vector<uint8_t>> folderPayloads(const std::vector<uint8_t>& folderData, const WriterOptions& opt,
                                                 uint16_t* typeCompress) {
    std::vector<std::vector<uint8_t>> payloads;
    *typeCompress = 0;
    switch (opt.method) {
    case Method::None:
        for (size_t off = 0; off < folderData.size(); off += kBlock)
            payloads.emplace_back(folderData.begin() + off,
                                  folderData.begin() + std::min(folderData.size(), off + kBlock));
        break;
    case Method::Mszip:
        payloads = mszipBlocks(folderData);
        *typeCompress = 1;
        break;
    case Method::Lzx:
        payloads = lzxtest::lzxEncode(folderData, opt.lzx);
        *typeCompress = static_cast<uint16_t>(3 | (opt.lzx.windowBits << 8));
        break;
    }
    return payloads;
}

void putData(std::vector<uint8_t>& cab, const std::vector<uint8_t>& payload, size_t from, size_t to,
             uint32_t uncompressed, bool checksums) {
    const uint32_t n = static_cast<uint32_t>(to - from);
    const uint8_t sizes[4] = {static_cast<uint8_t>(n), static_cast<uint8_t>(n >> 8), static_cast<uint8_t>(uncompressed),
                              static_cast<uint8_t>(uncompressed >> 8)};
    put32(cab, checksums ? cabChecksum(sizes, 4, cabChecksum(payload.data() + from, n, 0)) : 0);
    put16(cab, n);
    put16(cab, uncompressed);
    cab.insert(cab.end(), payload.begin() + static_cast<long>(from), payload.begin() + static_cast<long>(to));
}

void putString(std::vector<uint8_t>& cab, const std::string& s) {
    cab.insert(cab.end(), s.begin(), s.end());
    cab.push_back(0);
}

// flags, setID, iCabinet and the neighbours' names, each followed by its disk label.
void putSetHeader(std::vector<uint8_t>& cab, const SetHeader& h) {
    put16(cab, (h.hasPrevious ? 1 : 0) | (h.hasNext ? 2 : 0));
    put16(cab, h.setId);
    put16(cab, h.index);
    if (h.hasPrevious) putString(cab, h.previous), putString(cab, "disk");
    if (h.hasNext) putString(cab, h.next), putString(cab, "disk");
}

}  // namespace

std::vector<std::vector<uint8_t>> writeCabSet(const std::vector<FileEntry>& files, const WriterOptions& opt,
                                              const std::vector<std::string>& names, bool splitBlocks) {
    std::vector<SetHeader> headers(names.size());
    for (size_t p = 0; p < names.size(); ++p) {
        headers[p].index = static_cast<uint16_t>(p);
        headers[p].hasPrevious = p > 0;
        headers[p].hasNext = p + 1 < names.size();
        if (p > 0) headers[p].previous = names[p - 1];
        if (p + 1 < names.size()) headers[p].next = names[p + 1];
    }
    return writeCabSet(files, opt, headers, splitBlocks);
}

std::vector<std::vector<uint8_t>> writeCabSet(const std::vector<FileEntry>& files, const WriterOptions& opt,
                                              const std::vector<SetHeader>& headers, bool splitBlocks) {
    std::vector<uint8_t> folderData;
    for (const auto& f : files) folderData.insert(folderData.end(), f.data.begin(), f.data.end());
    uint16_t typeCompress = 0;
    const auto payloads = folderPayloads(folderData, opt, &typeCompress);
    const size_t parts = headers.size();
    if (parts < 2 || payloads.size() < parts) throw std::runtime_error("too few blocks for the set");
    // Blocks dealt out evenly; part p ends with block last[p]. A split last
    // block has its first half in part p, its rest (and its size) in p + 1.
    std::vector<size_t> last(parts);
    for (size_t p = 0; p < parts; ++p) last[p] = (p + 1) * payloads.size() / parts - 1;
    // Uncompressed range of each part: the blocks that end in it.
    std::vector<uint64_t> uEnd(parts);
    for (size_t p = 0; p < parts; ++p) {
        size_t endBlock = splitBlocks && p + 1 < parts ? last[p] : last[p] + 1;  // blocks completed in p
        uEnd[p] = std::min<uint64_t>(folderData.size(), uint64_t(endBlock) * kBlock);
    }
    std::vector<std::vector<uint8_t>> out;
    for (size_t p = 0; p < parts; ++p) {
        const uint64_t uBegin = p == 0 ? 0 : uEnd[p - 1];
        std::vector<uint8_t> cab;
        put32(cab, 0x4643534D);
        put32(cab, 0);
        put32(cab, 0);  // cbCabinet, patched below
        put32(cab, 0);
        put32(cab, 0);  // coffFiles, patched below
        put32(cab, 0);
        cab.push_back(3);
        cab.push_back(1);
        put16(cab, 1);
        const size_t countAt = cab.size();
        put16(cab, 0);  // files, patched below
        putSetHeader(cab, headers[p]);
        const size_t folderAt = cab.size();
        const size_t firstBlock = p == 0 ? 0 : (splitBlocks ? last[p - 1] : last[p - 1] + 1);
        put32(cab, 0);
        put16(cab, static_cast<uint32_t>(last[p] - firstBlock + 1));
        put16(cab, typeCompress);
        set32(cab, 16, static_cast<uint32_t>(cab.size()));
        uint64_t offset = 0;
        unsigned listed = 0;
        for (const auto& f : files) {
            const uint64_t begin = offset, end = offset + f.data.size();
            offset = end;
            const bool startsHere = begin >= uBegin && begin < uEnd[p];
            const bool startedBefore = begin < uBegin && end > uBegin;
            const bool goesOn = end > uEnd[p] && p + 1 < parts;
            if (!startsHere && !startedBefore) continue;
            uint16_t iFolder = 0;
            if (startedBefore)
                iFolder = goesOn ? 0xFFFF : 0xFFFD;
            else if (goesOn)
                iFolder = 0xFFFE;
            put32(cab, static_cast<uint32_t>(f.data.size()));
            put32(cab, static_cast<uint32_t>(begin));
            put16(cab, iFolder);
            put16(cab, 0x5821);
            put16(cab, 0x6000);
            put16(cab, 0x20);
            putString(cab, f.name);
            ++listed;
        }
        cab[countAt] = static_cast<uint8_t>(listed);
        cab[countAt + 1] = static_cast<uint8_t>(listed >> 8);
        set32(cab, folderAt, static_cast<uint32_t>(cab.size()));
        for (size_t b = firstBlock; b <= last[p]; ++b) {
            const auto& pl = payloads[b];
            const uint32_t unc = static_cast<uint32_t>(std::min(kBlock, folderData.size() - b * kBlock));
            const size_t half = pl.size() / 2;
            if (splitBlocks && b == last[p] && p + 1 < parts)
                putData(cab, pl, 0, half, 0, opt.checksums);  // the rest opens the next part
            else if (splitBlocks && b == firstBlock && p > 0)
                putData(cab, pl, half, pl.size(), unc, opt.checksums);
            else
                putData(cab, pl, 0, pl.size(), unc, opt.checksums);
        }
        set32(cab, 8, static_cast<uint32_t>(cab.size()));
        out.push_back(std::move(cab));
    }
    return out;
}

std::vector<uint8_t> writeCab(const std::vector<FileEntry>& files, const WriterOptions& opt) {
    SetHeader alone;  // no neighbours
    alone.setId = 0x1234;
    return writeCabPart(files, opt, alone);
}

std::vector<uint8_t> writeCabPart(const std::vector<FileEntry>& files, const WriterOptions& opt,
                                  const SetHeader& header) {
    std::vector<uint8_t> folderData;
    for (const auto& f : files) folderData.insert(folderData.end(), f.data.begin(), f.data.end());

    uint16_t typeCompress = 0;
    const auto payloads = folderPayloads(folderData, opt, &typeCompress);

    std::vector<uint8_t> cab;
    cab.reserve(64 + files.size() * 32 + folderData.size() + payloads.size() * 8);
    put32(cab, 0x4643534D);  // "MSCF"
    put32(cab, 0);           // reserved
    put32(cab, 0);           // cbCabinet, patched below
    put32(cab, 0);           // reserved
    put32(cab, 0);           // coffFiles, patched below
    put32(cab, 0);           // reserved
    cab.push_back(3);        // version 1.3
    cab.push_back(1);
    put16(cab, 1);  // one folder
    put16(cab, static_cast<uint32_t>(files.size()));
    putSetHeader(cab, header);  // no reserve
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
