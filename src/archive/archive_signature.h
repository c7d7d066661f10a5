// Recognising a 7z or RAR archive by its first bytes, for files whose
// extension names no kind (a downloaded ".bin", a volume renamed by a
// browser). Pure, tested natively.
#pragma once

#include <cstddef>
#include <optional>

#include "archive/reader_family.h"

namespace quibex {

// How many leading bytes KindBySignature looks at.
inline constexpr size_t kSignatureBytes = 8;

// The kind whose signature `head` starts with: 7z "7z" BC AF 27 1C, RAR
// "Rar!" 1A 07 00 (RAR 1.5 to 4) or "Rar!" 1A 07 01 00 (RAR 5); nothing for
// any other start or a file shorter than its signature.
std::optional<ReaderKind> KindBySignature(const unsigned char* head, size_t size);

}  // namespace quibex
