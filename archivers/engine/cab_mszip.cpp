// MSZIP: each CFDATA block is "CK" followed by a deflate stream that may
// refer back into the previous 32 KiB of the folder's output.
//
// Where real cabinets differ from the published description: the history
// crosses block boundaries although each block is a complete deflate stream.
// A block without a final deflate block is accepted when it yields exactly
// the declared size (the declared size is what ends a block for the peer
// tools too); data that would run on past that size is refused.
//
// Two decoders share the work. libdeflate decodes whole buffers only and
// takes no preset history, so the history goes in front of the block's
// stream as one stored deflate block: a stored block ends on a byte
// boundary, where the block's own stream begins, and its bytes become the
// first output, which later distances may reach. Every block libdeflate does
// not turn into exactly the declared size is decoded again by zlib with the
// history as its dictionary, which gives the verdict on broken data and
// accepts a stream that fills the block without a final deflate block.
#include <libdeflate.h>
#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "cab_block_decoder.h"
#include "cab_format.h"

namespace arc {
namespace {

constexpr size_t kHistory = 32768;  // deflate's largest distance
// A non-final stored block: a header byte (BFINAL 0, BTYPE 00, padding),
// LEN and its complement, little-endian.
constexpr size_t kStoredHeader = 5;
// A block's stream as one CFDATA record holds it (cbData is 16-bit, less
// "CK"); a longer one, joined from a block split across cabinets, goes to zlib.
constexpr size_t kMaxFastStream = 65535 - 2;

class MszipDecoder final : public CabBlockDecoder {
public:
    ~MszipDecoder() override {
        if (fast_) libdeflate_free_decompressor(fast_);
        if (zlibReady_) inflateEnd(&z_);
    }
    bool init() {
        fast_ = libdeflate_alloc_decompressor();
        input_.reset(new uint8_t[kStoredHeader + kHistory + kMaxFastStream]);
        output_.reset(new uint8_t[kHistory + kCabMaxBlockOutput]);
        std::memset(&z_, 0, sizeof z_);
        zlibReady_ = inflateInit2(&z_, -15) == Z_OK;
        return fast_ && zlibReady_;
    }

    Status decodeBlock(const uint8_t* in, size_t inLen, uint8_t* out, size_t outLen) override {
        if (inLen < 2 || in[0] != 'C' || in[1] != 'K') return Status::BrokenData;
        if (outLen > kCabMaxBlockOutput) return Status::BrokenData;
        if (!decodeFast(in + 2, inLen - 2, out, outLen)) {
            Status st = decodeWithZlib(in + 2, inLen - 2, out, outLen);
            if (!ok(st)) return st;
        }
        remember(out, outLen);
        return Status::Ok;
    }

private:
    // The history as a stored block, then the block's stream; true when
    // libdeflate yielded exactly outLen bytes after the history.
    bool decodeFast(const uint8_t* in, size_t inLen, uint8_t* out, size_t outLen) {
        if (inLen > kMaxFastStream) return false;
        uint8_t* stream = input_.get();
        const uint16_t len = static_cast<uint16_t>(historyLen_), nlen = static_cast<uint16_t>(~len);
        stream[0] = 0;
        stream[1] = static_cast<uint8_t>(len);
        stream[2] = static_cast<uint8_t>(len >> 8);
        stream[3] = static_cast<uint8_t>(nlen);
        stream[4] = static_cast<uint8_t>(nlen >> 8);
        std::memcpy(stream + kStoredHeader + historyLen_, in, inLen);
        const size_t streamLen = kStoredHeader + historyLen_ + inLen;
        const size_t want = historyLen_ + outLen;
        size_t got = 0;
        if (libdeflate_deflate_decompress(fast_, stream, streamLen, output_.get(), want, &got) != LIBDEFLATE_SUCCESS ||
            got != want)
            return false;
        std::memcpy(out, output_.get() + historyLen_, outLen);
        return true;
    }

    Status decodeWithZlib(const uint8_t* in, size_t inLen, uint8_t* out, size_t outLen) {
        if (inflateReset(&z_) != Z_OK) return Status::BrokenData;
        if (historyLen_ > 0 && inflateSetDictionary(&z_, history(), static_cast<uInt>(historyLen_)) != Z_OK)
            return Status::BrokenData;
        z_.next_in = const_cast<Bytef*>(in);
        z_.avail_in = static_cast<uInt>(inLen);
        z_.next_out = out;
        z_.avail_out = static_cast<uInt>(outLen);
        int rc = inflate(&z_, Z_FINISH);
        if (z_.avail_out != 0) return Status::BrokenData;  // the stream ended (or broke) short of the size
        if (rc != Z_STREAM_END) {
            // Full without a final block: accepted only if the data holds no
            // further byte, i.e. the block declared its true size.
            if (rc != Z_OK && rc != Z_BUF_ERROR) return Status::BrokenData;
            uint8_t extra;
            z_.next_out = &extra;
            z_.avail_out = 1;
            rc = inflate(&z_, Z_SYNC_FLUSH);
            if (z_.avail_out == 0 || rc == Z_DATA_ERROR || rc == Z_NEED_DICT || rc == Z_MEM_ERROR)
                return Status::BrokenData;
        }
        return Status::Ok;
    }

    // The history lives where decodeFast() wants it: after the stored
    // block's header at the front of the input buffer.
    uint8_t* history() { return input_.get() + kStoredHeader; }

    // Keeps the last 32 KiB of output for the next block.
    void remember(const uint8_t* out, size_t n) {
        uint8_t* h = history();
        if (n >= kHistory) {
            std::memcpy(h, out + n - kHistory, kHistory);
            historyLen_ = kHistory;
        } else {
            size_t keep = std::min(historyLen_, kHistory - n);
            std::memmove(h, h + historyLen_ - keep, keep);
            std::memcpy(h + keep, out, n);
            historyLen_ = keep + n;
        }
    }

    libdeflate_decompressor* fast_ = nullptr;
    z_stream z_;
    bool zlibReady_ = false;
    // Stored block header, history (historyLen_ bytes), then the block's stream.
    std::unique_ptr<uint8_t[]> input_;
    std::unique_ptr<uint8_t[]> output_;  // history and the block's output, as libdeflate writes them
    size_t historyLen_ = 0;
};

}  // namespace

std::unique_ptr<CabBlockDecoder> makeMszipDecoder() {
    auto d = std::make_unique<MszipDecoder>();
    if (!d->init()) return nullptr;
    return d;
}

}  // namespace arc
