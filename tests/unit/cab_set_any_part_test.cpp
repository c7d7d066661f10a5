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

// The team's five-part set under the names its headers give: every part
// lists and extracts the whole set as the peer tool does, in set order.
// (Parts missing: the hostile table below.)
TEST(CabSetAnyPart, RealSetFromEveryPart) {
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
    std::vector<std::string> fromFirst;
    for (int start = 1; start <= 5; ++start) {
        SCOPED_TRACE("from part " + std::to_string(start));
        Outcome o = openPart(tmp.path() / "set" / realPart(start), tmp.path() / ("out" + std::to_string(start)));
        EXPECT_EQ(o.status, arc::Status::Ok);
        EXPECT_EQ(o.files, peer);
        if (start == 1) fromFirst = o.listed;
        EXPECT_EQ(o.listed, fromFirst);
        EXPECT_EQ(o.written, o.listed);  // listing and extraction agree, in set order
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

// One folder through parts named disk1.cab..., its blocks split across them or not.
std::vector<Bytes> folderSet(const std::vector<cabtest::FileEntry>& files, cabtest::Method method, size_t parts = 4,
                             bool splitBlocks = true) {
    cabtest::WriterOptions opt;
    opt.method = method;
    const std::vector<std::string> names(kDisks.begin(), kDisks.begin() + static_cast<std::ptrdiff_t>(parts));
    return cabtest::writeCabSet(files, opt, names, splitBlocks);
}

// Three parts of a set that breaks between folders, each holding a.txt,
// b.txt, c.txt whole, their honest headers changed by `change`: a part that
// is missing or does not fit costs only its own.
std::vector<Bytes> chainSet(const std::function<void(std::vector<cabtest::SetHeader>&)>& change = {}) {
    std::vector<cabtest::SetHeader> h(3);
    for (size_t p = 0; p < h.size(); ++p) {
        h[p].index = static_cast<uint16_t>(p);
        h[p].hasPrevious = p > 0, h[p].hasNext = p + 1 < h.size();
        h[p].previous = "disk" + std::to_string(p) + ".cab";
        h[p].next = "disk" + std::to_string(p + 2) + ".cab";
    }
    if (change) change(h);
    cabtest::WriterOptions opt;
    opt.method = cabtest::Method::Mszip;
    std::vector<Bytes> parts;
    for (size_t p = 0; p < h.size(); ++p)
        parts.push_back(cabtest::writeCabPart(
            {{std::string(1, char('a' + p)) + ".txt", ziptest::sampleText(5000, 90 + unsigned(p))}}, opt, h[p]));
    return parts;
}

// A stored folder through three parts: one large file, then small ones, so
// that files starting in the second part lie at offsets its own blocks
// would reach if they were (wrongly) counted from there.
std::vector<Bytes> smallFilesSet() {
    std::vector<cabtest::FileEntry> files = {{"big.txt", ziptest::sampleText(60000, 1)}};
    for (int i = 0; i < 17; ++i)
        files.push_back({"s" + std::to_string(i) + ".txt", ziptest::sampleText(8000, 100 + i)});
    return folderSet(files, cabtest::Method::None, 3, false);
}

struct Expected {
    arc::Status status;
    std::vector<std::string> written;  // complete members, in set order
    std::vector<std::string> missing;
    size_t listed;
};
struct HostileCase {
    const char* fault;
    std::vector<Bytes> parts;  // written as disk1.cab...
    struct {
        const char *removed, *start;  // the part deleted (if any), the part opened
    } open;
    Expected want;
};

TEST(CabSetAnyPart, HostileSetsEndCleanly) {
    using H = std::vector<cabtest::SetHeader>;
    const auto lzx = [] { return folderSet(fiveFiles(), cabtest::Method::Lzx); };
    const Bytes crossing = {'f', 'i', 'l', 'e', '2'};
    const HostileCase cases[] = {
        {"none (control): the whole set from its last part",
         lzx(),
         {nullptr, "disk4.cab"},
         {arc::Status::Ok, {"file0.txt", "file1.txt", "file2.txt", "file3.txt", "file4.txt"}, {}, 5}},
        {"missing-first-part",
         chainSet(),
         {"disk1.cab", "disk3.cab"},
         {arc::Status::Ok, {"b.txt", "c.txt"}, {"disk1.cab"}, 2}},
        {"ring-of-names: first names the last as previous, last the first as next",
         chainSet([](H& h) {
             h[0].hasPrevious = true, h[0].previous = "disk3.cab", h[2].hasNext = true, h[2].next = "disk1.cab";
         }),
         {nullptr, "disk2.cab"},
         {arc::Status::Ok, {"a.txt", "b.txt", "c.txt"}, {"disk3.cab", "disk1.cab"}, 3}},
        {"part-names-itself",
         chainSet([](H& h) { h[1].previous = h[1].next = "disk2.cab"; }),
         {nullptr, "disk2.cab"},
         {arc::Status::Ok, {"b.txt"}, {"disk2.cab", "disk2.cab"}, 1}},
        {"foreign-set-id",
         chainSet([](H& h) { h[0].setId = 0x7777; }),
         {nullptr, "disk3.cab"},
         {arc::Status::Ok, {"b.txt", "c.txt"}, {"disk1.cab"}, 2}},
        {"index-out-of-turn",
         chainSet([](H& h) { h[0].index = 5; }),
         {nullptr, "disk2.cab"},
         {arc::Status::Ok, {"b.txt", "c.txt"}, {"disk1.cab"}, 2}},
        {"previous-name-leaves-the-folder (a copy of disk1.cab lies there)",
         chainSet([](H& h) { h[1].previous = "../other/disk1.cab"; }),
         {nullptr, "disk2.cab"},
         {arc::Status::Ok, {"b.txt", "c.txt"}, {"../other/disk1.cab"}, 2}},
        {"missing-middle-part: members needing it fail, those wholly before it come whole",
         lzx(),
         {"disk3.cab", "disk1.cab"},
         {arc::Status::NotFindArcFile, {"file0.txt", "file1.txt"}, {"disk3.cab"}, 3}},
        {"missing-first-part of a stored folder: no file starting later is written from wrong offsets",
         smallFilesSet(),
         {"disk1.cab", "disk3.cab"},
         {arc::Status::NotFindArcFile, {}, {"disk1.cab"}, 17}},
        {"continued-entry-renamed in the second part",
         [&] {
             auto p = lzx();
             *(std::search(p[1].begin(), p[1].end(), crossing.begin(), crossing.end()) + 4) = 'X';
             return p;
         }(),
         {nullptr, "disk1.cab"},
         {arc::Status::NotFindArcFile, {"file0.txt", "file1.txt"}, {"disk2.cab"}, 3}},
        {"compression-differs across the boundary",
         [&] {
             auto p = lzx();
             p[1] = folderSet(fiveFiles(), cabtest::Method::Mszip)[1];
             return p;
         }(),
         {nullptr, "disk1.cab"},
         {arc::Status::NotFindArcFile, {"file0.txt", "file1.txt"}, {"disk2.cab"}, 3}},
    };
    for (const HostileCase& c : cases) {
        SCOPED_TRACE(c.fault);
        ziptest::TempDir tmp;
        const fs::path set = tmp.path() / "set";
        for (size_t p = 0; p < c.parts.size(); ++p) ziptest::writeFile(set / kDisks[p], c.parts[p]);
        ziptest::writeFile(tmp.path() / "other" / "disk1.cab", c.parts[0]);  // for names that leave the folder
        if (c.open.removed) fs::remove(set / c.open.removed);
        Outcome o = openPart(set / c.open.start, tmp.path() / "out");
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

// Only a plain file name in the archive's own folder is opened as a part, as
// Windows would find it (in any case), never a device. Names with folders:
// the hostile table above.
TEST(CabSetAnyPart, PartNamesOfDevicesAreNotOpened) {
    ziptest::TempDir tmp;
    for (const char* name : {"disk2.cab", "CON"}) ziptest::writeFile(tmp.path() / name, {'M', 'S', 'C', 'F'});
    const arc::PartOpener parts = arc::partsBeside((tmp.path() / "disk1.cab").string());
    for (const auto& [stored, opened] : {std::pair{"disk2.cab", true}, {"DISK2.CAB", true}, {"CON", false}})
        EXPECT_EQ(parts(stored) != nullptr, opened) << stored;
}

}  // namespace
