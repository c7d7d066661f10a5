// The shared real archives: every LZH archive the reference tool extracted
// must decode to the same bytes; the rest must fail cleanly.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>

#include "archive.h"
#include "support/archive_fixtures.h"

namespace {

// expected.tsv rows of LZH archives (symbolic-link rows, which carry no
// file data, are already left out by the fixture).
std::map<std::string, std::vector<fixtures::ExpectedFile>> lzhExpected() {
    std::map<std::string, std::vector<fixtures::ExpectedFile>> out;
    for (auto& [archive, rows] : fixtures::expectedFiles())
        if (archive.rfind("lzh/", 0) == 0) out[archive] = rows;
    return out;
}

// The reference tool resolves '.' and '..', drops a leading '/', and turns
// all-capital DOS names into lower case before writing; compare on the same
// footing (case-insensitively, as Windows does).
std::string comparable(const std::string& name) {
    std::vector<std::string> parts;
    std::string part;
    std::stringstream ss(name);
    while (std::getline(ss, part, '/')) {
        if (part.empty() || part == ".") continue;
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
            continue;
        }
        parts.push_back(part);
    }
    std::string out;
    for (auto& p : parts) out += (out.empty() ? "" : "/") + p;
    for (auto& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

struct DecodedFile {
    std::string method;
    arc::Status status;
    std::vector<uint8_t> data;
};
struct Decoded {
    arc::Status open = arc::Status::Ok, extract = arc::Status::Ok;
    std::map<std::string, DecodedFile> files;
};

Decoded decodeFile(const std::string& path) {
    Decoded d;
    std::unique_ptr<arc::ByteSource> src = arc::openFileSource(path);
    if (!src) {
        d.open = arc::Status::ArcFileOpen;
        return d;
    }
    auto archive = arc::openLzh(*src, &d.open);
    if (!archive) return d;
    fixtures::MemoryTarget target;
    d.extract = fixtures::extractAll(*archive, target);
    for (auto& [index, r] : target.results)
        d.files[comparable(archive->members()[index].name)] = {archive->members()[index].method, r.status, r.data};
    return d;
}

TEST(LzhTestdata, EveryExtractedArchiveMatchesTheOracle) {
    if (fixtures::testdataDir().empty()) GTEST_SKIP() << "no shared testdata";
    auto expected = lzhExpected();
    ASSERT_GT(expected.size(), 100u);
    size_t archivesOk = 0, filesOk = 0, pmarc = 0;
    for (auto& [archive, rows] : expected) {
        Decoded d = decodeFile(fixtures::testdataDir() + "/" + archive);
        ASSERT_EQ(d.open, arc::Status::Ok) << archive;
        bool allOk = true;
        for (auto& row : rows) {
            auto it = d.files.find(comparable(row.member));
            if (it == d.files.end()) {
                ADD_FAILURE() << archive << ": no member " << row.member;
                allOk = false;
                continue;
            }
            auto [method, status, data] = it->second;
            pmarc += method.rfind("-pm", 0) == 0;
            EXPECT_EQ(status, arc::Status::Ok) << archive << " " << row.member;
            EXPECT_EQ(data.size(), row.size) << archive << " " << row.member;
            EXPECT_EQ(fixtures::md5Hex(data), row.md5) << archive << " " << row.member;
            bool good = status == arc::Status::Ok && data.size() == row.size && fixtures::md5Hex(data) == row.md5;
            filesOk += good;
            allOk = allOk && good;
        }
        archivesOk += allOk;
    }
    std::cout << "[ lzh ] " << archivesOk << "/" << expected.size() << " archives, " << filesOk
              << " files match (" << pmarc << " of them PMarc)\n";
    // PMarc (-pm0-, -pm1-, -pm2-, CP/M padding and a self-extracting stub
    // among them): 7 archives, 38 files.
    EXPECT_GE(pmarc, 38u);
    EXPECT_EQ(archivesOk, expected.size());
}

// Archives meant to be broken, and those the reference tool could not
// extract: each must end in a clean error for its members (or be refused at
// open), never in a crash or a hang.
TEST(LzhTestdata, BrokenAndUnextractedArchivesFailCleanly) {
    if (fixtures::testdataDir().empty()) GTEST_SKIP() << "no shared testdata";
    auto expected = lzhExpected();
    std::set<std::string> withSymlinksOnly;
    size_t checked = 0;
    for (auto& row : fixtures::manifest()) {
        if (row.archive.rfind("lzh/", 0) != 0) continue;
        if (!row.broken && expected.count(row.archive)) continue;
        // Symbolic links only (no file rows): nothing to extract, and nothing may fail.
        if (!row.broken && row.notes.find("symlink") != std::string::npos) continue;
        Decoded d = decodeFile(fixtures::testdataDir() + "/" + row.archive);
        bool refused = d.open != arc::Status::Ok;
        bool memberFailed = false;
        for (auto& [name, f] : d.files) memberFailed = memberFailed || f.status != arc::Status::Ok;
        EXPECT_TRUE(refused || (d.extract != arc::Status::Ok && memberFailed)) << row.archive;
        std::cout << "[ lzh ] " << row.archive << ": open " << std::hex << static_cast<int>(d.open) << " extract "
                  << static_cast<int>(d.extract) << std::dec << "\n";
        ++checked;
    }
    EXPECT_GE(checked, 3u);
}

}  // namespace
