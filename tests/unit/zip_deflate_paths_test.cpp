// Deflate members are decoded whole up to a size limit and streamed beyond
// it; both paths, and the work buffers the whole path reuses from member to
// member (growing, then serving smaller members), give the same bytes and
// the same verdicts.
#include <gtest/gtest.h>

#include <string>

#include "zip_decode.h"
#include "zip_test_kit.h"

namespace {

using arc::Status;
using arc::zip::kWholeDeflateLimit;
using ziptest::Bytes;

TEST(ZipDeflatePaths, MembersEitherSideOfTheWholeLimit) {
    constexpr size_t kLimit = static_cast<size_t>(kWholeDeflateLimit);
    struct Case {
        const char* name;
        Bytes data;
        bool badCrc;
        Status expected;
    } cases[] = {
        {"small.txt", ziptest::sampleText(5000, 1), false, Status::Ok},
        {"at-limit.txt", ziptest::sampleText(kLimit, 2), false, Status::Ok},
        {"after-large.bin", ziptest::sampleNoise(300, 3), false, Status::Ok},
        {"over-limit.txt", ziptest::sampleText(kLimit + 1, 4), false, Status::Ok},
        {"at-limit-bad-crc.txt", ziptest::sampleText(kLimit, 5), true, Status::FileCrc},
        {"over-limit-bad-crc.txt", ziptest::sampleText(kLimit + 1, 6), true, Status::FileCrc},
    };
    ziptest::ZipWriter w;
    for (const Case& k : cases) w.add(k.name, k.data);
    Bytes bytes = w.build();
    for (size_t i = 0; i < std::size(cases); ++i)
        if (cases[i].badCrc) ziptest::put32(bytes, w.central[i] + 16, ziptest::crcOf(cases[i].data) ^ 1);

    auto o = ziptest::openBytes(bytes);
    ASSERT_TRUE(o->archive);
    fixtures::MemoryTarget t;
    EXPECT_EQ(fixtures::extractAll(*o->archive, t), Status::FileCrc);
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].name);
        EXPECT_TRUE(t.results[i].ended);
        EXPECT_EQ(t.results[i].status, cases[i].expected);
        if (cases[i].expected == Status::Ok) {
            EXPECT_TRUE(t.results[i].data == cases[i].data);
        }
    }
}

}  // namespace
