// MSZIP: each CFDATA block is "CK" followed by a deflate stream that may
// refer back into the previous 32 KiB of the folder's output. zlib inflates
// each block raw with that history set as its dictionary.
//
// Where real cabinets differ from the published description: some writers end
// a block's deflate data without a final block; the block is accepted once it
// produced exactly the declared size.
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
        // Z_STREAM_END: a final block ended the data. Z_BUF_ERROR with full
        // output: the block filled its size without a final block (or ran on).
        bool full = z_.avail_out == 0;
        if (rc == Z_STREAM_END ? !full : !(full && (rc == Z_BUF_ERROR || rc == Z_OK))) return Status::BrokenData;
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
