// libFuzzer entry for the CAB reader: open (with the SFX search), list,
// extract everything into a target that discards the bytes and caps how much
// it accepts per member.
#include <cstddef>
#include <cstdint>

#include "archive.h"
#include "byte_source.h"

namespace {

class DiscardTarget final : public arc::ExtractTarget {
public:
    arc::OutputSink* begin(size_t) override {
        sink_.written = 0;
        return &sink_;
    }
    void end(size_t, arc::Status) override {}

private:
    struct Sink final : arc::OutputSink {
        // 64 MiB per member: far more than a fuzz input's folders can expand
        // to in normal cases; overlapping members beyond it take the CannotWrite path.
        static constexpr uint64_t kCap = 64ull << 20;
        uint64_t written = 0;
        bool write(const uint8_t* data, size_t n) override {
            if (n && !data) __builtin_trap();
            written += n;
            return written <= kCap;
        }
    } sink_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    arc::MemorySource src(data, size);
    (void)arc::looksLikeCab(src);
    arc::Status st;
    auto archive = arc::openCab(src, &st);
    if (!archive) return 0;
    std::vector<bool> wanted;
    for (auto& m : archive->members()) {
        if (m.name.size() > 4096) __builtin_trap();  // names are bounded by the format
        wanted.push_back(!m.isFolder);
    }
    DiscardTarget target;
    (void)archive->extract(wanted, target);
    return 0;
}
