// bzip2 (ZIP method 12) through libbz2: the member holds one whole .bz2 stream.
#include <bzlib.h>

#include <cstring>
#include <vector>

#include "zip_method.h"

namespace arc::zip {

namespace {

constexpr size_t kBufferSize = 256 * 1024;

class Bzip2 final : public MethodDecoder {
public:
    Status decode(SequentialReader& in, const MemberFacts&, MemberOutput& out) override {
        std::vector<uint8_t> inBuf(kBufferSize), outBuf(kBufferSize);
        bz_stream bz;
        std::memset(&bz, 0, sizeof bz);
        if (BZ2_bzDecompressInit(&bz, 0, 0) != BZ_OK) return Status::MoreHeapMemory;
        Status st = run(bz, in, out, inBuf, outBuf);
        BZ2_bzDecompressEnd(&bz);
        return st;
    }

private:
    static Status run(bz_stream& bz, SequentialReader& in, MemberOutput& out, std::vector<uint8_t>& inBuf,
                      std::vector<uint8_t>& outBuf) {
        for (;;) {
            if (bz.avail_in == 0) {
                bz.next_in = reinterpret_cast<char*>(inBuf.data());
                bz.avail_in = static_cast<unsigned>(in.read(inBuf.data(), inBuf.size()));
            }
            const bool inputLeft = bz.avail_in > 0;
            bz.next_out = reinterpret_cast<char*>(outBuf.data());
            bz.avail_out = static_cast<unsigned>(outBuf.size());
            int r = BZ2_bzDecompress(&bz);
            size_t n = outBuf.size() - bz.avail_out;
            if (n > 0 && !out.write(outBuf.data(), n)) return Status::CannotWrite;
            if (r == BZ_STREAM_END) return Status::Ok;
            if (r == BZ_MEM_ERROR) return Status::MoreHeapMemory;
            if (r != BZ_OK) return Status::BrokenData;
            if (!inputLeft && n == 0) return Status::UnexpectedEof;
        }
    }
};

}  // namespace

std::unique_ptr<MethodDecoder> makeBzip2Decoder() { return std::make_unique<Bzip2>(); }

}  // namespace arc::zip
