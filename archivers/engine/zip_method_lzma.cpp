// LZMA (ZIP method 14) and xz (method 95) through liblzma.
//
// An LZMA member starts with its own small header: the LZMA SDK version
// (2 bytes), the properties' size (2 bytes, always 5) and the properties
// (lc/lp/pb in one byte, the dictionary size in four). General-purpose flag
// bit 1 says the stream ends with an end marker; without it the stream ends
// at the uncompressed size. An xz member is one whole .xz stream.
#include <lzma.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "zip_method.h"

namespace arc::zip {

namespace {

constexpr size_t kBufferSize = 256 * 1024;
// Decoder memory a member may ask for: far beyond any writer's largest
// dictionary, well below what a crafted header could demand.
constexpr uint64_t kMemoryLimit = (sizeof(void*) == 4 ? 512ull : 2048ull) << 20;
constexpr uint32_t kMinDictionary = 4096;

Status fromLzma(lzma_ret r) {
    switch (r) {
    case LZMA_MEM_ERROR:
    case LZMA_MEMLIMIT_ERROR: return Status::MoreHeapMemory;
    case LZMA_BUF_ERROR: return Status::UnexpectedEof;
    default: return Status::BrokenData;
    }
}

// Runs an initialised stream over the rest of `in` up to LZMA_STREAM_END.
Status pump(lzma_stream& strm, SequentialReader& in, MemberOutput& out) {
    std::vector<uint8_t> inBuf(kBufferSize), outBuf(kBufferSize);
    lzma_action action = LZMA_RUN;
    for (;;) {
        if (strm.avail_in == 0 && action == LZMA_RUN) {
            strm.next_in = inBuf.data();
            strm.avail_in = in.read(inBuf.data(), inBuf.size());
            if (strm.avail_in == 0) action = LZMA_FINISH;
        }
        strm.next_out = outBuf.data();
        strm.avail_out = outBuf.size();
        lzma_ret r = lzma_code(&strm, action);
        size_t n = outBuf.size() - strm.avail_out;
        if (n > 0 && !out.write(outBuf.data(), n)) return Status::CannotWrite;
        if (r == LZMA_STREAM_END) return Status::Ok;
        if (r != LZMA_OK) return fromLzma(r);
    }
}

class StreamGuard {
public:
    explicit StreamGuard(lzma_stream& s) : s_(s) {}
    ~StreamGuard() { lzma_end(&s_); }
    StreamGuard(const StreamGuard&) = delete;
    StreamGuard& operator=(const StreamGuard&) = delete;

private:
    lzma_stream& s_;
};

class Lzma final : public MethodDecoder {
public:
    Status decode(SequentialReader& in, const MemberFacts& facts, MemberOutput& out) override {
        uint8_t head[9];
        if (in.read(head, sizeof head) != sizeof head) return Status::UnexpectedEof;
        const unsigned propsSize = head[2] | (head[3] << 8);
        if (propsSize != 5) return Status::BrokenData;
        lzma_filter filters[2] = {{LZMA_FILTER_LZMA1, nullptr}, {LZMA_VLI_UNKNOWN, nullptr}};
        if (lzma_properties_decode(&filters[0], nullptr, head + 4, 5) != LZMA_OK) return Status::BrokenData;
        auto* options = static_cast<lzma_options_lzma*>(filters[0].options);
        // Distances never reach before the first byte, so a dictionary as
        // large as the member holds all of them.
        const uint64_t needed = std::max<uint64_t>(facts.size, kMinDictionary);
        options->dict_size = static_cast<uint32_t>(std::min<uint64_t>(options->dict_size, needed));
        filters[0].id = LZMA_FILTER_LZMA1EXT;
        options->ext_flags = LZMA_LZMA1EXT_ALLOW_EOPM;  // an end marker may follow the last byte
        lzma_set_ext_size(*options, facts.size);
        Status st = Status::MoreHeapMemory;
        if (lzma_raw_decoder_memusage(filters) <= kMemoryLimit) {
            lzma_stream strm = LZMA_STREAM_INIT;
            lzma_ret r = lzma_raw_decoder(&strm, filters);
            if (r == LZMA_OK) {
                StreamGuard guard(strm);
                st = pump(strm, in, out);
            } else {
                st = fromLzma(r);
            }
        }
        std::free(options);
        return st;
    }
};

class Xz final : public MethodDecoder {
public:
    Status decode(SequentialReader& in, const MemberFacts&, MemberOutput& out) override {
        lzma_stream strm = LZMA_STREAM_INIT;
        lzma_ret r = lzma_stream_decoder(&strm, kMemoryLimit, 0);
        if (r != LZMA_OK) return fromLzma(r);
        StreamGuard guard(strm);
        return pump(strm, in, out);
    }
};

}  // namespace

std::unique_ptr<MethodDecoder> makeLzmaDecoder() { return std::make_unique<Lzma>(); }
std::unique_ptr<MethodDecoder> makeXzDecoder() { return std::make_unique<Xz>(); }

}  // namespace arc::zip
