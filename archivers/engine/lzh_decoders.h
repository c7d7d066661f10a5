// The LZH member decoders. Each one reads packed bits through an
// LzhBitReader (or bytes through a SequentialReader), writes into an
// LzhWindow until the window's output size is reached, and returns
// BrokenData for impossible codes or UnexpectedEof when the packed data ends
// first. None of them allocates by header-claimed sizes.
#pragma once

#include <string>

#include "byte_source.h"
#include "lzh_bits.h"
#include "lzh_window.h"
#include "status.h"

namespace arc {

// -lh4- .. -lh7- (and -lhx-): blocks of static Huffman codes.
Status lzhDecodeStatic(LzhBitReader& br, LzhWindow& out, int dictBits);
// -lh1-: adaptive Huffman literals/lengths, fixed position code, 4 KiB.
Status lzhDecodeLh1(LzhBitReader& br, LzhWindow& out);
// -lh2-: adaptive Huffman for literals/lengths and positions, 8 KiB.
Status lzhDecodeLh2(LzhBitReader& br, LzhWindow& out);
// -lh3-: blocks of static Huffman codes sent as plain length lists, 8 KiB.
Status lzhDecodeLh3(LzhBitReader& br, LzhWindow& out);
// -lzs-: LArc, 2 KiB window, flag bit + literal or 11-bit position/4-bit length.
Status lzhDecodeLzs(LzhBitReader& br, LzhWindow& out);
// -lz5-: LArc / LHarc, 4 KiB window, flag bytes.
Status lzhDecodeLz5(SequentialReader& in, LzhWindow& out);
// -pm1-: PMarc 1, byte runs and copies with fixed codes that widen as the
// output grows, 16 KiB window.
Status lzhDecodePm1(LzhBitReader& br, LzhWindow& out);
// -pm2-: PMarc 2, copies and literals under a code sent in the stream and
// renewed at fixed output counts, 8 KiB window.
Status lzhDecodePm2(LzhBitReader& br, LzhWindow& out);

// Decodes one member's packed bytes [offset, offset + packedSize) of `src`
// into `sink`; *crc receives the CRC-16 of what was written. Method for
// methods we do not decode.
Status lzhDecodeMember(const std::string& method, ByteSource& src, uint64_t offset, uint64_t packedSize,
                       uint64_t originalSize, OutputSink& sink, uint16_t* crc);
// True for the methods lzhDecodeMember accepts.
bool lzhMethodSupported(const std::string& method);

}  // namespace arc
