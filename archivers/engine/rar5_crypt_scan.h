// Which file headers of a RAR 5 archive carry a file encryption record.
// libarchive 3.6 skips that record and then fails on the member's data as
// if it were broken; this scan lets such a failure be reported for what it is.
#pragma once

#include <vector>

#include "byte_source.h"

namespace arc {

// One flag per file header, in archive order; empty when `src` does not start
// with a RAR 5 signature or its headers are encrypted as a whole.
std::vector<bool> rar5EncryptedFileHeaders(ByteSource& src);

}  // namespace arc
