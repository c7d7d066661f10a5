// One folder's CFDATA blocks read front to back: bounds, checksums, and the
// method's decoder. Yields the folder's uncompressed stream one block at a time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "byte_source.h"
#include "cab_block_decoder.h"
#include "cab_format.h"
#include "status.h"

namespace arc {

// The CFDATA checksum: 32-bit little-endian words XORed together, a short
// tail folded in big-endian order, chained through `seed`.
uint32_t cabChecksum(const uint8_t* data, size_t n, uint32_t seed);

// Method name a member of this folder reports ("none", "mszip", "quantum", "lzx", "unknown").
const char* cabMethodName(const CabFolder& folder);

// A block decoder for the folder's method, or null with *error set (Method for
// unknown methods, window sizes outside the method's range, or a decoder that
// is not built in). Stored folders get a copying decoder.
std::unique_ptr<CabBlockDecoder> makeCabFolderDecoder(const CabFolder& folder, Status* error);

class CabFolderStream {
public:
    // `budget`: bytes of CFDATA (headers and payloads) the caller still lets
    // this extraction read, shared by all its folders. Real folders never
    // share data, so a budget of about the cabinet's size suffices; crafted
    // folders that all point at the same blocks run out instead of
    // multiplying the work.
    CabFolderStream(ByteSource& cab, const CabDirectory& dir, const CabFolder& folder, uint64_t& budget);
    // Creates the decoder; Method when the folder's method cannot be decoded.
    Status start();
    bool atEnd() const { return blocksLeft_ == 0; }
    // Reads the next block's header: *n is its uncompressed size (1..32768).
    // NotSupport: the block continues in the next cabinet.
    Status nextHeader(size_t* n);
    // Decodes the block whose header nextHeader() read; *data holds its
    // bytes until the next call. With `needed` false a stored block is
    // stepped over unread and *data is null (compressed blocks always decode:
    // later blocks depend on them).
    Status decodeBody(bool needed, const uint8_t** data);

private:
    ByteSource& cab_;
    const CabDirectory& dir_;
    const CabFolder& folder_;
    uint64_t& budget_;
    std::unique_ptr<CabBlockDecoder> decoder_;
    uint64_t offset_;      // next CFDATA header
    unsigned blocksLeft_;
    uint32_t csum_ = 0;
    size_t packed_ = 0, unpacked_ = 0;
    uint64_t payloadAt_ = 0;
    uint8_t head_[kCabDataHeaderSize + 255];  // header plus reserve: cbCFData is 8-bit
    size_t headLen_ = 0;
    std::vector<uint8_t> in_;   // one payload: cbData is 16-bit, so 65535 bytes suffice
    std::vector<uint8_t> out_;  // one block's output: at most kCabMaxBlockOutput
};

}  // namespace arc
