// Stands in until the LZX decoder lands: folders that need LZX fail with Status::Method.
#include "cab_block_decoder.h"

namespace arc {

std::unique_ptr<CabBlockDecoder> makeLzxDecoder(unsigned) { return nullptr; }

}  // namespace arc
