// Header fields against the peer tool's decoding of the same archives
// (testdata/lzh-headers): member count and order, method, sizes, CRC-16,
// OS and name, for every archive the oracle covers.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "archive.h"
#include "support/archive_fixtures.h"

namespace {

namespace fs = std::filesystem;

using Record = std::map<std::string, std::string>;

std::vector<Record> readRecords(const fs::path& p) {
    std::vector<Record> out(1);
    std::ifstream in(p);
    std::string line;
    while (std::getline(in, line)) {
        if (line == "--") {
            out.emplace_back();
            continue;
        }
        auto colon = line.find(": ");
        if (colon != std::string::npos) out.back()[line.substr(0, colon)] = line.substr(colon + 2);
    }
    if (out.back().empty()) out.pop_back();
    return out;
}

std::string folded(std::string s) {
    while (!s.empty() && s.back() == '/') s.pop_back();
    for (auto& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

TEST(LzhHeaderOracle, FieldsMatchThePeerToolsReading) {
    if (fixtures::testdataDir().empty()) GTEST_SKIP() << "no shared testdata";
    const fs::path root = fs::path(fixtures::testdataDir()) / "lzh-headers";
    if (!fs::is_directory(root)) GTEST_SKIP() << "no header oracle";
    size_t archives = 0, records = 0;
    for (auto& entry : fs::recursive_directory_iterator(root)) {
        std::string file = entry.path().filename().string();
        if (!entry.is_regular_file() || file.size() < 8 || file.substr(file.size() - 8) != "-hdr.txt") continue;
        fs::path rel = fs::relative(entry.path(), root);
        fs::path archivePath = fs::path(fixtures::testdataDir()) / "lzh" / rel.parent_path() /
                               file.substr(0, file.size() - 8);
        std::vector<Record> want = readRecords(entry.path());
        auto src = arc::openFileSource(archivePath.string());
        ASSERT_TRUE(src) << archivePath;
        arc::Status st;
        auto archive = arc::openLzh(*src, &st);
        ASSERT_TRUE(archive) << rel << " status " << std::hex << static_cast<int>(st);
        const auto& got = archive->members();
        EXPECT_EQ(got.size(), want.size()) << rel;
        if (got.size() != want.size()) continue;
        for (size_t i = 0; i < want.size(); ++i) {
            const Record& r = want[i];
            const arc::Member& m = got[i];
            std::string method = r.at("compress_method");
            if (method == "-lk7-") method = "-lh7-";  // LHARK: same label in the file
            EXPECT_EQ(m.method, method) << rel << " #" << i;
            EXPECT_EQ(m.packedSize, std::stoull(r.at("compressed_length"))) << rel << " #" << i;
            EXPECT_EQ(m.size, std::stoull(r.at("length"))) << rel << " #" << i;
            EXPECT_EQ(m.crc, std::stoul(r.at("crc"), nullptr, 16)) << rel << " #" << i;
            std::string name = r.count("path") ? r.at("path") : "";
            if (r.count("filename")) name += r.at("filename");
            EXPECT_EQ(folded(m.name), folded(name)) << rel << " #" << i;
            ++records;
        }
        ++archives;
    }
    std::cout << "[ lzh ] header oracle: " << archives << " archives, " << records << " members\n";
    EXPECT_GT(archives, 100u);
}

}  // namespace
