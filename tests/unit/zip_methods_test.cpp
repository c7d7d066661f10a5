// The ZIP methods read through libraries and our own inflater, on streams
// written here where no peer tool writes them: Zstandard (one frame or
// several), LZMA without an end marker, and our inflater against zlib on
// plain deflate, whose rules Deflate64 shares. Each also cut short.
#include <gtest/gtest.h>

#include <lzma.h>
#include <zstd.h>

#include "inflate64.h"
#include "zip_method.h"
#include "zip_test_kit.h"

namespace {

using ziptest::Bytes;

Bytes zstdFrame(const Bytes& data, int level) {
    Bytes out(ZSTD_compressBound(data.size()));
    size_t n = ZSTD_compress(out.data(), out.size(), data.data(), data.size(), level);
    EXPECT_FALSE(ZSTD_isError(n));
    out.resize(n);
    return out;
}

// ZIP's LZMA member: SDK version, properties size 5, properties, raw LZMA1.
Bytes zipLzma(const Bytes& data, bool endMarker) {
    lzma_options_lzma opt;
    lzma_lzma_preset(&opt, 6);
    lzma_filter filters[2] = {{endMarker ? LZMA_FILTER_LZMA1 : LZMA_FILTER_LZMA1EXT, &opt},
                              {LZMA_VLI_UNKNOWN, nullptr}};
    opt.ext_flags = 0;  // LZMA1EXT: no end marker
    lzma_stream strm = LZMA_STREAM_INIT;
    EXPECT_EQ(lzma_raw_encoder(&strm, filters), LZMA_OK);
    Bytes packed(data.size() + data.size() / 2 + 4096);
    strm.next_in = data.data();
    strm.avail_in = data.size();
    strm.next_out = packed.data();
    strm.avail_out = packed.size();
    EXPECT_EQ(lzma_code(&strm, LZMA_FINISH), LZMA_STREAM_END);
    packed.resize(packed.size() - strm.avail_out);
    lzma_end(&strm);
    uint8_t props[5];
    uint32_t propsSize = 0;
    lzma_properties_size(&propsSize, &filters[0]);
    filters[0].id = LZMA_FILTER_LZMA1;
    EXPECT_EQ(lzma_properties_encode(&filters[0], props), LZMA_OK);
    Bytes out(props, props + 5);
    out.insert(out.begin(), {16, 2, 5, 0});
    out.insert(out.end(), packed.begin(), packed.end());
    return out;
}

struct MethodCase {
    const char* label;
    uint16_t method;
    uint16_t flags;
    Bytes packed;
};

TEST(ZipMethods, WrittenStreamsExtractAndCutOnesFailAlone) {
    const Bytes data = ziptest::sampleText(300000, 21);
    const Bytes half(data.begin(), data.begin() + 120000), rest(data.begin() + 120000, data.end());
    Bytes twoFrames = zstdFrame(half, 3);
    ziptest::addBytes(twoFrames, zstdFrame(rest, 19));
    const MethodCase cases[] = {
        {"zstd", 93, 0, zstdFrame(data, 9)},
        {"zstd, two frames", 93, 0, twoFrames},
        {"lzma, no end marker", 14, 0, zipLzma(data, false)},
        {"lzma, end marker", 14, 2, zipLzma(data, true)},
    };
    for (const MethodCase& c : cases) {
        for (bool cut : {false, true}) {
            SCOPED_TRACE(std::string(c.label) + (cut ? ", cut short" : ""));
            ziptest::ZipWriter w;
            w.add("before.txt", ziptest::sampleText(5000, 1));
            auto& it = w.add("victim.txt", data, c.method);
            it.flags = c.flags;
            it.packed = cut ? Bytes(c.packed.begin(), c.packed.begin() + c.packed.size() * 2 / 3) : c.packed;
            w.add("after.txt", ziptest::sampleText(7000, 2));
            auto o = ziptest::openBytes(w.build());
            ASSERT_TRUE(o->archive);
            fixtures::MemoryTarget t;
            EXPECT_EQ(fixtures::extractAll(*o->archive, t), cut ? arc::Status::UnexpectedEof : arc::Status::Ok);
            EXPECT_EQ(t.results[1].status, cut ? arc::Status::UnexpectedEof : arc::Status::Ok);
            EXPECT_EQ(t.results[1].data == data, !cut);
            EXPECT_EQ(t.results[0].status, arc::Status::Ok);
            EXPECT_EQ(t.results[2].status, arc::Status::Ok);
        }
    }
}

// Our inflater on zlib's deflate output (levels 1 and 9, stored blocks for
// noise): the code Deflate64 runs on, checked against an independent writer.
TEST(ZipMethods, OwnInflaterReadsZlibDeflateExactly) {
    Bytes data = ziptest::sampleText(400000, 3);
    ziptest::addBytes(data, ziptest::sampleNoise(100000, 4));
    data.insert(data.end(), 70000, 'x');
    for (int level : {1, 9}) {
        z_stream zs{};
        ASSERT_EQ(deflateInit2(&zs, level, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY), Z_OK);
        Bytes packed(deflateBound(&zs, data.size()));
        zs.next_in = const_cast<Bytef*>(data.data());
        zs.avail_in = static_cast<uInt>(data.size());
        zs.next_out = packed.data();
        zs.avail_out = static_cast<uInt>(packed.size());
        ASSERT_EQ(deflate(&zs, Z_FINISH), Z_STREAM_END);
        packed.resize(packed.size() - zs.avail_out);
        deflateEnd(&zs);
        for (bool cut : {false, true}) {
            Bytes in = cut ? Bytes(packed.begin(), packed.begin() + packed.size() / 2) : packed;
            arc::MemorySource src(in);
            arc::SequentialReader reader(src, 0, in.size());
            struct Collect : arc::OutputSink {
                Bytes got;
                bool write(const uint8_t* p, size_t n) override {
                    got.insert(got.end(), p, p + n);
                    return true;
                }
            } sink;
            arc::Status st = arc::inflateStream(reader, sink, arc::DeflateVariant::Deflate);
            EXPECT_EQ(st, cut ? arc::Status::UnexpectedEof : arc::Status::Ok) << level;
            EXPECT_EQ(sink.got == data, !cut) << level;
        }
    }
}

}  // namespace
