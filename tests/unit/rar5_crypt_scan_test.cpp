// The RAR 5 header scan that tells encrypted members from broken ones, on the
// team's archives (the RAR fuzz run reads broken ones through it).
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

}  // namespace
