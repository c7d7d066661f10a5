// Cabinet sets opened from any part: the previous parts are found by name
// back to the first one, so every part lists and extracts the whole set, in
// set order, each member once. Hostile sets (rings of names, foreign parts,
// names leaving the folder, endless chains) end in a clean status.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <set>

#include "cab_writer.h"
#include "folder_extract.h"
#include "support/archive_fixtures.h"
#include "zip_test_kit.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;
using Files = std::map<std::string, Bytes>;

Files folderFiles(const fs::path& dir) {
    Files out;
    if (fs::exists(dir))
        for (auto& e : fs::directory_iterator(dir))
            out[e.path().filename().string()] = fixtures::readFile(e.path().string());
    return out;
}

// What one part, opened alone, gives: the listing and the extraction.
struct Outcome {
    arc::Status status = arc::Status::Ok;
    std::vector<std::string> listed, written, missing;
    Files files;
};

Outcome openPart(const fs::path& part, const fs::path& out) {
    Outcome o;
    auto src = arc::openFileSource(part.string());
    auto archive = src ? arc::openCab(*src, &o.status, arc::partsBeside(part.string())) : nullptr;
    if (!archive) return o;
    for (const arc::Member& m : archive->members()) o.listed.push_back(m.name);
    arc::ExtractResult r = arc::extractToFolder(*archive, std::vector<bool>(o.listed.size(), true), out.string(), {});
    o.status = r.status;
    o.written = r.written;
    o.missing = archive->missingParts();
    o.files = folderFiles(out);
    return o;
}

bool eachOnce(const std::vector<std::string>& names) {
    return std::set<std::string>(names.begin(), names.end()).size() == names.size();
}

std::string realPart(int p) { return "cabd_multi_basic_pt" + std::to_string(p) + ".cab"; }

// The team's five-part set under the names its headers give. Every file
// crosses every part, so a missing part costs all of them: still listed
// once each, none written, the part named.
TEST(CabSetAnyPart, RealSetFromEveryPartAndWithAPartMissing) {
    if (fixtures::testdataDir().empty()) GTEST_SKIP() << "shared testdata not present";
    if (!ziptest::hasTool("cabextract")) GTEST_SKIP() << "cabextract missing";
    ziptest::TempDir tmp;
    for (int p = 1; p <= 5; ++p)
        ziptest::writeFile(
            tmp.path() / "set" / realPart(p),
            fixtures::readFile(fixtures::testdataDir() + "/cab/multi_basic_pt" + std::to_string(p) + ".cab"));
    ASSERT_EQ(ziptest::run("cd " + ziptest::quote(tmp.path() / "set") + " && cabextract -q -d ../peer " + realPart(1)),
              0);
    const Files peer = folderFiles(tmp.path() / "peer");
    ASSERT_EQ(peer.size(), 3u);
    const struct {
        int start, missing;  // missing 0: all parts there
    } cases[] = {{1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}, {3, 1}, {5, 2}, {2, 4}, {1, 5}, {4, 3}};
    std::vector<std::string> firstListing;
    for (const auto& c : cases) {
        SCOPED_TRACE("from part " + std::to_string(c.start) + " without part " + std::to_string(c.missing));
        const fs::path set = tmp.path() / ("set" + std::to_string(c.missing));
        if (!fs::exists(set)) fs::copy(tmp.path() / "set", set);
        if (c.missing) fs::remove(set / realPart(c.missing));
        Outcome o = openPart(set / realPart(c.start),
                             tmp.path() / ("out" + std::to_string(c.start) + std::to_string(c.missing)));
        if (firstListing.empty()) firstListing = o.listed;
        EXPECT_EQ(o.listed, firstListing);
        EXPECT_EQ(o.listed.size(), 3u);
        EXPECT_TRUE(eachOnce(o.listed));
        if (c.missing == 0) {
            EXPECT_EQ(o.status, arc::Status::Ok);
            EXPECT_EQ(o.files, peer);
            EXPECT_EQ(o.written, o.listed);  // listing and extraction agree, in set order
        } else {
            EXPECT_EQ(o.status, arc::Status::NotFindArcFile);
            EXPECT_EQ(o.missing, std::vector<std::string>{realPart(c.missing)});
            EXPECT_TRUE(o.files.empty());
        }
    }
}

std::vector<cabtest::FileEntry> fiveFiles() {
    std::vector<cabtest::FileEntry> files;
    const size_t sizes[] = {20000, 3000, 140000, 50000, 61000};
    for (size_t i = 0; i < 5; ++i)
        files.push_back(
            {"file" + std::to_string(i) + ".txt", ziptest::sampleText(sizes[i], static_cast<uint32_t>(70 + i))});
    return files;
}

const std::vector<std::string> kDisks = {"disk1.cab", "disk2.cab", "disk3.cab", "disk4.cab"};

// Four parts with one folder through all of them; `patch` changes parts.
fs::path writeFolderSet(const fs::path& dir, cabtest::Method method, bool splitBlocks,
                        const std::function<void(std::vector<Bytes>&)>& patch = {}) {
    cabtest::WriterOptions opt;
    opt.method = method;
    auto parts = cabtest::writeCabSet(fiveFiles(), opt, kDisks, splitBlocks);
    if (patch) patch(parts);
    for (size_t p = 0; p < parts.size(); ++p) ziptest::writeFile(dir / kDisks[p], parts[p]);
    return dir / "disk1.cab";
}

TEST(CabSetAnyPart, EveryPartOfAWrittenSetGivesTheWholeSet) {
    const struct {
        cabtest::Method method;
        bool splitBlocks;
    } cases[] = {{cabtest::Method::Lzx, true}, {cabtest::Method::Mszip, false}, {cabtest::Method::None, true}};
    const auto files = fiveFiles();
    std::vector<std::string> names;
    for (const auto& f : files) names.push_back(f.name);
    for (const auto& c : cases) {
        ziptest::TempDir tmp;
        writeFolderSet(tmp.path() / "set", c.method, c.splitBlocks);
        for (const std::string& start : kDisks) {
            SCOPED_TRACE("method " + std::to_string(int(c.method)) + ", opened from " + start);
            Outcome o = openPart(tmp.path() / "set" / start, tmp.path() / ("out-" + start));
            EXPECT_EQ(o.status, arc::Status::Ok);
            EXPECT_EQ(o.listed, names);
            EXPECT_EQ(o.written, names);
            for (const auto& f : files) EXPECT_TRUE(o.files[f.name] == f.data) << f.name;
        }
    }
}

// Parts named "disk1.cab"... with honest headers, for hostile cases to change.
std::vector<cabtest::SetHeader> chainHeaders(size_t n) {
    std::vector<cabtest::SetHeader> h(n);
    for (size_t p = 0; p < n; ++p) {
        h[p].index = static_cast<uint16_t>(p);
        h[p].hasPrevious = p > 0, h[p].hasNext = p + 1 < n;
        h[p].previous = "disk" + std::to_string(p) + ".cab";
        h[p].next = "disk" + std::to_string(p + 2) + ".cab";
    }
    return h;
}

// Three parts of a set that breaks between folders, each holding a.txt,
// b.txt, c.txt whole: a part that is missing or does not fit costs only its own.
void writeChain(const fs::path& dir, const std::vector<cabtest::SetHeader>& headers) {
    cabtest::WriterOptions opt;
    opt.method = cabtest::Method::Mszip;
    for (size_t p = 0; p < headers.size(); ++p)
        ziptest::writeFile(dir / kDisks[p], cabtest::writeCabPart({{std::string(1, char('a' + p)) + ".txt",
                                                                    ziptest::sampleText(5000, 90 + unsigned(p))}},
                                                                  opt, headers[p]));
}

std::function<fs::path(const fs::path&)> chain(const std::function<void(std::vector<cabtest::SetHeader>&)>& change,
                                               const char* start) {
    return [=](const fs::path& d) {
        auto h = chainHeaders(3);
        change(h);
        writeChain(d, h);
        return d / start;
    };
}

// A stored folder through three parts: one large file, then small ones, so
// that files starting in the second part lie at offsets its own blocks
// would reach if they were (wrongly) counted from there.
void writeSmallFilesSet(const fs::path& dir) {
    std::vector<cabtest::FileEntry> files = {{"big.txt", ziptest::sampleText(60000, 1)}};
    for (int i = 0; i < 17; ++i)
        files.push_back({"s" + std::to_string(i) + ".txt", ziptest::sampleText(8000, 100 + i)});
    cabtest::WriterOptions opt;
    opt.method = cabtest::Method::None;
    const auto parts = cabtest::writeCabSet(files, opt, {kDisks[0], kDisks[1], kDisks[2]}, false);
    for (size_t p = 0; p < parts.size(); ++p) ziptest::writeFile(dir / kDisks[p], parts[p]);
}

struct Expected {
    arc::Status status;
    std::vector<std::string> written;  // complete members, in set order
    std::vector<std::string> missing;
    size_t listed;
};
struct HostileCase {
    const char* fault;
    std::function<fs::path(const fs::path& dir)> make;  // writes the parts, returns the one opened
    Expected want;
};

TEST(CabSetAnyPart, HostileSetsEndCleanly) {
    using H = std::vector<cabtest::SetHeader>;
    const HostileCase cases[] = {
        {"missing-first-part",
         [](const fs::path& d) {
             writeChain(d, chainHeaders(3));
             fs::remove(d / "disk1.cab");
             return d / "disk3.cab";
         },
         {arc::Status::Ok, {"b.txt", "c.txt"}, {"disk1.cab"}, 2}},
        {"ring-of-names: first names the last as previous, last the first as next",
         chain(
             [](H& h) {
                 h[0].hasPrevious = true, h[0].previous = "disk3.cab", h[2].hasNext = true, h[2].next = "disk1.cab";
             },
             "disk2.cab"),
         {arc::Status::Ok, {"a.txt", "b.txt", "c.txt"}, {"disk3.cab", "disk1.cab"}, 3}},
        {"part-names-itself",
         chain([](H& h) { h[1].previous = h[1].next = "disk2.cab"; }, "disk2.cab"),
         {arc::Status::Ok, {"b.txt"}, {"disk2.cab", "disk2.cab"}, 1}},
        {"foreign-set-id",
         chain([](H& h) { h[0].setId = 0x7777; }, "disk3.cab"),
         {arc::Status::Ok, {"b.txt", "c.txt"}, {"disk1.cab"}, 2}},
        {"index-out-of-turn",
         chain([](H& h) { h[0].index = 5; }, "disk2.cab"),
         {arc::Status::Ok, {"b.txt", "c.txt"}, {"disk1.cab"}, 2}},
        {"previous-name-leaves-the-folder (a copy lies there and beside)",
         [](const fs::path& d) {
             chain([](H& h) { h[1].previous = "../other/disk1.cab"; }, "disk2.cab")(d);
             ziptest::writeFile(d / "../other/disk1.cab", fixtures::readFile((d / "disk1.cab").string()));
             return d / "disk2.cab";
         },
         {arc::Status::Ok, {"b.txt", "c.txt"}, {"../other/disk1.cab"}, 2}},
        {"missing-middle-part: members needing it fail, those wholly before it come whole",
         [](const fs::path& d) {
             fs::path first = writeFolderSet(d, cabtest::Method::Lzx, true);
             fs::remove(d / "disk3.cab");
             return first;
         },
         {arc::Status::NotFindArcFile, {"file0.txt", "file1.txt"}, {"disk3.cab"}, 3}},
        {"missing-first-part of one folder: nothing of it can be decoded",
         [](const fs::path& d) {
             writeFolderSet(d, cabtest::Method::Lzx, true);
             fs::remove(d / "disk1.cab");
             return d / "disk3.cab";
         },
         {arc::Status::NotFindArcFile, {}, {"disk1.cab"}, 3}},
        {"missing-first-part of a stored folder: no file starting later is written from wrong offsets",
         [](const fs::path& d) {
             writeSmallFilesSet(d);
             fs::remove(d / "disk1.cab");
             return d / "disk3.cab";
         },
         {arc::Status::NotFindArcFile, {}, {"disk1.cab"}, 17}},
        {"continued-entry-renamed in the second part",
         [](const fs::path& d) {
             return writeFolderSet(d, cabtest::Method::Lzx, true, [](std::vector<Bytes>& parts) {
                 const std::string name = "file2.txt";
                 *(std::search(parts[1].begin(), parts[1].end(), name.begin(), name.end()) + 4) = 'X';
             });
         },
         {arc::Status::NotFindArcFile, {"file0.txt", "file1.txt"}, {"disk2.cab"}, 3}},
        {"compression-differs across the boundary",
         [](const fs::path& d) {
             return writeFolderSet(d, cabtest::Method::Lzx, true, [](std::vector<Bytes>& parts) {
                 cabtest::WriterOptions opt;
                 opt.method = cabtest::Method::Mszip;
                 parts[1] = cabtest::writeCabSet(fiveFiles(), opt, kDisks, true)[1];
             });
         },
         {arc::Status::NotFindArcFile, {"file0.txt", "file1.txt"}, {"disk2.cab"}, 3}},
    };
    for (const HostileCase& c : cases) {
        SCOPED_TRACE(c.fault);
        ziptest::TempDir tmp;
        Outcome o = openPart(c.make(tmp.path() / "set"), tmp.path() / "out");
        EXPECT_EQ(o.status, c.want.status);
        EXPECT_EQ(o.written, c.want.written);
        EXPECT_EQ(o.files.size(), c.want.written.size());  // no partial file left
        EXPECT_EQ(o.missing, c.want.missing);
        EXPECT_EQ(o.listed.size(), c.want.listed);
        EXPECT_TRUE(eachOnce(o.listed));
    }
}

// A chain of more parts than any real set has ends at a bound, whichever
// part it is opened from, and names where it stopped.
TEST(CabSetAnyPart, EndlessChainIsBounded) {
    ziptest::TempDir tmp;
    cabtest::WriterOptions opt;
    opt.method = cabtest::Method::None;
    for (size_t p = 0; p < 300; ++p) {
        cabtest::SetHeader h;
        h.index = static_cast<uint16_t>(p);
        h.hasPrevious = p > 0, h.previous = "p" + std::to_string(p - 1) + ".cab";
        h.hasNext = p + 1 < 300, h.next = "p" + std::to_string(p + 1) + ".cab";
        ziptest::writeFile(tmp.path() / ("p" + std::to_string(p) + ".cab"),
                           cabtest::writeCabPart({{"f" + std::to_string(p), {uint8_t(p)}}}, opt, h));
    }
    for (const char* start : {"p0.cab", "p150.cab", "p299.cab"}) {
        SCOPED_TRACE(start);
        Outcome o = openPart(tmp.path() / start, tmp.path() / "out" / start);
        EXPECT_EQ(o.listed.size(), 256u);
        EXPECT_EQ(o.missing.size(), 1u);
    }
}

// Only a plain file name in the archive's own folder is opened as a part.
TEST(CabSetAnyPart, PartNamesOutsideTheFolderOrOfDevicesAreNotOpened) {
    ziptest::TempDir tmp;
    for (const char* name : {"set/disk2.cab", "set/CON", "set/com1.cab", "set/x.cab.", "other/disk2.cab"})
        ziptest::writeFile(tmp.path() / name, {'M', 'S', 'C', 'F'});
    const arc::PartOpener parts = arc::partsBeside((tmp.path() / "set" / "disk1.cab").string());
    const struct {
        const char* stored;
        bool opened;
    } cases[] = {{"disk2.cab", true},
                 {"DISK2.CAB", true},
                 {"../other/disk2.cab", false},
                 {"C:disk2.cab", false},
                 {"..\\set\\disk2.cab", false},
                 {"CON", false},
                 {"com1.cab", false},
                 {"x.cab.", false},
                 {"..", false},
                 {"", false}};
    for (const auto& c : cases) EXPECT_EQ(parts(c.stored) != nullptr, c.opened) << '"' << c.stored << '"';
}

}  // namespace
