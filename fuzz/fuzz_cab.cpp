// libFuzzer entry for the cabinet reader: detect, open (self-extracting
// programs and cabinets stored one after another included), list, and
// extract every member. A previous or next cabinet named in a header is the
// input again, so sets, their joins and loops in the chain are fuzzed as well.
#include "fuzz_harness.h"

namespace {

const uint8_t* gData = nullptr;
size_t gSize = 0;

std::unique_ptr<arc::Archive> openAsSet(arc::ByteSource& src, arc::Status* status) {
    return arc::openCab(src, status, [](const std::string&) -> std::unique_ptr<arc::ByteSource> {
        return std::make_unique<arc::MemorySource>(gData, gSize);
    });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    gData = data;
    gSize = size;
    return fuzzing::RunArchive(data, size, arc::looksLikeCab, openAsSet);
}
