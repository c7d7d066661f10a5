// Method dispatch: which decoder and dictionary each LZH method name means.
#include <memory>

#include "lzh_crc16.h"
#include "lzh_decoders.h"

namespace arc {

namespace {

enum class Kind { Stored, Static, Lh1, Lh2, Lh3, Lzs, Lz5, Pm1, Pm2, Unknown };

struct MethodInfo {
    Kind kind;
    int dictBits;
};

MethodInfo lookup(const std::string& m) {
    static const struct {
        const char* name;
        MethodInfo info;
    } table[] = {
        {"-lh0-", {Kind::Stored, 0}},  {"-lz4-", {Kind::Stored, 0}},  {"-pm0-", {Kind::Stored, 0}},
        {"-lh1-", {Kind::Lh1, 12}},    {"-lh2-", {Kind::Lh2, 13}},    {"-lh3-", {Kind::Lh3, 13}},
        {"-lh4-", {Kind::Static, 12}}, {"-lh5-", {Kind::Static, 13}}, {"-lh6-", {Kind::Static, 15}},
        {"-lh7-", {Kind::Static, 16}}, {"-lhx-", {Kind::Static, 20}}, {"-lzs-", {Kind::Lzs, 11}},
        {"-lz5-", {Kind::Lz5, 12}},    {"-pm1-", {Kind::Pm1, 14}},    {"-pm2-", {Kind::Pm2, 13}},
    };
    for (const auto& e : table)
        if (m == e.name) return e.info;
    return {Kind::Unknown, 0};
}

Status copyStored(SequentialReader& in, uint64_t size, OutputSink& sink, uint16_t* crc) {
    std::unique_ptr<uint8_t[]> buf(new uint8_t[64 * 1024]);
    uint16_t c = 0;
    while (size > 0) {
        size_t want = static_cast<size_t>(size < 65536 ? size : 65536);
        size_t got = in.read(buf.get(), want);
        c = lzhCrc16(c, buf.get(), got);
        if (got && !sink.write(buf.get(), got)) return Status::CannotWrite;
        size -= got;
        *crc = c;
        if (got < want) return Status::UnexpectedEof;
    }
    *crc = c;
    return Status::Ok;
}

}  // namespace

bool lzhMethodSupported(const std::string& method) { return lookup(method).kind != Kind::Unknown; }

Status lzhDecodeMember(const std::string& method, ByteSource& src, uint64_t offset, uint64_t packedSize,
                       uint64_t originalSize, OutputSink& sink, uint16_t* crc) {
    *crc = 0;
    MethodInfo info = lookup(method);
    if (info.kind == Kind::Unknown) return Status::Method;
    auto in = std::make_unique<SequentialReader>(src, offset, packedSize);
    if (info.kind == Kind::Stored) {
        // A stored member holds exactly its bytes; a header claiming otherwise is broken.
        if (packedSize != originalSize) return Status::BrokenData;
        return copyStored(*in, originalSize, sink, crc);
    }
    LzhWindow out(sink, originalSize, info.dictBits);
    Status st;
    if (info.kind == Kind::Lz5) {
        st = lzhDecodeLz5(*in, out);
    } else {
        LzhBitReader br(*in);
        switch (info.kind) {
        case Kind::Static: st = lzhDecodeStatic(br, out, info.dictBits); break;
        case Kind::Lh1: st = lzhDecodeLh1(br, out); break;
        case Kind::Lh2: st = lzhDecodeLh2(br, out); break;
        case Kind::Lh3: st = lzhDecodeLh3(br, out); break;
        case Kind::Pm1: st = lzhDecodePm1(br, out); break;
        case Kind::Pm2: st = lzhDecodePm2(br, out); break;
        default: st = lzhDecodeLzs(br, out); break;
        }
    }
    if (st == Status::Ok) out.flush();
    *crc = out.crc();
    if (out.sinkFailed()) return Status::CannotWrite;
    return st;
}

}  // namespace arc
