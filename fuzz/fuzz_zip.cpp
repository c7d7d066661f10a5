// libFuzzer entry for the ZIP reader: open, list, extract everything into a
// target that discards the bytes and caps how much it accepts per member.
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
        // 64 MiB per member: enough for any real member of a fuzz input, and a
        // refusal beyond it exercises the CannotWrite path.
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
    (void)arc::looksLikeZip(src);
    arc::Status st;
    auto archive = arc::openZip(src, &st);
    if (!archive) return 0;
    std::vector<bool> wanted;
    uint64_t total = 0;
    for (const arc::Member& m : archive->members()) {
        total += m.name.size() + m.method.size();
        wanted.push_back(!m.isFolder);
    }
    (void)total;
    DiscardTarget target;
    archive->extract(wanted, target);
    return 0;
}
