// MacLHA stores a Macintosh file in MacBinary form: a 128-byte header, the
// data fork and the resource fork, each padded to 128 bytes. Readers of the
// archive want the data fork, which is the file as other systems know it.
#pragma once

#include <cstdint>
#include <vector>

#include "archive.h"

namespace arc {

// Passes the data fork of a MacBinary stream on to `out`, or the whole
// stream unchanged when its first 128 bytes are no MacBinary header that
// fits `totalSize`, the member's size.
class MacBinaryDataFork final : public OutputSink {
public:
    MacBinaryDataFork(OutputSink& out, uint64_t totalSize) : out_(out), total_(totalSize) {}
    bool write(const uint8_t* data, size_t n) override;
    // Sends whatever is still held back (a stream shorter than a header).
    bool finish();

private:
    bool decide();

    OutputSink& out_;
    uint64_t total_;
    std::vector<uint8_t> head_;
    enum class Mode { Undecided, Fork, Plain } mode_ = Mode::Undecided;
    uint64_t forkLeft_ = 0;
};

// True when `header` (128 bytes) is a MacBinary header whose forks, padded,
// make up exactly `totalSize`; `dataLength` receives the data fork's size.
bool isMacBinaryHeader(const uint8_t* header, uint64_t totalSize, uint64_t* dataLength);

}  // namespace arc
