// Cabinets built in memory, byte by byte, to reach the reader's checks:
// truncation, impossible sizes and counts, checksums, split blocks, unknown
// methods, names, partial extraction and sink failures.
#include <gtest/gtest.h>

#include <cstring>

#include <zlib.h>

#include "archive.h"
#include "cab_folder_stream.h"
#include "support/archive_fixtures.h"

namespace {

using arc::Status;
using Bytes = std::vector<uint8_t>;

void put16(Bytes& b, unsigned v) {
    b.push_back(v & 0xFF);
    b.push_back((v >> 8) & 0xFF);
}
void put32(Bytes& b, uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}

struct Block {
    Bytes payload;
    unsigned unpacked;
    bool badChecksum = false;
};
struct FolderSpec {
    uint16_t type = 0;
    std::vector<Block> blocks;
    int claimedBlocks = -1;  // -1: the real count
};
struct FileSpec {
    std::string name;
    uint32_t size, offset;
    uint16_t folder = 0;
    uint16_t attributes = 0x20;
};

// Writes a version 1.3 cabinet: header, folders, files, then each folder's blocks.
struct CabBuilder {
    std::vector<FolderSpec> folders;
    std::vector<FileSpec> files;
    bool reserve = false;
    uint16_t headerReserve = 0;
    uint8_t folderReserve = 0, dataReserve = 0;
    bool checksums = true;

    Bytes build() const {
        const unsigned folderRes = reserve ? folderReserve : 0;
        const unsigned dataRes = reserve ? dataReserve : 0;
        size_t head = 36 + (reserve ? 4 + headerReserve : 0);
        size_t folderTable = folders.size() * (8 + folderRes);
        size_t fileTable = 0;
        for (auto& f : files) fileTable += 16 + f.name.size() + 1;
        size_t dataAt = head + folderTable + fileTable;
        Bytes out;
        put32(out, 0x4643534Du);  // "MSCF"
        put32(out, 0);
        put32(out, 0);  // cbCabinet, patched below
        put32(out, 0);
        put32(out, static_cast<uint32_t>(head + folderTable));
        put32(out, 0);
        out.push_back(3);
        out.push_back(1);
        put16(out, static_cast<unsigned>(folders.size()));
        put16(out, static_cast<unsigned>(files.size()));
        put16(out, reserve ? 4 : 0);
        put16(out, 0x1234);
        put16(out, 0);
        if (reserve) {
            put16(out, headerReserve);
            out.push_back(folderRes);
            out.push_back(dataRes);
            for (unsigned i = 0; i < headerReserve; ++i) out.push_back(0xAA);
        }
        size_t at = dataAt;
        for (auto& f : folders) {
            put32(out, static_cast<uint32_t>(at));
            put16(out, f.claimedBlocks >= 0 ? unsigned(f.claimedBlocks) : unsigned(f.blocks.size()));
            put16(out, f.type);
            for (unsigned i = 0; i < folderRes; ++i) out.push_back(0xBB);
            for (auto& b : f.blocks) at += 8 + dataRes + b.payload.size();
        }
        for (auto& f : files) {
            put32(out, f.size);
            put32(out, f.offset);
            put16(out, f.folder);
            put16(out, 0x5A21);
            put16(out, 0x6000);
            put16(out, f.attributes);
            out.insert(out.end(), f.name.begin(), f.name.end());
            out.push_back(0);
        }
        for (auto& f : folders)
            for (auto& b : f.blocks) {
                Bytes h;
                put16(h, static_cast<unsigned>(b.payload.size()));
                put16(h, b.unpacked);
                for (unsigned i = 0; i < dataRes; ++i) h.push_back(0xCC);
                uint32_t sum = 0;
                if (checksums) {
                    sum = arc::cabChecksum(h.data(), h.size(), arc::cabChecksum(b.payload.data(), b.payload.size(), 0));
                    if (b.badChecksum) sum ^= 0x100;
                }
                put32(out, sum);
                out.insert(out.end(), h.begin(), h.end());
                out.insert(out.end(), b.payload.begin(), b.payload.end());
            }
        uint32_t total = static_cast<uint32_t>(out.size());
        std::memcpy(out.data() + 8, &total, 4);  // little-endian hosts only run these tests
        return out;
    }
};

Bytes text(size_t n, unsigned seed) {
    static const char* words[] = {"cabinet ", "folder ", "block ", "\xe6\x96\x87\xe5\xad\x97 ", "data\r\n", "window "};
    Bytes out;
    uint32_t x = seed * 2654435761u + 1;
    while (out.size() < n) {
        x = x * 1103515245u + 12345u;
        const char* w = words[(x >> 16) % 6];
        out.insert(out.end(), w, w + std::strlen(w));
    }
    out.resize(n);
    return out;
}

FolderSpec storedFolder(const Bytes& data, size_t blockSize) {
    FolderSpec f;
    for (size_t i = 0; i < data.size(); i += blockSize) {
        size_t n = std::min(blockSize, data.size() - i);
        f.blocks.push_back({Bytes(data.begin() + i, data.begin() + i + n), unsigned(n)});
    }
    return f;
}

// MSZIP blocks: "CK" + a raw deflate stream primed with the previous 32 KiB.
FolderSpec mszipFolder(const Bytes& data, size_t blockSize) {
    FolderSpec f;
    f.type = 1;
    for (size_t i = 0; i < data.size(); i += blockSize) {
        size_t n = std::min(blockSize, data.size() - i);
        z_stream z{};
        deflateInit2(&z, 9, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
        size_t hist = std::min<size_t>(i, 32768);
        if (hist) deflateSetDictionary(&z, data.data() + i - hist, static_cast<uInt>(hist));
        Bytes out(deflateBound(&z, static_cast<uLong>(n)) + 2);
        out[0] = 'C';
        out[1] = 'K';
        z.next_in = const_cast<Bytef*>(data.data() + i);
        z.avail_in = static_cast<uInt>(n);
        z.next_out = out.data() + 2;
        z.avail_out = static_cast<uInt>(out.size() - 2);
        EXPECT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
        out.erase(out.end() - z.avail_out, out.end());
        deflateEnd(&z);
        f.blocks.push_back({out, unsigned(n)});
    }
    return f;
}

struct Result {
    Status open = Status::Ok;
    Status extract = Status::Ok;
    std::vector<arc::Member> members;
    fixtures::MemoryTarget target;
};

std::unique_ptr<Result> run(const Bytes& cab, const std::vector<bool>* wanted = nullptr) {
    auto r = std::make_unique<Result>();
    arc::MemorySource src(cab);
    auto archive = arc::openCab(src, &r->open);
    if (!archive) return r;
    r->members = archive->members();
    if (wanted) r->extract = archive->extract(*wanted, r->target);
    else r->extract = fixtures::extractAll(*archive, r->target);
    return r;
}

// Two files sharing one stored folder of 5-byte blocks.
CabBuilder twoFiles(const Bytes& a, const Bytes& b) {
    Bytes all = a;
    all.insert(all.end(), b.begin(), b.end());
    CabBuilder c;
    c.folders.push_back(storedFolder(all, 5));
    c.files.push_back({"a.txt", uint32_t(a.size()), 0});
    c.files.push_back({"b.txt", uint32_t(b.size()), uint32_t(a.size())});
    return c;
}

TEST(CabBuilt, StoredAndMszipFoldersWithReservesRoundTrip) {
    const Bytes a = text(70000, 1), b = text(100, 2), c = text(40000, 3);
    struct Case {
        const char* what;
        bool reserve;
        size_t blockSize;
    } cases[] = {{"plain 32 KiB blocks", false, 32768}, {"reserved fields, 5-byte blocks", true, 5},
                 {"reserved fields, odd 1000-byte blocks", true, 1000}};
    for (auto& k : cases) {
        SCOPED_TRACE(k.what);
        Bytes ab = a;
        ab.insert(ab.end(), b.begin(), b.end());
        CabBuilder cab;
        cab.reserve = k.reserve;
        cab.headerReserve = 26;
        cab.folderReserve = 3;
        cab.dataReserve = 7;
        cab.folders.push_back(storedFolder(ab, k.blockSize));
        cab.folders.push_back(mszipFolder(c, k.blockSize == 5 ? 300 : k.blockSize));
        cab.files = {{"a.txt", uint32_t(a.size()), 0, 0}, {"b.txt", uint32_t(b.size()), uint32_t(a.size()), 0},
                     {"c.txt", uint32_t(c.size()), 0, 1}};
        auto r = run(cab.build());
        ASSERT_EQ(r->open, Status::Ok);
        ASSERT_EQ(r->members.size(), 3u);
        EXPECT_EQ(r->members[0].method, "none");
        EXPECT_EQ(r->members[2].method, "mszip");
        EXPECT_EQ(r->members[2].dosDate, 0x5A21);
        EXPECT_EQ(r->members[2].dosTime, 0x6000);
        EXPECT_EQ(r->extract, Status::Ok);
        EXPECT_EQ(r->target.results[0].data, a);
        EXPECT_EQ(r->target.results[1].data, b);
        EXPECT_EQ(r->target.results[2].data, c);
    }
}

TEST(CabBuilt, TruncatedAtEveryLengthNeverReportsWrongData) {
    const Bytes a = text(23, 4), b = text(31, 5);
    const Bytes full = twoFiles(a, b).build();
    for (size_t len = 0; len < full.size(); ++len) {
        SCOPED_TRACE(len);
        auto r = run(Bytes(full.begin(), full.begin() + len));
        if (r->open != Status::Ok) continue;
        EXPECT_NE(r->extract, Status::Ok);
        for (auto& [index, res] : r->target.results)
            if (res.status == Status::Ok) {
                EXPECT_EQ(res.data, index == 0 ? a : b);
            }
    }
}

TEST(CabBuilt, ImpossibleSizesAndCountsFailFast) {
    const Bytes a = text(10, 6);
    struct Case {
        const char* fault;
        uint32_t size, offset;
        int claimedBlocks;
        Status expected;
    } cases[] = {
        {"member-claims-4GiB", 0xFFFFFFFFu, 0, -1, Status::BrokenData},
        {"member-beyond-folder-end", 5, 0xFFFFFFF0u, -1, Status::BrokenData},
        {"65535-blocks-claimed-in-tiny-file", 1000, 0, 65535, Status::BrokenData},
        {"65535-blocks-claimed-member-in-first", 10, 0, 65535, Status::Ok},
        {"no-blocks", 10, 0, 0, Status::BrokenData},
    };
    for (auto& k : cases) {
        SCOPED_TRACE(k.fault);
        CabBuilder cab;
        cab.folders.push_back(storedFolder(a, 32768));
        cab.folders[0].claimedBlocks = k.claimedBlocks;
        cab.files.push_back({"x", k.size, k.offset});
        auto r = run(cab.build());
        ASSERT_EQ(r->open, Status::Ok);
        EXPECT_EQ(r->extract, k.expected);
        EXPECT_EQ(r->target.results[0].status, k.expected);
        if (k.expected == Status::Ok) {
            EXPECT_EQ(r->target.results[0].data, a);
        }
    }
}

TEST(CabBuilt, BlockFaults) {
    const Bytes a = text(12, 7);
    struct Case {
        const char* fault;
        void (*spoil)(CabBuilder&);
        Status expected;
    } cases[] = {
        {"bad-checksum", [](CabBuilder& c) { c.folders[0].blocks[1].badChecksum = true; }, Status::BrokenData},
        {"bad-checksum-in-reserved-layout",
         [](CabBuilder& c) {
             c.reserve = true;
             c.dataReserve = 6;
             c.folders[0].blocks[2].badChecksum = true;
         },
         Status::BrokenData},
        {"no-checksums", [](CabBuilder& c) { c.checksums = false; }, Status::Ok},
        {"block-continued-in-next-cabinet", [](CabBuilder& c) { c.folders[0].blocks[1].unpacked = 0; },
         Status::NotSupport},
        {"block-declares-over-32KiB", [](CabBuilder& c) { c.folders[0].blocks[1].unpacked = 40000; },
         Status::BrokenData},
        {"stored-block-sizes-differ", [](CabBuilder& c) { c.folders[0].blocks[1].unpacked = 3; },
         Status::BrokenData},
        {"unknown-method", [](CabBuilder& c) { c.folders[0].type = 7; }, Status::Method},
        {"quantum-window-too-large", [](CabBuilder& c) { c.folders[0].type = 0x1602; }, Status::Method},
        {"lzx-window-too-small", [](CabBuilder& c) { c.folders[0].type = 0x0E03; }, Status::Method},
        {"mszip-block-without-CK", [](CabBuilder& c) { c.folders[0].type = 1; }, Status::BrokenData},
        {"file-names-missing-folder", [](CabBuilder& c) { c.files[0].folder = 3; }, Status::HeaderBroken},
        {"file-continued-from-previous", [](CabBuilder& c) { c.files[0].folder = 0xFFFD; }, Status::NotSupport},
        {"file-continued-to-next", [](CabBuilder& c) { c.files[0].folder = 0xFFFE; }, Status::NotSupport},
    };
    for (auto& k : cases) {
        SCOPED_TRACE(k.fault);
        CabBuilder cab;
        cab.folders.push_back(storedFolder(a, 4));
        cab.files.push_back({"x", uint32_t(a.size()), 0});
        k.spoil(cab);
        auto r = run(cab.build());
        ASSERT_EQ(r->open, Status::Ok);
        EXPECT_EQ(r->extract, k.expected);
        ASSERT_EQ(r->target.results.size(), 1u);
        EXPECT_EQ(r->target.results[0].status, k.expected);
        if (k.expected == Status::Ok) {
            EXPECT_EQ(r->target.results[0].data, a);
        }
    }
}

// Folders that all point at the same blocks cannot multiply the work: the
// reader stops once it has read about twice the cabinet.
TEST(CabBuilt, FoldersSharingDataRunOutOfBudget) {
    const Bytes data = text(100000, 14);
    CabBuilder cab;
    cab.folders.push_back(storedFolder(data, 32768));
    for (uint16_t i = 0; i < 40; ++i) cab.files.push_back({"f" + std::to_string(i), uint32_t(data.size()), 0, i});
    Bytes built = cab.build();
    // Point folders 1..39 at folder 0's blocks by copying its entry.
    const size_t folderTable = 36;
    built.insert(built.begin() + folderTable + 8, 39 * 8, 0);
    for (int i = 1; i < 40; ++i) std::copy_n(built.begin() + folderTable, 8, built.begin() + folderTable + 8 * i);
    built[26] = 40;                                  // cFolders
    uint32_t shift = 39 * 8, v;
    std::memcpy(&v, built.data() + 16, 4), v += shift, std::memcpy(built.data() + 16, &v, 4);  // coffFiles
    std::memcpy(&v, built.data() + 8, 4), v += shift, std::memcpy(built.data() + 8, &v, 4);    // cbCabinet
    for (int i = 0; i < 40; ++i) {
        std::memcpy(&v, built.data() + folderTable + 8 * i, 4), v += shift;
        std::memcpy(built.data() + folderTable + 8 * i, &v, 4);
    }
    auto r = run(built);
    ASSERT_EQ(r->open, Status::Ok);
    EXPECT_EQ(r->extract, Status::BrokenData);
    size_t complete = 0;
    for (auto& [index, res] : r->target.results)
        if (res.status == Status::Ok) {
            EXPECT_EQ(res.data, data);
            ++complete;
        }
    EXPECT_GE(complete, 2u);  // the first folders still come out
    EXPECT_LE(complete, 3u);
}

TEST(CabBuilt, MszipBlocksDecodeToExactlyTheDeclaredSize) {
    const Bytes data = text(3000, 15);
    struct Case {
        const char* what;
        int delta;  // added to the declared size
        Status expected;
    } cases[] = {{"declared-as-coded", 0, Status::Ok},
                 {"declares-less-than-coded", -1, Status::BrokenData},
                 {"declares-more-than-coded", +1, Status::BrokenData}};
    for (auto& k : cases) {
        SCOPED_TRACE(k.what);
        CabBuilder cab;
        cab.folders.push_back(mszipFolder(data, 1000));
        cab.folders[0].blocks[1].unpacked += k.delta;
        cab.files.push_back({"x", uint32_t(data.size() + k.delta), 0});
        auto r = run(cab.build());
        ASSERT_EQ(r->open, Status::Ok);
        EXPECT_EQ(r->extract, k.expected);
        if (k.expected == Status::Ok) {
            EXPECT_EQ(r->target.results[0].data, data);
        }
    }
}

// Only the first member is wanted: decoding stops before the spoilt block,
// and the unwanted member is never begun.
TEST(CabBuilt, DecodingStopsWhenNoWantedMemberRemains) {
    const Bytes a = text(10, 8), b = text(10, 9);
    CabBuilder cab = twoFiles(a, b);
    cab.folders[0].blocks[3].badChecksum = true;  // inside b
    std::vector<bool> onlyFirst{true, false};
    auto r = run(cab.build(), &onlyFirst);
    EXPECT_EQ(r->extract, Status::Ok);
    ASSERT_EQ(r->target.results.size(), 1u);
    EXPECT_EQ(r->target.results[0].data, a);
    std::vector<bool> both{true, true};
    r = run(cab.build(), &both);
    EXPECT_EQ(r->extract, Status::BrokenData);
    EXPECT_EQ(r->target.results[0].status, Status::Ok);
    EXPECT_EQ(r->target.results[1].status, Status::BrokenData);
}

// Members listed out of folder order, overlapping, and of size zero.
TEST(CabBuilt, MembersAreRangesOfTheFolderStream) {
    const Bytes all = text(100, 10);
    CabBuilder cab;
    cab.folders.push_back(mszipFolder(all, 7));
    cab.files = {{"late", 40, 60}, {"early", 30, 0}, {"overlap", 50, 20}, {"empty", 0, 500}};
    auto r = run(cab.build());
    ASSERT_EQ(r->open, Status::Ok);
    EXPECT_EQ(r->extract, Status::Ok);
    EXPECT_EQ(r->target.results[0].data, Bytes(all.begin() + 60, all.end()));
    EXPECT_EQ(r->target.results[1].data, Bytes(all.begin(), all.begin() + 30));
    EXPECT_EQ(r->target.results[2].data, Bytes(all.begin() + 20, all.begin() + 70));
    EXPECT_TRUE(r->target.results[3].ended);
    EXPECT_TRUE(r->target.results[3].data.empty());
}

TEST(CabBuilt, NamesDecodeBeforeSeparatorsTurn) {
    struct Case {
        std::string raw;
        uint16_t attributes;
        std::string name;
        uint32_t dosAttributes;
    } cases[] = {
        {"\x95\x5c\\a.txt", 0x21, "\xe8\xa1\xa8/a.txt", 0x21},  // 表 has 0x5C as trail byte
        {"dir\\\xe6\x97\xa5.txt", 0xA0, "dir/\xe6\x97\xa5.txt", 0x20},
        {"bad\xff.txt", 0x80, "bad\xef\xbf\xbd.txt", 0},
        {"", 0x20, "", 0x20},
    };
    CabBuilder cab;
    cab.folders.push_back(storedFolder(text(4, 11), 4));
    for (auto& k : cases) cab.files.push_back({k.raw, 1, 0, 0, k.attributes});
    auto r = run(cab.build());
    ASSERT_EQ(r->open, Status::Ok);
    ASSERT_EQ(r->members.size(), std::size(cases));
    for (size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(r->members[i].name, cases[i].name) << i;
        EXPECT_EQ(r->members[i].attributes, cases[i].dosAttributes) << i;
    }
}

TEST(CabBuilt, SinkFailureStopsWithCannotWrite) {
    struct FailingTarget : arc::ExtractTarget {
        struct Sink : arc::OutputSink {
            bool write(const uint8_t*, size_t) override { return false; }
        } sink;
        std::vector<std::pair<size_t, Status>> ends;
        size_t begun = 0;
        arc::OutputSink* begin(size_t) override { return ++begun, &sink; }
        void end(size_t i, Status s) override { ends.push_back({i, s}); }
    } target;
    const Bytes cab = twoFiles(text(10, 12), text(10, 13)).build();
    arc::MemorySource src(cab);
    Status st;
    auto archive = arc::openCab(src, &st);
    ASSERT_NE(archive, nullptr);
    EXPECT_EQ(archive->extract({true, true}, target), Status::CannotWrite);
    EXPECT_EQ(target.begun, 1u);
    ASSERT_EQ(target.ends.size(), 1u);
    EXPECT_EQ(target.ends[0].second, Status::CannotWrite);
}

TEST(CabBuilt, ChecksumFoldsTheTailBigEndian) {
    const uint8_t bytes[] = {1, 2, 3, 4, 5, 6, 7};
    EXPECT_EQ(arc::cabChecksum(bytes, 4, 0), 0x04030201u);
    EXPECT_EQ(arc::cabChecksum(bytes, 7, 0), 0x04030201u ^ 0x00050607u);
    EXPECT_EQ(arc::cabChecksum(bytes, 5, 0x10), 0x04030201u ^ 0x05u ^ 0x10u);
}

// Every length around the 8-byte and 4-byte steps and every tail length,
// against the sum written out one 32-bit word at a time.
TEST(CabBuilt, ChecksumMatchesWordByWordSumAtEveryLength) {
    uint8_t bytes[41];
    for (size_t i = 0; i < sizeof bytes; ++i) bytes[i] = static_cast<uint8_t>(i * 37 + 11);
    for (size_t n = 0; n <= sizeof bytes; ++n) {
        uint32_t want = 0x9E3779B9u;
        size_t i = 0;
        for (; i + 4 <= n; i += 4)
            want ^= uint32_t{bytes[i]} | uint32_t{bytes[i + 1]} << 8 | uint32_t{bytes[i + 2]} << 16 |
                    uint32_t{bytes[i + 3]} << 24;
        uint32_t tail = 0;
        for (; i < n; ++i) tail = tail << 8 | bytes[i];
        EXPECT_EQ(arc::cabChecksum(bytes, n, 0x9E3779B9u), want ^ tail) << "length " << n;
    }
}

}  // namespace
