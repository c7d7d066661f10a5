// The RAR 5 header scan that tells encrypted members from broken ones, on the
// team's archives and on cut-off and corrupted copies of them.
#include <gtest/gtest.h>

#include <algorithm>

#include "rar5_crypt_scan.h"
#include "support/archive_fixtures.h"

namespace {

std::vector<bool> scan(const std::vector<uint8_t>& bytes) {
    arc::MemorySource src(bytes);
    return arc::rar5EncryptedFileHeaders(src);
}

TEST(Rar5CryptScan, FlagsTheEncryptedFileHeadersOnly) {
    if (fixtures::testdataDir().empty()) GTEST_SKIP() << "no shared testdata";
    const struct {
        const char* archive;
        size_t headers;  // file headers found; 0: the scan does not apply
        size_t encrypted;
    } cases[] = {
        {"rar5_encrypted.rar", 4, 2},
        {"rar5_solid_encrypted.rar", 4, 4},
        {"rar5_stored.rar", 1, 0},
        {"rar5_multiple_files.rar", 4, 0},
        {"rar5_encrypted_filenames.rar", 0, 0},  // headers encrypted as a whole
        {"rar4_encrypted.rar", 0, 0},            // not RAR 5
    };
    for (const auto& c : cases) {
        auto flags = scan(fixtures::readFile(fixtures::testdataDir() + "/rar/" + c.archive));
        EXPECT_EQ(flags.size(), c.headers) << c.archive;
        EXPECT_EQ(static_cast<size_t>(std::count(flags.begin(), flags.end(), true)), c.encrypted) << c.archive;
    }
}

// Every prefix of an archive and every single corrupted byte in its headers:
// the scan stays inside the data and finds no more headers than there are.
TEST(Rar5CryptScan, CutAndCorruptedCopiesStayBounded) {
    if (fixtures::testdataDir().empty()) GTEST_SKIP() << "no shared testdata";
    const auto whole = fixtures::readFile(fixtures::testdataDir() + "/rar/rar5_encrypted.rar");
    ASSERT_GT(whole.size(), 200u);
    for (size_t n = 0; n < whole.size(); n += 7) {
        auto flags = scan(std::vector<uint8_t>(whole.begin(), whole.begin() + static_cast<long>(n)));
        EXPECT_LE(flags.size(), 4u) << n;
    }
    for (size_t at = 8; at < 200; ++at) {
        auto copy = whole;
        copy[at] = static_cast<uint8_t>(copy[at] ^ 0xFF);
        EXPECT_LE(scan(copy).size(), 4u) << at;
    }
}

}  // namespace
