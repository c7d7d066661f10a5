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

// One piece of a folder: its entry in one cabinet of a set. A folder that
// runs on into the next cabinet has one piece per cabinet; its last block in
// one cabinet may be split (uncompressed size 0 there) and end in the next.
struct CabSegment {
    ByteSource* cab = nullptr;  // the cabinet, offsets from its first byte
    const CabDirectory* dir = nullptr;
    const CabFolder* folder = nullptr;
};

class CabFolderStream {
public:
    // `budget`: bytes of CFDATA (headers and payloads) the caller still lets
    // this extraction read, shared by all its folders. Real folders never
    // share data, so a budget of about the cabinets' size suffices; crafted
    // folders that all point at the same blocks run out instead of
    // multiplying the work. `continuesInMissingPart`: the folder goes on in
    // a cabinet that is not there; reaching that point is NotFindArcFile.
    CabFolderStream(std::vector<CabSegment> segments, bool continuesInMissingPart, uint64_t& budget);
    // Creates the decoder; Method when the folder's method cannot be decoded.
    Status start();
    bool atEnd() const;
    // Reads the next block's header(s): *n is its uncompressed size (1..32768).
    Status nextHeader(size_t* n);
    // Decodes the block whose header nextHeader() read; *data holds its
    // bytes until the next call. With `needed` false a stored block is
    // stepped over unread and *data is null (compressed blocks always decode:
    // later blocks depend on them).
    Status decodeBody(bool needed, const uint8_t** data);

private:
    // One CFDATA record; a split block has one per cabinet it touches.
    struct Part {
        ByteSource* cab;
        uint64_t payloadAt;
        size_t packed;
        uint32_t csum;
        uint8_t head[kCabDataHeaderSize + 255];  // header plus reserve: cbCFData is 8-bit
        size_t headLen;
    };
    bool nextSegment();
    Status readPart(Part* part, size_t* unpacked);
    // Bytes [at, at + n) of `cab`, through a read-ahead buffer: blocks lie
    // one after another, so one read serves many headers and payloads.
    // Null when the cabinet holds fewer bytes.
    const uint8_t* view(ByteSource* cab, uint64_t at, size_t n);

    std::vector<CabSegment> segments_;
    bool missingNext_;
    uint64_t& budget_;
    std::unique_ptr<CabBlockDecoder> decoder_;
    size_t segment_ = 0;
    uint64_t offset_;      // next CFDATA header in the current segment's cabinet
    unsigned blocksLeft_;  // of the current segment
    std::vector<Part> parts_;
    size_t unpacked_ = 0;
    std::vector<uint8_t> in_;   // a split block's payload, parts joined
    std::vector<uint8_t> ahead_;  // read-ahead of the current cabinet
    ByteSource* aheadCab_ = nullptr;
    uint64_t aheadAt_ = 0;
    size_t aheadLen_ = 0;
    std::vector<uint8_t> out_;  // one block's output: at most kCabMaxBlockOutput
};

}  // namespace arc
