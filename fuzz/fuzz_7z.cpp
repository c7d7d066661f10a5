// libFuzzer entry for the 7z reader over libarchive: detect, open (self-
// extracting programs included), list, and extract every member.
#include "fuzz_harness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return fuzzing::RunArchive(data, size, arc::looksLikeSevenZip, arc::openSevenZip);
}
