// MSZIP: each CFDATA block is "CK" followed by a deflate stream that may
// refer back into the previous 32 KiB of the folder's output. zlib inflates
// each block raw with that history set as its dictionary.
//
// Where real cabinets differ from the published description: the history
// crosses block boundaries although each block is a complete deflate stream.
// A block without a final deflate block is accepted when it yields exactly
// the declared size (the declared size is what ends a block for the peer
// tools too); data that would run on past that size is refused.
#include <algorithm>
#include <cstring>
#include <vector>

#include <zlib.h>

#include "cab_block_decoder.h"

namespace arc {
namespace {

constexpr size_t kHistory = 32768;  // deflate's largest distance

class MszipDecoder final : public CabBlockDecoder {
public:
    MszipDecoder() { history_.reserve(2 * kHistory); }
    ~MszipDecoder() override {
        if (ready_) inflateEnd(&z_);
    }
    bool init() {
        std::memset(&z_, 0, sizeof z_);
        ready_ = inflateInit2(&z_, -15) == Z_OK;
        return ready_;
    }

    Status decodeBlock(const uint8_t* in, size_t inLen, uint8_t* out, size_t outLen) override {
        if (inLen < 2 || in[0] != 'C' || in[1] != 'K') return Status::BrokenData;
        if (inflateReset(&z_) != Z_OK) return Status::BrokenData;
        if (!history_.empty() &&
            inflateSetDictionary(&z_, history_.data(), static_cast<uInt>(history_.size())) != Z_OK)
            return Status::BrokenData;
        z_.next_in = const_cast<Bytef*>(in + 2);
        z_.avail_in = static_cast<uInt>(inLen - 2);
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
        remember(out, outLen);
        return Status::Ok;
    }

private:
    // Keeps the last 32 KiB of output for the next block's dictionary.
    void remember(const uint8_t* out, size_t n) {
        if (n >= kHistory) {
            history_.assign(out + n - kHistory, out + n);
            return;
        }
        size_t keep = std::min(history_.size(), kHistory - n);
        history_.erase(history_.begin(), history_.end() - keep);
        history_.insert(history_.end(), out, out + n);
    }

    z_stream z_;
    bool ready_ = false;
    std::vector<uint8_t> history_;
};

}  // namespace

std::unique_ptr<CabBlockDecoder> makeMszipDecoder() {
    auto d = std::make_unique<MszipDecoder>();
    if (!d->init()) return nullptr;
    return d;
}

}  // namespace arc
