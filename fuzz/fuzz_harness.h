// The part every archive fuzzer shares: open the input as an archive, list it
// and extract every member into a sink that touches and discards the bytes,
// capped per input so headers promising gigabytes still finish quickly.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "archive.h"
#include "byte_source.h"

namespace fuzzing {

class DiscardTarget final : public arc::ExtractTarget {
public:
    explicit DiscardTarget(arc::PasswordSource* passwords = nullptr) : passwords_(passwords) {}
    arc::OutputSink* begin(size_t) override { return &sink_; }
    void end(size_t, arc::Status) override {}
    arc::PasswordSource* passwords() override { return passwords_; }

private:
    arc::PasswordSource* passwords_;
    struct Sink final : arc::OutputSink {
        // Enough for any member a fuzz input can really hold; refusing beyond
        // it exercises the readers' CannotWrite path.
        size_t left = 16u << 20;
        uint8_t last = 0;
        bool write(const uint8_t* data, size_t n) override {
            if (n > left) return false;
            left -= n;
            if (n) last = data[n - 1];  // read the output so the sanitizer checks it
            return true;
        }
    } sink_;
};

using Opener = std::unique_ptr<arc::Archive> (*)(arc::ByteSource&, arc::Status*);
using Checker = bool (*)(arc::ByteSource&);

inline int RunArchive(const uint8_t* data, size_t size, Checker looksLike, Opener open,
                      arc::PasswordSource* passwords = nullptr) {
    arc::MemorySource src(data, size);
    (void)looksLike(src);
    arc::Status status;
    auto archive = open(src, &status);
    if (!archive) return 0;
    std::vector<bool> wanted;
    for (const arc::Member& m : archive->members()) wanted.push_back(!m.isFolder && m.name.size() < (1u << 16));
    DiscardTarget target(passwords);
    archive->extract(wanted, target);
    return 0;
}

}  // namespace fuzzing

#include "zip_method.h"

namespace fuzzing {

// One ZIP method's decoder over a raw packed stream. The first four input
// bytes give the uncompressed size the directory would promise (LE32, at most
// 16 MiB), the next two the general-purpose flags; the rest is the stream.
inline int RunZipMethod(const uint8_t* data, size_t size, std::unique_ptr<arc::zip::MethodDecoder> (*make)()) {
    if (size < 6) return 0;
    arc::zip::MemberFacts facts;
    facts.size = (data[0] | (data[1] << 8) | (data[2] << 16) | (uint32_t{data[3]} << 24)) & 0xFFFFFF;
    facts.flags = static_cast<uint16_t>(data[4] | (data[5] << 8));
    arc::MemorySource src(data + 6, size - 6);
    arc::SequentialReader in(src, 0, size - 6);
    DiscardTarget target;
    arc::OutputSink* sink = target.begin(0);
    arc::zip::MemberOutput out(*sink, facts.size);
    auto decoder = make();
    (void)decoder->decode(in, facts, out);
    return 0;
}

}  // namespace fuzzing
