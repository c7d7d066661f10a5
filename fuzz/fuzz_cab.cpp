// libFuzzer entry for the cabinet reader: detect, open (self-extracting
// programs and cabinets stored one after another included), list, and
// extract every member. A previous or next cabinet named in a header is the
// input from its second "MSCF" on (the whole input when there is none), so
// sets joined in both directions, their folders and loops in the chain of
// names are fuzzed as well.
#include <algorithm>
#include <cstring>

#include "fuzz_harness.h"

namespace {

const uint8_t* gData = nullptr;
size_t gSize = 0;

std::unique_ptr<arc::ByteSource> namedPart(const std::string&) {
    static const uint8_t kSignature[] = {'M', 'S', 'C', 'F'};
    const uint8_t* end = gData + gSize;
    const uint8_t* first = std::search(gData, end, kSignature, kSignature + 4);
    const uint8_t* second = first == end ? end : std::search(first + 1, end, kSignature, kSignature + 4);
    if (second == end) return std::make_unique<arc::MemorySource>(gData, gSize);
    return std::make_unique<arc::MemorySource>(second, static_cast<size_t>(end - second));
}

std::unique_ptr<arc::Archive> openAsSet(arc::ByteSource& src, arc::Status* status) {
    return arc::openCab(src, status, namedPart);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    gData = data;
    gSize = size;
    return fuzzing::RunArchive(data, size, arc::looksLikeCab, openAsSet);
}
