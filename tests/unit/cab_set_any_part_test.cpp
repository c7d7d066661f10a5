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

// What one part, opened alone, gives: the listing and the extraction.
struct Outcome {
    arc::Status status = arc::Status::Ok;
    std::vector<std::string> listed;
    std::vector<std::string> written;
    std::vector<std::string> missing;
    std::map<std::string, Bytes> files;
};

Outcome openPart(const fs::path& part, const fs::path& out) {
    Outcome o;
    auto src = arc::openFileSource(part.string());
    if (!src) {
        o.status = arc::Status::ArcFileOpen;
        return o;
    }
    auto archive = arc::openCab(*src, &o.status, arc::partsBeside(part.string()));
    if (!archive) return o;
    for (const arc::Member& m : archive->members()) o.listed.push_back(m.name);
    arc::ExtractResult r =
        arc::extractToFolder(*archive, std::vector<bool>(o.listed.size(), true), out.string(), {});
    o.status = r.status;
    o.written = r.written;
    o.missing = archive->missingParts();
    if (fs::exists(out))
        for (auto& e : fs::directory_iterator(out)) o.files[e.path().filename().string()] = fixtures::readFile(e.path().string());
    return o;
}

bool eachOnce(const std::vector<std::string>& names) {
    return std::set<std::string>(names.begin(), names.end()).size() == names.size();
}

// The team's five-part set, copied under the names its headers give.
fs::path copyRealSet(const fs::path& dir) {
    fs::create_directories(dir);
    for (int p = 1; p <= 5; ++p)
        fs::copy_file(fixtures::testdataDir() + "/cab/multi_basic_pt" + std::to_string(p) + ".cab",
                      dir / ("cabd_multi_basic_pt" + std::to_string(p) + ".cab"));
    return dir;
}

std::string realPart(int p) { return "cabd_multi_basic_pt" + std::to_string(p) + ".cab"; }

TEST(CabSetAnyPart, EveryPartOfTheRealSetGivesTheWholeSet) {
    if (fixtures::testdataDir().empty()) GTEST_SKIP() << "shared testdata not present";
    if (!ziptest::hasTool("cabextract")) GTEST_SKIP() << "cabextract missing";
    ziptest::TempDir tmp;
    const fs::path set = copyRealSet(tmp.path() / "set");
    ASSERT_EQ(ziptest::run("cd " + ziptest::quote(set) + " && cabextract -q -d ../peer " + realPart(1)), 0);
    std::map<std::string, Bytes> peer;
    for (auto& e : fs::directory_iterator(tmp.path() / "peer"))
        peer[e.path().filename().string()] = fixtures::readFile(e.path().string());
    ASSERT_EQ(peer.size(), 3u);
    std::vector<std::string> firstListing;
    for (int start = 1; start <= 5; ++start) {
        SCOPED_TRACE("opened from part " + std::to_string(start));
        Outcome o = openPart(set / realPart(start), tmp.path() / ("out" + std::to_string(start)));
        EXPECT_EQ(o.status, arc::Status::Ok);
        EXPECT_EQ(o.files, peer);
        EXPECT_TRUE(eachOnce(o.listed));
        EXPECT_EQ(o.written, o.listed);  // listing and extraction agree, in set order
        if (start == 1) firstListing = o.listed;
        EXPECT_EQ(o.listed, firstListing);
    }
}

// Every file of the real set crosses every part, so a missing part costs
// all of them: listed once each, none written, the part named.
TEST(CabSetAnyPart, RealSetWithAMissingPartNamesIt) {
    if (fixtures::testdataDir().empty()) GTEST_SKIP() << "shared testdata not present";
    const struct {
        int start, missing;
    } cases[] = {{3, 1}, {5, 2}, {2, 4}, {1, 5}, {4, 3}};
    for (const auto& c : cases) {
        SCOPED_TRACE("from part " + std::to_string(c.start) + " without part " + std::to_string(c.missing));
        ziptest::TempDir tmp;
        const fs::path set = copyRealSet(tmp.path() / "set");
        fs::remove(set / realPart(c.missing));
        Outcome o = openPart(set / realPart(c.start), tmp.path() / "out");
        EXPECT_EQ(o.status, arc::Status::NotFindArcFile);
        EXPECT_EQ(o.missing, std::vector<std::string>{realPart(c.missing)});
        EXPECT_EQ(o.listed.size(), 3u);
        EXPECT_TRUE(eachOnce(o.listed));
        EXPECT_TRUE(o.files.empty());
    }
}

std::vector<cabtest::FileEntry> fiveFiles() {
    std::vector<cabtest::FileEntry> files;
    const size_t sizes[] = {20000, 3000, 140000, 50000, 61000};
    for (size_t i = 0; i < 5; ++i)
        files.push_back({"file" + std::to_string(i) + ".txt", ziptest::sampleText(sizes[i], static_cast<uint32_t>(70 + i))});
    return files;
}

std::vector<std::string> namesOf(const std::vector<cabtest::FileEntry>& files) {
    std::vector<std::string> names;
    for (const auto& f : files) names.push_back(f.name);
    return names;
}

TEST(CabSetAnyPart, EveryPartOfAWrittenSetGivesTheWholeSet) {
    const struct {
        const char* label;
        cabtest::Method method;
        bool splitBlocks;
    } cases[] = {{"lzx, blocks split across parts", cabtest::Method::Lzx, true},
                 {"mszip, parts end on block ends", cabtest::Method::Mszip, false},
                 {"stored, blocks split across parts", cabtest::Method::None, true}};
    const auto files = fiveFiles();
    for (const auto& c : cases) {
        cabtest::WriterOptions opt;
        opt.method = c.method;
        const std::vector<std::string> names = {"disk1.cab", "disk2.cab", "disk3.cab", "disk4.cab"};
        const auto parts = cabtest::writeCabSet(files, opt, names, c.splitBlocks);
        ziptest::TempDir tmp;
        for (size_t p = 0; p < parts.size(); ++p) ziptest::writeFile(tmp.path() / "set" / names[p], parts[p]);
        for (const std::string& start : names) {
            SCOPED_TRACE(std::string(c.label) + ", opened from " + start);
            Outcome o = openPart(tmp.path() / "set" / start, tmp.path() / ("out-" + start));
            EXPECT_EQ(o.status, arc::Status::Ok);
            EXPECT_EQ(o.listed, namesOf(files));
            EXPECT_EQ(o.written, namesOf(files));
            for (const auto& f : files) EXPECT_TRUE(o.files[f.name] == f.data) << f.name;
        }
    }
}

// A hostile set: parts written into `dir`, the part the user opens, and
// what must come out.
struct HostileCase {
    const char* fault;
    std::function<fs::path(const fs::path& dir)> make;
    arc::Status status;
    std::vector<std::string> written;  // complete members, in set order
    std::vector<std::string> missing;
    size_t listed;
};

// Three cabinets of one set that break between folders: each holds one file
// whole, so a part that is missing or does not fit costs only its own.
std::vector<cabtest::SetHeader> chainHeaders(size_t n) {
    std::vector<cabtest::SetHeader> h(n);
    for (size_t p = 0; p < n; ++p) {
        h[p].index = static_cast<uint16_t>(p);
        h[p].hasPrevious = p > 0;
        h[p].hasNext = p + 1 < n;
        if (p > 0) h[p].previous = "disk" + std::to_string(p) + ".cab";
        if (p + 1 < n) h[p].next = "disk" + std::to_string(p + 2) + ".cab";
    }
    return h;
}

void writeChain(const fs::path& dir, const std::vector<cabtest::SetHeader>& headers) {
    cabtest::WriterOptions opt;
    opt.method = cabtest::Method::Mszip;
    for (size_t p = 0; p < headers.size(); ++p) {
        const std::string letter(1, static_cast<char>('a' + p));
        ziptest::writeFile(dir / ("disk" + std::to_string(p + 1) + ".cab"),
                           cabtest::writeCabPart({{letter + ".txt", ziptest::sampleText(5000, 90 + p)}}, opt, headers[p]));
    }
}

// The four-part set with one folder through all parts; `patch` changes a part.
fs::path writeFolderSet(const fs::path& dir, const std::function<void(std::vector<Bytes>&)>& patch = {}) {
    cabtest::WriterOptions opt;
    opt.method = cabtest::Method::Lzx;
    const std::vector<std::string> names = {"disk1.cab", "disk2.cab", "disk3.cab", "disk4.cab"};
    auto parts = cabtest::writeCabSet(fiveFiles(), opt, names, true);
    if (patch) patch(parts);
    for (size_t p = 0; p < parts.size(); ++p) ziptest::writeFile(dir / names[p], parts[p]);
    return dir / "disk1.cab";
}

// A stored folder through three parts holding one large file and then
// small ones, so that files starting in the second part lie at offsets its
// own blocks would reach if they were (wrongly) counted from there.
void writeSmallFilesSet(const fs::path& dir) {
    std::vector<cabtest::FileEntry> files = {{"big.txt", ziptest::sampleText(60000, 1)}};
    for (int i = 0; i < 17; ++i)
        files.push_back({"s" + std::to_string(i) + ".txt", ziptest::sampleText(8000, 100 + i)});
    cabtest::WriterOptions opt;
    opt.method = cabtest::Method::None;
    const std::vector<std::string> names = {"disk1.cab", "disk2.cab", "disk3.cab"};
    const auto parts = cabtest::writeCabSet(files, opt, names, false);
    for (size_t p = 0; p < parts.size(); ++p) ziptest::writeFile(dir / names[p], parts[p]);
}

// Byte offset of `text` in `data` (the test writer's headers are plain).
size_t find(const Bytes& data, const std::string& text) {
    return std::search(data.begin(), data.end(), text.begin(), text.end()) - data.begin();
}

TEST(CabSetAnyPart, HostileSetsEndCleanly) {
    const HostileCase cases[] = {
        {"missing-first-part",
         [](const fs::path& d) {
             writeChain(d, chainHeaders(3));
             fs::remove(d / "disk1.cab");
             return d / "disk3.cab";
         },
         arc::Status::Ok, {"b.txt", "c.txt"}, {"disk1.cab"}, 2},
        {"ring-of-names: the first part names the last as its previous, the last the first as its next",
         [](const fs::path& d) {
             auto h = chainHeaders(3);
             h[0].hasPrevious = true, h[0].previous = "disk3.cab";
             h[2].hasNext = true, h[2].next = "disk1.cab";
             writeChain(d, h);
             return d / "disk2.cab";
         },
         arc::Status::Ok, {"a.txt", "b.txt", "c.txt"}, {"disk3.cab", "disk1.cab"}, 3},
        {"part-names-itself",
         [](const fs::path& d) {
             auto h = chainHeaders(3);
             h[1].previous = h[1].next = "disk2.cab";
             writeChain(d, h);
             return d / "disk2.cab";
         },
         arc::Status::Ok, {"b.txt"}, {"disk2.cab", "disk2.cab"}, 1},
        {"foreign-set-id",
         [](const fs::path& d) {
             auto h = chainHeaders(3);
             h[0].setId = 0x7777;
             writeChain(d, h);
             return d / "disk3.cab";
         },
         arc::Status::Ok, {"b.txt", "c.txt"}, {"disk1.cab"}, 2},
        {"index-out-of-turn",
         [](const fs::path& d) {
             auto h = chainHeaders(3);
             h[0].index = 5;
             writeChain(d, h);
             return d / "disk2.cab";
         },
         arc::Status::Ok, {"b.txt", "c.txt"}, {"disk1.cab"}, 2},
        {"previous-name-leaves-the-folder (a copy also lies beside)",
         [](const fs::path& d) {
             auto h = chainHeaders(3);
             h[1].previous = "../other/disk1.cab";
             writeChain(d, h);
             fs::create_directories(d / "../other");
             fs::copy_file(d / "disk1.cab", d / "../other/disk1.cab");
             return d / "disk2.cab";
         },
         arc::Status::Ok, {"b.txt", "c.txt"}, {"../other/disk1.cab"}, 2},
        {"missing-middle-part: members needing it fail, those wholly before it come whole",
         [](const fs::path& d) {
             fs::path first = writeFolderSet(d);
             fs::remove(d / "disk3.cab");
             return first;
         },
         arc::Status::NotFindArcFile, {"file0.txt", "file1.txt"}, {"disk3.cab"}, 3},
        {"missing-first-part of one folder: nothing of it can be decoded",
         [](const fs::path& d) {
             writeFolderSet(d);
             fs::remove(d / "disk1.cab");
             return d / "disk3.cab";
         },
         arc::Status::NotFindArcFile, {}, {"disk1.cab"}, 3},
        {"missing-first-part of a stored folder: offsets cannot be placed, so no file starting later is written",
         [](const fs::path& d) {
             writeSmallFilesSet(d);
             fs::remove(d / "disk1.cab");
             return d / "disk3.cab";
         },
         arc::Status::NotFindArcFile, {}, {"disk1.cab"}, 17},
        {"continued-entry-renamed: the second part's crossing file differs",
         [](const fs::path& d) {
             return writeFolderSet(d, [](std::vector<Bytes>& parts) { parts[1][find(parts[1], "file2.txt") + 4] = 'X'; });
         },
         arc::Status::NotFindArcFile, {"file0.txt", "file1.txt"}, {"disk2.cab"}, 3},
        {"compression-differs across the boundary",
         [](const fs::path& d) {
             return writeFolderSet(d, [](std::vector<Bytes>& parts) {
                 cabtest::WriterOptions opt;
                 opt.method = cabtest::Method::Mszip;
                 parts[1] = cabtest::writeCabSet(fiveFiles(), opt,
                                                 std::vector<std::string>{"disk1.cab", "disk2.cab", "disk3.cab", "disk4.cab"},
                                                 true)[1];
             });
         },
         arc::Status::NotFindArcFile, {"file0.txt", "file1.txt"}, {"disk2.cab"}, 3},
    };
    for (const HostileCase& c : cases) {
        SCOPED_TRACE(c.fault);
        ziptest::TempDir tmp;
        const fs::path start = c.make(tmp.path() / "set");
        Outcome o = openPart(start, tmp.path() / "out");
        EXPECT_EQ(o.status, c.status);
        EXPECT_EQ(o.written, c.written);
        EXPECT_EQ(o.missing, c.missing);
        EXPECT_EQ(o.listed.size(), c.listed);
        EXPECT_TRUE(eachOnce(o.listed));
        for (const auto& [name, data] : o.files)
            EXPECT_NE(std::find(c.written.begin(), c.written.end(), name), c.written.end()) << name << " left behind";
    }
}

// A chain of more parts than any real set has ends at a bound, whichever
// part it is opened from, and names where it stopped.
TEST(CabSetAnyPart, EndlessChainIsBounded) {
    ziptest::TempDir tmp;
    const size_t n = 300;
    cabtest::WriterOptions opt;
    opt.method = cabtest::Method::None;
    for (size_t p = 0; p < n; ++p) {
        cabtest::SetHeader h;
        h.index = static_cast<uint16_t>(p);
        h.hasPrevious = p > 0, h.previous = "p" + std::to_string(p - 1) + ".cab";
        h.hasNext = p + 1 < n, h.next = "p" + std::to_string(p + 1) + ".cab";
        ziptest::writeFile(tmp.path() / ("p" + std::to_string(p) + ".cab"),
                           cabtest::writeCabPart({{"f" + std::to_string(p), {uint8_t(p)}}}, opt, h));
    }
    for (const char* start : {"p0.cab", "p150.cab", "p299.cab"}) {
        SCOPED_TRACE(start);
        const fs::path part = tmp.path() / start;
        auto src = arc::openFileSource(part.string());
        ASSERT_TRUE(src);
        arc::Status st = arc::Status::Ok;
        auto archive = arc::openCab(*src, &st, arc::partsBeside(part.string()));
        ASSERT_TRUE(archive);
        EXPECT_EQ(archive->members().size(), 256u);
        EXPECT_EQ(archive->missingParts().size(), 1u);
    }
}

// Only a plain file name in the archive's own folder is opened as a part.
TEST(CabSetAnyPart, PartNamesOutsideTheFolderOrOfDevicesAreNotOpened) {
    ziptest::TempDir tmp;
    for (const char* name : {"disk2.cab", "CON", "com1.cab", "x.cab."})
        ziptest::writeFile(tmp.path() / "set" / name, {'M', 'S', 'C', 'F'});
    ziptest::writeFile(tmp.path() / "other" / "disk2.cab", {'M', 'S', 'C', 'F'});
    const arc::PartOpener parts = arc::partsBeside((tmp.path() / "set" / "disk1.cab").string());
    const struct {
        const char* stored;
        bool opened;
    } cases[] = {{"disk2.cab", true},     {"DISK2.CAB", true},   {"../other/disk2.cab", false},
                 {"..\\set\\disk2.cab", false}, {"C:disk2.cab", false}, {"CON", false},
                 {"com1.cab", false},     {"x.cab.", false},     {"..", false},
                 {"", false}};
    for (const auto& c : cases) EXPECT_EQ(parts(c.stored) != nullptr, c.opened) << '"' << c.stored << '"';
}

}  // namespace
