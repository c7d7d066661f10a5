// Helpers shared by the ZIP reader tests: a tiny archive writer for fixtures
// that no tool produces (code-page names, hostile fields), and plumbing for
// archives made by peer tools in a temporary folder.
#pragma once

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "archive.h"
#include "support/archive_fixtures.h"

namespace ziptest {

using Bytes = std::vector<uint8_t>;

inline Bytes bytesOf(const std::string& s) { return Bytes(s.begin(), s.end()); }

inline void put16(Bytes& b, size_t at, uint16_t v) {
    b[at] = static_cast<uint8_t>(v);
    b[at + 1] = static_cast<uint8_t>(v >> 8);
}
inline void put32(Bytes& b, size_t at, uint32_t v) {
    put16(b, at, static_cast<uint16_t>(v));
    put16(b, at + 2, static_cast<uint16_t>(v >> 16));
}
inline void put64(Bytes& b, size_t at, uint64_t v) {
    put32(b, at, static_cast<uint32_t>(v));
    put32(b, at + 4, static_cast<uint32_t>(v >> 32));
}
inline void add16(Bytes& b, uint16_t v) {
    b.resize(b.size() + 2);
    put16(b, b.size() - 2, v);
}
inline void add32(Bytes& b, uint32_t v) {
    b.resize(b.size() + 4);
    put32(b, b.size() - 4, v);
}
inline void add64(Bytes& b, uint64_t v) {
    add32(b, static_cast<uint32_t>(v));
    add32(b, static_cast<uint32_t>(v >> 32));
}
inline void addBytes(Bytes& b, const Bytes& more) { b.insert(b.end(), more.begin(), more.end()); }

inline uint32_t crcOf(const Bytes& d) { return static_cast<uint32_t>(crc32(0L, d.data(), static_cast<uInt>(d.size()))); }

inline Bytes rawDeflate(const Bytes& in) {
    z_stream zs{};
    EXPECT_EQ(deflateInit2(&zs, 9, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY), Z_OK);
    Bytes out(deflateBound(&zs, static_cast<uLong>(in.size())) + 16);
    zs.next_in = const_cast<Bytes::value_type*>(in.data());
    zs.avail_in = static_cast<uInt>(in.size());
    zs.next_out = out.data();
    zs.avail_out = static_cast<uInt>(out.size());
    EXPECT_EQ(deflate(&zs, Z_FINISH), Z_STREAM_END);
    out.resize(zs.total_out);
    deflateEnd(&zs);
    return out;
}

// Deterministic text with Japanese and ASCII lines (compresses well).
inline Bytes sampleText(size_t n, unsigned seed) {
    static const char* words[] = {"archive ", "\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e ", "deflate ", "text\n",
                                  "\xe3\x83\x86\xe3\x82\xb9\xe3\x83\x88 ", "0123 "};
    Bytes out;
    uint32_t x = seed * 2654435761u + 1;
    while (out.size() < n) {
        x = x * 1103515245u + 12345u;
        const char* w = words[(x >> 16) % 6];
        out.insert(out.end(), w, w + std::char_traits<char>::length(w));
    }
    out.resize(n);
    return out;
}

// Deterministic bytes that do not compress.
inline Bytes sampleNoise(size_t n, unsigned seed) {
    Bytes out(n);
    uint32_t x = seed + 0x9E3779B9u;
    for (auto& b : out) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        b = static_cast<uint8_t>(x);
    }
    return out;
}

// Hand-assembled archive. Records where each structure landed so tests can
// damage one field at a time.
struct ZipWriter {
    struct Item {
        Bytes name;                // raw header bytes
        Bytes data;                // uncompressed
        uint16_t method = 8;       // 0 stored, 8 deflate
        uint16_t flags = 0;
        Bytes centralExtra;
        uint16_t madeBy = 0x0014;  // host FAT
        uint32_t external = 0x20;
        bool zip64Sizes = false;   // central sizes saturated, real ones in a ZIP64 extra
        Bytes packed;              // stored as the member's data when set (any method)
    };
    std::vector<Item> items;
    Bytes prefix;  // stub bytes before the archive; offsets count from the archive start
    bool zip64End = false;  // ZIP64 end record and locator, saturated end record
    Bytes comment;

    Bytes out;
    std::vector<size_t> local, central;
    size_t cdStart = 0, endPos = 0, end64Pos = 0, locatorPos = 0;

    Item& add(const std::string& name, const Bytes& data, uint16_t method = 8) {
        Item it;
        it.name = bytesOf(name);
        it.data = data;
        it.method = method;
        items.push_back(std::move(it));
        return items.back();
    }

    const Bytes& build() {
        out = prefix;
        local.clear();
        central.clear();
        const size_t base = prefix.size();
        std::vector<Bytes> packed;
        for (auto& it : items) {
            Bytes p = !it.packed.empty() ? it.packed : it.method == 8 ? rawDeflate(it.data) : it.data;
            local.push_back(out.size());
            add32(out, 0x04034b50);
            add16(out, 20);
            add16(out, it.flags);
            add16(out, it.method);
            add16(out, 0x6000);
            add16(out, 0x5A21);
            add32(out, crcOf(it.data));
            add32(out, static_cast<uint32_t>(p.size()));
            add32(out, static_cast<uint32_t>(it.data.size()));
            add16(out, static_cast<uint16_t>(it.name.size()));
            add16(out, 0);
            addBytes(out, it.name);
            addBytes(out, p);
            packed.push_back(std::move(p));
        }
        cdStart = out.size();
        for (size_t i = 0; i < items.size(); ++i) {
            const Item& it = items[i];
            central.push_back(out.size());
            add32(out, 0x02014b50);
            add16(out, it.madeBy);
            add16(out, 20);
            add16(out, it.flags);
            add16(out, it.method);
            add16(out, 0x6000);
            add16(out, 0x5A21);
            add32(out, crcOf(it.data));
            Bytes extra = it.centralExtra;
            if (it.zip64Sizes) {
                add32(out, 0xFFFFFFFF);
                add32(out, 0xFFFFFFFF);
                add16(extra, 0x0001);
                add16(extra, 16);
                add64(extra, it.data.size());
                add64(extra, packed[i].size());
            } else {
                add32(out, static_cast<uint32_t>(packed[i].size()));
                add32(out, static_cast<uint32_t>(it.data.size()));
            }
            add16(out, static_cast<uint16_t>(it.name.size()));
            add16(out, static_cast<uint16_t>(extra.size()));
            add16(out, 0);
            add16(out, 0);
            add16(out, 0);
            add32(out, it.external);
            add32(out, static_cast<uint32_t>(local[i] - base));
            addBytes(out, it.name);
            addBytes(out, extra);
        }
        const size_t cdEnd = out.size();
        if (zip64End) {
            end64Pos = out.size();
            add32(out, 0x06064b50);
            add64(out, 44);
            add16(out, 45);
            add16(out, 45);
            add32(out, 0);
            add32(out, 0);
            add64(out, items.size());
            add64(out, items.size());
            add64(out, cdEnd - cdStart);
            add64(out, cdStart - base);
            locatorPos = out.size();
            add32(out, 0x07064b50);
            add32(out, 0);
            add64(out, end64Pos - base);
            add32(out, 1);
        }
        endPos = out.size();
        add32(out, 0x06054b50);
        add16(out, 0);
        add16(out, 0);
        // Plain end records hold the count modulo 65536, as many writers do.
        add16(out, zip64End ? 0xFFFF : static_cast<uint16_t>(items.size()));
        add16(out, zip64End ? 0xFFFF : static_cast<uint16_t>(items.size()));
        add32(out, zip64End ? 0xFFFFFFFF : static_cast<uint32_t>(cdEnd - cdStart));
        add32(out, zip64End ? 0xFFFFFFFF : static_cast<uint32_t>(cdStart - base));
        add16(out, static_cast<uint16_t>(comment.size()));
        addBytes(out, comment);
        return out;
    }
};

// An archive opened from memory together with what it needs to stay alive.
struct Opened {
    Bytes bytes;
    std::unique_ptr<arc::MemorySource> src;
    std::unique_ptr<arc::Archive> archive;
    arc::Status status = arc::Status::Ok;
};

inline std::unique_ptr<Opened> openBytes(Bytes bytes) {
    auto o = std::make_unique<Opened>();
    o->bytes = std::move(bytes);
    o->src = std::make_unique<arc::MemorySource>(o->bytes);
    o->archive = arc::openZip(*o->src, &o->status);
    return o;
}

inline bool hasTool(const std::string& name) {
    return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

// Runs a shell command with its own output discarded (redirections inside
// the command still apply).
inline int run(const std::string& cmd) { return std::system(("( " + cmd + " ) >/dev/null 2>&1").c_str()); }

inline std::string quote(const std::filesystem::path& p) { return "'" + p.string() + "'"; }

inline void writeFile(const std::filesystem::path& p, const Bytes& data) {
    std::filesystem::create_directories(p.parent_path());
    std::ofstream f(p, std::ios::binary);
    f.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
}

// A fresh folder under the system temporary folder, removed afterwards.
class TempDir {
public:
    TempDir() {
        std::string tmpl = (std::filesystem::temp_directory_path() / "quibex-zip-XXXXXX").string();
        if (mkdtemp(tmpl.data())) path_ = tmpl;
    }
    ~TempDir() {
        std::error_code ec;
        if (!path_.empty()) std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

}  // namespace ziptest
