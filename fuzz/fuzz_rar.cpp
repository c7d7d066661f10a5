// libFuzzer entry for the RAR reader over libarchive: detect, open, list and
// extract every member. The input is opened as "f.part1.rar"; when it says it
// is a volume, the input itself is its second volume, so reading across
// volumes (and sets whose volumes disagree) is fuzzed as well.
#include "fuzz_harness.h"

namespace {

const uint8_t* gData = nullptr;
size_t gSize = 0;

std::unique_ptr<arc::ByteSource> secondVolume(const std::string& name) {
    if (name != "f.part2.rar") return nullptr;
    return std::make_unique<arc::MemorySource>(gData, gSize);
}

std::unique_ptr<arc::Archive> openAsVolume(arc::ByteSource& src, arc::Status* status) {
    return arc::openRar(src, status, secondVolume, "f.part1.rar");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    gData = data;
    gSize = size;
    return fuzzing::RunArchive(data, size, arc::looksLikeRar, openAsVolume);
}
