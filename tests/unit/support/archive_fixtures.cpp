#include "archive_fixtures.h"

#include <cstring>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace fixtures {

std::string testdataDir() {
    struct stat st {};
    std::string dir = QUIBEX_TESTDATA;
    return ::stat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode) ? dir : std::string();
}

namespace {
std::vector<std::vector<std::string>> readTsv(const std::string& path) {
    std::vector<std::vector<std::string>> rows;
    std::ifstream in(path);
    std::string line;
    bool header = true;
    while (std::getline(in, line)) {
        if (header) {
            header = false;
            continue;
        }
        std::vector<std::string> cols;
        std::stringstream ss(line);
        std::string col;
        while (std::getline(ss, col, '\t')) cols.push_back(col);
        rows.push_back(cols);
    }
    return rows;
}
}  // namespace

const std::map<std::string, std::vector<ExpectedFile>>& expectedFiles() {
    static const auto table = [] {
        std::map<std::string, std::vector<ExpectedFile>> t;
        if (testdataDir().empty()) return t;
        for (auto& r : readTsv(testdataDir() + "/expected.tsv")) {
            // Symbolic links are listed with "symlink" instead of a size; they carry no data.
            if (r.size() < 4 || r[2].empty() || r[2].find_first_not_of("0123456789") != std::string::npos) continue;
            t[r[0]].push_back({r[1], std::stoull(r[2]), r[3]});
        }
        return t;
    }();
    return table;
}

const std::vector<ManifestRow>& manifest() {
    static const auto rows = [] {
        std::vector<ManifestRow> out;
        if (testdataDir().empty()) return out;
        for (auto& r : readTsv(testdataDir() + "/manifest.tsv"))
            if (r.size() >= 6) out.push_back({r[0], r[1], r[2], r[3], r[4], r[5] == "yes"});
        return out;
    }();
    return rows;
}

std::vector<uint8_t> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// MD5 (RFC 1321), only to compare decoded data with the oracle's digests.
std::string md5Hex(const std::vector<uint8_t>& data) {
    static const uint32_t K[64] = {
        0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
        0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
        0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
        0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
        0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
        0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
        0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
        0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391};
    static const int R[64] = {7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22, 5, 9,  14, 20, 5, 9,
                              14, 20, 5, 9,  14, 20, 5, 9,  14, 20, 4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23,
                              4, 11, 16, 23, 6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21};
    std::vector<uint8_t> msg = data;
    uint64_t bits = static_cast<uint64_t>(data.size()) * 8;
    msg.push_back(0x80);
    while (msg.size() % 64 != 56) msg.push_back(0);
    for (int i = 0; i < 8; ++i) msg.push_back(static_cast<uint8_t>(bits >> (8 * i)));
    uint32_t h[4] = {0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476};
    for (size_t off = 0; off < msg.size(); off += 64) {
        uint32_t w[16];
        for (int i = 0; i < 16; ++i)
            w[i] = msg[off + 4 * i] | (msg[off + 4 * i + 1] << 8) | (msg[off + 4 * i + 2] << 16) |
                   (static_cast<uint32_t>(msg[off + 4 * i + 3]) << 24);
        uint32_t a = h[0], b = h[1], c = h[2], d = h[3];
        for (int i = 0; i < 64; ++i) {
            uint32_t f;
            int g;
            if (i < 16) f = (b & c) | (~b & d), g = i;
            else if (i < 32) f = (d & b) | (~d & c), g = (5 * i + 1) % 16;
            else if (i < 48) f = b ^ c ^ d, g = (3 * i + 5) % 16;
            else f = c ^ (b | ~d), g = (7 * i) % 16;
            uint32_t t = d;
            d = c;
            c = b;
            uint32_t x = a + f + K[i] + w[g];
            b = b + ((x << R[i]) | (x >> (32 - R[i])));
            a = t;
        }
        h[0] += a, h[1] += b, h[2] += c, h[3] += d;
    }
    static const char* hex = "0123456789abcdef";
    std::string out;
    for (uint32_t v : h)
        for (int i = 0; i < 4; ++i) {
            uint8_t byte = static_cast<uint8_t>(v >> (8 * i));
            out += hex[byte >> 4];
            out += hex[byte & 15];
        }
    return out;
}

arc::OutputSink* MemoryTarget::begin(size_t index) {
    results[index] = Result{};
    Sink& s = sinks_[index];
    s.out = &results[index].data;
    return &s;
}

void MemoryTarget::end(size_t index, arc::Status status) {
    results[index].status = status;
    results[index].ended = true;
}

arc::Status extractAll(arc::Archive& archive, MemoryTarget& target) {
    std::vector<bool> wanted;
    for (auto& m : archive.members()) wanted.push_back(!m.isFolder);
    return archive.extract(wanted, target);
}

}  // namespace fixtures
