// The MSZIP block decoder on blocks made here with zlib: history reaching
// back across block boundaries at every history length, blocks that fill
// their size without a final deflate block, and distances reaching before
// the folder's first byte. Sizes and CK checks at folder level are in
// cab_hostile_test.cpp.
#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <string>
#include <vector>

#include "cab_block_decoder.h"

namespace {

using arc::Status;
using Bytes = std::vector<uint8_t>;

// Bytes that do not compress on their own, so every match the encoder finds
// is a repeat of an earlier copy.
Bytes noise(size_t n, uint32_t seed) {
    Bytes out(n);
    for (auto& b : out) {
        seed ^= seed << 13;
        seed ^= seed >> 17;
        seed ^= seed << 5;
        b = static_cast<uint8_t>(seed);
    }
    return out;
}

// "CK" and a raw deflate stream of `data` primed with `dictionary`; with
// `finalBlock` false the stream is flushed but never closed.
Bytes mszipBlock(const uint8_t* data, size_t n, const uint8_t* dictionary, size_t dictLen, bool finalBlock = true) {
    z_stream z{};
    EXPECT_EQ(deflateInit2(&z, 9, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY), Z_OK);
    if (dictLen) {
        EXPECT_EQ(deflateSetDictionary(&z, dictionary, static_cast<uInt>(dictLen)), Z_OK);
    }
    Bytes out(deflateBound(&z, static_cast<uLong>(n)) + 16);
    out[0] = 'C';
    out[1] = 'K';
    z.next_in = const_cast<Bytef*>(data);
    z.avail_in = static_cast<uInt>(n);
    z.next_out = out.data() + 2;
    z.avail_out = static_cast<uInt>(out.size() - 2);
    EXPECT_EQ(deflate(&z, finalBlock ? Z_FINISH : Z_SYNC_FLUSH), finalBlock ? Z_STREAM_END : Z_OK);
    out.resize(out.size() - z.avail_out);
    deflateEnd(&z);
    return out;
}

// A folder's data cut into blocks of `blockSize`, each primed with up to
// 32 KiB of what came before, as writers do.
std::vector<Bytes> mszipBlocks(const Bytes& data, size_t blockSize) {
    std::vector<Bytes> blocks;
    for (size_t at = 0; at < data.size(); at += blockSize) {
        size_t n = std::min(blockSize, data.size() - at), hist = std::min<size_t>(at, 32768);
        blocks.push_back(mszipBlock(data.data() + at, n, data.data() + at - hist, hist));
    }
    return blocks;
}

// Decodes the blocks in order; the first failure's status, else Ok, with
// everything decoded so far in *out.
Status decodeAll(const std::vector<Bytes>& blocks, const std::vector<size_t>& sizes, Bytes* out) {
    auto decoder = arc::makeMszipDecoder();
    EXPECT_TRUE(decoder);
    if (!decoder) return Status::Method;
    out->clear();
    for (size_t i = 0; i < blocks.size(); ++i) {
        Bytes block(sizes[i]);
        Status st = decoder->decodeBlock(blocks[i].data(), blocks[i].size(), block.data(), block.size());
        if (st != Status::Ok) return st;
        out->insert(out->end(), block.begin(), block.end());
    }
    return Status::Ok;
}

std::vector<size_t> sizesOf(const Bytes& data, size_t blockSize) {
    std::vector<size_t> sizes;
    for (size_t at = 0; at < data.size(); at += blockSize) sizes.push_back(std::min(blockSize, data.size() - at));
    return sizes;
}

// A 25000-byte pattern three times: matches 25000 bytes back, across block
// boundaries, with the history short, growing, and full.
TEST(CabMszip, HistoryReachesBackAcrossBlocksAtEveryLength) {
    const Bytes pattern = noise(25000, 7);
    Bytes data;
    for (int i = 0; i < 3; ++i) data.insert(data.end(), pattern.begin(), pattern.end());
    for (size_t blockSize : {size_t{32768}, size_t{32767}, size_t{1000}, size_t{7}}) {
        SCOPED_TRACE("block size " + std::to_string(blockSize));
        std::vector<Bytes> blocks = mszipBlocks(data, blockSize);
        if (blockSize == 1000) {
            // Packed well below the output: the repeats were coded as distances.
            size_t packed = 0;
            for (const Bytes& b : blocks) packed += b.size();
            EXPECT_LT(packed, data.size() / 2);
        }
        Bytes out;
        EXPECT_EQ(decodeAll(blocks, sizesOf(data, blockSize), &out), Status::Ok);
        EXPECT_TRUE(out == data);
    }
}

TEST(CabMszip, BlockFaultsAndToleratedForms) {
    const Bytes pattern = noise(20000, 3);
    Bytes data = pattern;
    data.insert(data.end(), pattern.begin(), pattern.end());  // 40000 bytes: blocks of 32768 and 7232
    struct Case {
        const char* what;
        // Replaces blocks or sizes of the well-formed folder.
        void (*spoil)(const Bytes& data, std::vector<Bytes>& blocks, std::vector<size_t>& sizes);
        Status expected;
    } cases[] = {
        {"first-block-without-final-deflate-block",
         [](const Bytes& d, std::vector<Bytes>& b, std::vector<size_t>&) {
             b[0] = mszipBlock(d.data(), 32768, nullptr, 0, false);
         },
         Status::Ok},
        {"last-block-without-final-deflate-block",
         [](const Bytes& d, std::vector<Bytes>& b, std::vector<size_t>&) {
             b[1] = mszipBlock(d.data() + 32768, d.size() - 32768, d.data(), 32768, false);
         },
         Status::Ok},
        {"first-block-reaches-before-the-folder",
         [](const Bytes& d, std::vector<Bytes>& b, std::vector<size_t>& s) {
             b[0] = mszipBlock(d.data() + 20000, 20000, d.data(), 20000);
             s[0] = 20000;
         },
         Status::BrokenData},
        {"second-block-reaches-past-its-history",
         [](const Bytes& d, std::vector<Bytes>& b, std::vector<size_t>& s) {
             // The first block now yields 5000 bytes only, the second one
             // still refers 20000 bytes back.
             b[0] = mszipBlock(d.data(), 5000, nullptr, 0);
             b[1] = mszipBlock(d.data() + 20000, 20000, d.data(), 20000);
             s = {5000, 20000};
         },
         Status::BrokenData},
        {"no-final-block-and-more-data-than-declared",
         [](const Bytes& d, std::vector<Bytes>& b, std::vector<size_t>& s) {
             b[1] = mszipBlock(d.data() + 32768, d.size() - 32768, d.data(), 32768, false);
             s[1] -= 1;
         },
         Status::BrokenData},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        std::vector<Bytes> blocks = mszipBlocks(data, 32768);
        std::vector<size_t> sizes = sizesOf(data, 32768);
        k.spoil(data, blocks, sizes);
        Bytes out;
        EXPECT_EQ(decodeAll(blocks, sizes, &out), k.expected);
        if (k.expected == Status::Ok) {
            EXPECT_TRUE(out == data);
        }
    }
}

}  // namespace
