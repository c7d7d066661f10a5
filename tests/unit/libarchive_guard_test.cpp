// libarchive 3.6 ending the process: the guard in the engine's reader.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cerrno>

#include "folder_extract.h"

namespace {

// A RAR 5 header block: CRC32, size, then the fields from the type on.
void appendBlock(std::vector<uint8_t>& out, std::vector<uint8_t> fields) {
    fields.insert(fields.begin(), static_cast<uint8_t>(fields.size()));  // one-byte size: under 128
    const uint32_t crc = static_cast<uint32_t>(crc32(0, fields.data(), static_cast<uInt>(fields.size())));
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(crc >> (8 * i)));
    out.insert(out.end(), fields.begin(), fields.end());
}

// libarchive ends the process when a name fails to convert (here bytes that
// are not UTF-8) while errno reads ENOMEM, left there by any earlier failure.
TEST(LibarchiveGuard, AStaleOutOfMemoryErrnoDoesNotEndTheProcess) {
    std::vector<uint8_t> rar = {'R', 'a', 'r', '!', 0x1A, 0x07, 0x01, 0x00};
    appendBlock(rar, {1, 0, 0});  // main header
    // File header with an empty data area: empty file, attributes 0x20, stored, from Windows.
    appendBlock(rar, {2, 2, 0, 0, 0, 0x20, 0, 0, 6, 0xFF, 0xFE, '.', 't', 'x', 't'});
    appendBlock(rar, {5, 0, 0});  // end of archive

    arc::MemorySource src(rar);
    arc::Status status = arc::Status::Ok;
    // A first reading sets up what touches errno on the way in (the locale).
    arc::openArchive(src, arc::Format::Rar, &status, {}, "names.rar");
    errno = ENOMEM;
    auto archive = arc::openArchive(src, arc::Format::Rar, &status, {}, "names.rar");
    ASSERT_TRUE(archive) << std::hex << static_cast<int>(status);
    ASSERT_EQ(archive->members().size(), 1u);
    EXPECT_EQ(archive->members()[0].name, "\uFFFD\uFFFD.txt");
}

}  // namespace
