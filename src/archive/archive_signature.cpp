#include "archive/archive_signature.h"

#include <cstring>

namespace quibex {

namespace {
struct Signature {
    ReaderKind kind;
    const char* bytes;
    size_t size;
};
const Signature kSignatures[] = {
    {ReaderKind::SevenZip, "7z\xBC\xAF\x27\x1C", 6},
    {ReaderKind::Rar, "Rar!\x1A\x07\x00", 7},
    {ReaderKind::Rar, "Rar!\x1A\x07\x01\x00", 8},
};
}  // namespace

std::optional<ReaderKind> KindBySignature(const unsigned char* head, size_t size) {
    for (const Signature& s : kSignatures) {
        static_assert(kSignatureBytes >= 8, "the longest signature must fit the bytes read");
        if (size >= s.size && std::memcmp(head, s.bytes, s.size) == 0) return s.kind;
    }
    return std::nullopt;
}

}  // namespace quibex
