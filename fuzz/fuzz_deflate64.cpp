// libFuzzer entry for the ZIP Deflate64 decoder on raw member data (layout:
// fuzz_harness.h, RunZipMethod).
#include "fuzz_harness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return fuzzing::RunZipMethod(data, size, arc::zip::makeDeflate64Decoder);
}
