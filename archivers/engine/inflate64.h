// Our own inflater for Deflate64 (ZIP method 9), which zlib does not read,
// and for plain deflate, which shares every rule but three: Deflate64 has a
// 64 KiB window, length code 285 takes 16 extra bits (lengths 3..65538)
// instead of meaning 258, and distance codes 30 and 31 (32769.. and 49153..,
// 14 extra bits each) are valid.
#pragma once

#include "archive.h"
#include "byte_source.h"
#include "status.h"

namespace arc {

enum class DeflateVariant { Deflate, Deflate64 };

// Decodes one stream from `in` up to its final block into `out`. Ok at the
// stream's end; BrokenData for invalid codes, block types, lengths or
// distances reaching before the first byte; UnexpectedEof when the packed
// bytes end first; CannotWrite when `out` refuses bytes.
Status inflateStream(SequentialReader& in, OutputSink& out, DeflateVariant variant);

}  // namespace arc
