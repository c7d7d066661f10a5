#include <gtest/gtest.h>

#include <vector>

#include "lzh_macbinary.h"

namespace {

struct Collect : arc::OutputSink {
    std::vector<uint8_t> bytes;
    bool write(const uint8_t* d, size_t n) override {
        bytes.insert(bytes.end(), d, d + n);
        return true;
    }
};

std::vector<uint8_t> MacBinary(const std::vector<uint8_t>& data, uint32_t resource) {
    const size_t dataPadded = (data.size() + 127) / 128 * 128, resourcePadded = (resource + 127) / 128 * 128;
    std::vector<uint8_t> out(128 + dataPadded + resourcePadded, 0);
    out[1] = 5;  // name length
    for (int i = 0; i < 5; ++i) out[2 + i] = static_cast<uint8_t>("gpl-2"[i]);
    auto be = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) out[at + i] = static_cast<uint8_t>(v >> (24 - 8 * i));
    };
    be(83, static_cast<uint32_t>(data.size()));
    be(87, resource);
    for (size_t i = 0; i < data.size(); ++i) out[128 + i] = data[i];
    for (size_t i = 128 + dataPadded; i < out.size(); ++i) out[i] = 0xEE;
    return out;
}

// Feeds `stream` in pieces of `step` bytes.
std::vector<uint8_t> Filter(const std::vector<uint8_t>& stream, size_t step) {
    Collect out;
    arc::MacBinaryDataFork fork(out, stream.size());
    for (size_t i = 0; i < stream.size(); i += step)
        EXPECT_TRUE(fork.write(stream.data() + i, std::min(step, stream.size() - i)));
    EXPECT_TRUE(fork.finish());
    return out.bytes;
}

TEST(LzhMacBinary, DataForkComesOutWhateverTheChunking) {
    std::vector<uint8_t> text(300);
    for (size_t i = 0; i < text.size(); ++i) text[i] = static_cast<uint8_t>('a' + i % 26);
    auto stream = MacBinary(text, 200);
    for (size_t step : {1u, 7u, 128u, 129u, 4096u}) EXPECT_EQ(Filter(stream, step), text) << step;
}

TEST(LzhMacBinary, AnythingElsePassesUnchanged) {
    std::vector<uint8_t> text(300, 'x');
    auto stream = MacBinary(text, 0);
    auto wrongTotal = stream;
    wrongTotal.push_back(0);  // forks no longer add up to the size
    EXPECT_EQ(Filter(wrongTotal, 50), wrongTotal);
    auto badName = stream;
    badName[1] = 0;
    EXPECT_EQ(Filter(badName, 50), badName);
    std::vector<uint8_t> shortStream(40, 'y');  // shorter than a header
    EXPECT_EQ(Filter(shortStream, 9), shortStream);
    EXPECT_EQ(Filter({}, 1), std::vector<uint8_t>{});
}

}  // namespace
