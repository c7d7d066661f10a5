// Zstandard (ZIP method 93) through libzstd: one or more frames back to back.
#include <zstd.h>
#include <zstd_errors.h>

#include <vector>

#include "zip_method.h"

namespace arc::zip {

namespace {

// A frame may ask for a window up to 2^31; 2^27 (128 MiB) is zstd's own
// default limit and what every writer's levels stay within.
constexpr int kMaxWindowLog = 27;

class Zstd final : public MethodDecoder {
public:
    ~Zstd() override { ZSTD_freeDCtx(ctx_); }

    Status decode(SequentialReader& in, const MemberFacts&, MemberOutput& out) override {
        if (!ctx_ && !(ctx_ = ZSTD_createDCtx())) return Status::MoreHeapMemory;
        ZSTD_DCtx_reset(ctx_, ZSTD_reset_session_only);
        ZSTD_DCtx_setParameter(ctx_, ZSTD_d_windowLogMax, kMaxWindowLog);
        if (in_.empty()) in_.resize(ZSTD_DStreamInSize()), out_.resize(ZSTD_DStreamOutSize());
        ZSTD_inBuffer input{in_.data(), 0, 0};
        bool eof = false, any = false;
        size_t hint = 1;  // 0 once the last frame begun is complete
        for (;;) {
            if (input.pos == input.size && !eof) {
                input.size = in.read(in_.data(), in_.size());
                input.pos = 0;
                eof = input.size == 0;
                any = any || !eof;
            }
            ZSTD_outBuffer output{out_.data(), out_.size(), 0};
            const size_t before = input.pos;
            const size_t r = ZSTD_decompressStream(ctx_, &output, &input);
            if (ZSTD_isError(r)) {
                return ZSTD_getErrorCode(r) == ZSTD_error_memory_allocation ? Status::MoreHeapMemory
                                                                            : Status::BrokenData;
            }
            // A call that moved nothing only asks for the next frame's header.
            if (input.pos != before || output.pos > 0) hint = r;
            if (output.pos > 0 && !out.write(out_.data(), output.pos)) return Status::CannotWrite;
            // At the end of the input the decoder still hands out what it holds.
            if (eof && output.pos == 0) break;
        }
        return any && hint == 0 ? Status::Ok : Status::UnexpectedEof;
    }

private:
    ZSTD_DCtx* ctx_ = nullptr;
    std::vector<uint8_t> in_, out_;
};

}  // namespace

std::unique_ptr<MethodDecoder> makeZstdDecoder() { return std::make_unique<Zstd>(); }

}  // namespace arc::zip
