// Deflate through zlib, streaming (members of any size), and Deflate64
// through our own inflater.
#include <zlib.h>

#include <cstring>
#include <vector>

#include "inflate64.h"
#include "zip_method.h"

namespace arc::zip {

namespace {

// 256 KiB each way: large enough that per-call overhead in the source, zlib
// and the sink disappears next to the decoding work.
constexpr size_t kBufferSize = 256 * 1024;

class ZlibInflater final : public MethodDecoder {
public:
    ~ZlibInflater() override {
        if (ready_) inflateEnd(&zs_);
    }

    Status decode(SequentialReader& in, const MemberFacts&, MemberOutput& out) override {
        if (!reset()) return Status::MoreHeapMemory;
        if (in_.empty()) in_.resize(kBufferSize), out_.resize(kBufferSize);
        zs_.avail_in = 0;
        for (;;) {
            if (zs_.avail_in == 0) {
                zs_.next_in = in_.data();
                zs_.avail_in = static_cast<uInt>(in.read(in_.data(), in_.size()));
            }
            const bool inputLeft = zs_.avail_in > 0;
            zs_.next_out = out_.data();
            zs_.avail_out = static_cast<uInt>(out_.size());
            int r = ::inflate(&zs_, Z_NO_FLUSH);
            size_t n = out_.size() - zs_.avail_out;
            if (n > 0 && !out.write(out_.data(), n)) return Status::CannotWrite;
            if (r == Z_STREAM_END) return Status::Ok;
            if (r == Z_MEM_ERROR) return Status::MoreHeapMemory;
            if (r != Z_OK && r != Z_BUF_ERROR) return Status::BrokenData;
            // No input left and no output room was needed: the stream is cut off.
            if (!inputLeft && n == 0) return Status::UnexpectedEof;
        }
    }

private:
    // Raw deflate (no zlib wrapper), as ZIP stores it; one state for every member.
    bool reset() {
        if (ready_) return inflateReset(&zs_) == Z_OK;
        std::memset(&zs_, 0, sizeof zs_);
        ready_ = inflateInit2(&zs_, -15) == Z_OK;
        return ready_;
    }

    z_stream zs_{};
    bool ready_ = false;
    std::vector<uint8_t> in_, out_;
};

class Deflate64 final : public MethodDecoder {
public:
    Status decode(SequentialReader& in, const MemberFacts&, MemberOutput& out) override {
        return inflateStream(in, out, DeflateVariant::Deflate64);
    }
};

}  // namespace

std::unique_ptr<MethodDecoder> makeDeflateStreamDecoder() { return std::make_unique<ZlibInflater>(); }
std::unique_ptr<MethodDecoder> makeDeflate64Decoder() { return std::make_unique<Deflate64>(); }

}  // namespace arc::zip
