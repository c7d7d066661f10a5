// Where the engine stands between libarchive 3.6 and hostile input: requests
// sized by a header's word, and the process exit libarchive takes when a name
// fails to convert while errno happens to read ENOMEM.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <zlib.h>

#include <cerrno>

#include "folder_extract.h"
#include "support/archive_fixtures.h"

namespace {

long peakResidentMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

// Unguarded, the first takes 5 GB for 15 s.
// ctest runs each test in a process of its own, so the peak is this test's.
TEST(LibarchiveGuard, HeadersAskingForHugeBuffersFailWithoutTakingThem) {
    if (fixtures::testdataDir().empty()) GTEST_SKIP() << "no shared testdata";
    const struct {
        const char* archive;
        arc::Format format;
        arc::Status status;
    } cases[] = {
        {"7z/7zip_folders_oom.7z", arc::Format::SevenZip, arc::Status::MoreHeapMemory},  // 50 million folders
        {"rar/rar_newsub_huge.rar", arc::Format::Rar, arc::Status::MoreHeapMemory},      // a 2^63-byte block
    };
    const long before = peakResidentMiB();
    for (const auto& c : cases) {
        const std::string path = fixtures::testdataDir() + "/" + c.archive;
        auto src = arc::openFileSource(path);
        ASSERT_TRUE(src) << path;
        arc::Status status = arc::Status::Ok;
        auto archive = arc::openArchive(*src, c.format, &status, arc::partsBeside(path), path);
        if (archive) {
            fixtures::MemoryTarget target;
            status = fixtures::extractAll(*archive, target);
        }
        EXPECT_EQ(status, c.status) << c.archive;
    }
    EXPECT_LT(peakResidentMiB() - before, 200) << "MiB taken";
}

void appendVint(std::vector<uint8_t>& out, uint64_t v) {
    for (; v >= 0x80; v >>= 7) out.push_back(static_cast<uint8_t>(v | 0x80));
    out.push_back(static_cast<uint8_t>(v));
}

// A RAR 5 header block: CRC32, size, then the fields from the type on.
void appendBlock(std::vector<uint8_t>& out, const std::vector<uint8_t>& fields) {
    std::vector<uint8_t> sized;
    appendVint(sized, fields.size());
    sized.insert(sized.end(), fields.begin(), fields.end());
    const uint32_t crc = static_cast<uint32_t>(crc32(0, sized.data(), static_cast<uInt>(sized.size())));
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(crc >> (8 * i)));
    out.insert(out.end(), sized.begin(), sized.end());
}

// An earlier failure leaves errno at ENOMEM; a member whose name libarchive
// cannot convert (here bytes that are not UTF-8) must still be listed.
TEST(LibarchiveGuard, AStaleOutOfMemoryErrnoDoesNotEndTheProcess) {
    std::vector<uint8_t> rar = {'R', 'a', 'r', '!', 0x1A, 0x07, 0x01, 0x00};
    appendBlock(rar, {1, 0, 0});  // main header
    // File header: an empty data area; empty file, attributes 0x20, stored, from Windows.
    std::vector<uint8_t> file = {2, 2, 0, 0, 0, 0x20, 0, 0, 6, 0xFF, 0xFE, '.', 't', 'x', 't'};
    appendBlock(rar, file);
    appendBlock(rar, {5, 0, 0});  // end of archive

    arc::MemorySource src(rar);
    arc::Status status = arc::Status::Ok;
    // A first reading sets up what touches errno on the way in (the locale);
    // then a failure elsewhere leaves it at ENOMEM.
    arc::openArchive(src, arc::Format::Rar, &status, {}, "names.rar");
    errno = ENOMEM;
    auto archive = arc::openArchive(src, arc::Format::Rar, &status, {}, "names.rar");
    ASSERT_TRUE(archive) << std::hex << static_cast<int>(status);
    ASSERT_EQ(archive->members().size(), 1u);
    EXPECT_EQ(archive->members()[0].name, "\uFFFD\uFFFD.txt");
}

}  // namespace
