// LZX block decoder on raw CFDATA payloads. Input layout: one byte selecting
// the window (15 + b % 7), then blocks of [out size - 1 (LE16, mod 32768)]
// [payload size (LE16)][payload], decoded in order as one folder.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "cab_block_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    auto dec = arc::makeLzxDecoder(15 + data[0] % 7);
    size_t at = 1;
    std::vector<uint8_t> out;
    while (size - at >= 4) {
        size_t outLen = ((data[at] | (data[at + 1] << 8)) & 0x7FFF) + 1;
        size_t inLen = data[at + 2] | (data[at + 3] << 8);
        at += 4;
        if (inLen > size - at) inLen = size - at;
        // Exact-size copies so the sanitizer sees any read past the payload.
        std::vector<uint8_t> in(data + at, data + at + inLen);
        out.assign(outLen, 0);
        at += inLen;
        if (dec->decodeBlock(in.data(), in.size(), out.data(), out.size()) != arc::Status::Ok) break;
    }
    return 0;
}
