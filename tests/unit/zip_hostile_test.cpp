// Damaged and lying archives: each fault gives its member a clean code, no
// more bytes than the header promised, and leaves the other members intact.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "zip_test_kit.h"

namespace {

namespace fs = std::filesystem;
using ziptest::Bytes;

// good, victim, good: the victim (index 1) is damaged by each case.
struct Fixture {
    ziptest::ZipWriter w;
    Bytes first = ziptest::sampleText(60000, 11);
    Bytes victim = ziptest::sampleText(30000, 12);
    Bytes last = ziptest::sampleNoise(2000, 13);
    Bytes bytes;

    explicit Fixture(uint16_t victimMethod) {
        w.add("first.txt", first);
        w.add("victim.txt", victim, victimMethod);
        w.add("last.bin", last, 0);
        bytes = w.build();
    }
    size_t victimCentral() const { return w.central[1]; }
    size_t victimLocal() const { return w.local[1]; }
    size_t victimData() const { return w.local[1] + 30 + 10; }  // "victim.txt", no extra
};

struct FaultCase {
    const char* label;
    uint16_t method;
    std::function<void(Fixture&)> damage;
    arc::Status want;
};

std::vector<FaultCase> faultCases() {
    using S = arc::Status;
    return {
        {"bad_crc_deflate", 8, [](Fixture& f) { ziptest::put32(f.bytes, f.victimCentral() + 16, 0x12345678); },
         S::FileCrc},
        {"bad_crc_stored", 0, [](Fixture& f) { ziptest::put32(f.bytes, f.victimCentral() + 16, 0x12345678); },
         S::FileCrc},
        {"flipped_stored_byte", 0, [](Fixture& f) { f.bytes[f.victimData() + 500] ^= 0x40; }, S::FileCrc},
        {"encrypted_flag", 8, [](Fixture& f) { f.bytes[f.victimCentral() + 8] |= 1; }, S::PasswordFile},
        {"deflate_data_labelled_bzip2", 8,
         [](Fixture& f) {
             ziptest::put16(f.bytes, f.victimCentral() + 10, 12);
             ziptest::put16(f.bytes, f.victimLocal() + 8, 12);
         },
         S::BrokenData},
        {"deflate_data_labelled_xz", 8, [](Fixture& f) { ziptest::put16(f.bytes, f.victimCentral() + 10, 95); },
         S::BrokenData},
        {"deflate_data_labelled_zstd", 8, [](Fixture& f) { ziptest::put16(f.bytes, f.victimCentral() + 10, 93); },
         S::BrokenData},
        {"unsupported_method_implode", 8, [](Fixture& f) { ziptest::put16(f.bytes, f.victimCentral() + 10, 6); },
         S::Method},
        {"ppmd_is_not_supported", 8, [](Fixture& f) { ziptest::put16(f.bytes, f.victimCentral() + 10, 98); },
         S::NotSupport},
        {"claims_4gib_deflated", 8, [](Fixture& f) { ziptest::put32(f.bytes, f.victimCentral() + 24, 0xFFFFFFF0); },
         S::TooBig},
        {"claims_4gib_stored", 0,
         [](Fixture& f) {
             ziptest::put32(f.bytes, f.victimCentral() + 20, 0xFFFFFFF0);
             ziptest::put32(f.bytes, f.victimCentral() + 24, 0xFFFFFFF0);
         },
         S::TooBig},
        {"claims_fewer_bytes_than_stream_holds", 8,
         [](Fixture& f) { ziptest::put32(f.bytes, f.victimCentral() + 24, 1000); }, S::BrokenData},
        {"claims_more_bytes_than_stream_holds", 8,
         [](Fixture& f) { ziptest::put32(f.bytes, f.victimCentral() + 24, 30001); }, S::BrokenData},
        {"stored_sizes_disagree", 0, [](Fixture& f) { ziptest::put32(f.bytes, f.victimCentral() + 24, 29999); },
         S::BrokenData},
        {"reserved_deflate_block_type", 8, [](Fixture& f) { f.bytes[f.victimData()] = 0x07; }, S::BrokenData},
        {"deflate_stream_cut_short", 8,
         [](Fixture& f) {
             // Packed size halved: the stream runs out before its end block.
             size_t c = f.victimCentral() + 20;
             uint32_t packed = f.bytes[c] | (f.bytes[c + 1] << 8) | (f.bytes[c + 2] << 16);
             ziptest::put32(f.bytes, c, packed / 2);
         },
         S::UnexpectedEof},
        {"local_offset_past_end", 8, [](Fixture& f) { ziptest::put32(f.bytes, f.victimCentral() + 42, 0x7FFFFFFF); },
         S::HeaderBroken},
        {"local_offset_into_central_directory", 8,
         [](Fixture& f) { ziptest::put32(f.bytes, f.victimCentral() + 42, static_cast<uint32_t>(f.w.cdStart)); },
         S::HeaderBroken},
        // The first member's stream is longer than the victim's packed size.
        {"local_offset_overlaps_first_member", 8,
         [](Fixture& f) { ziptest::put32(f.bytes, f.victimCentral() + 42, 0); }, S::UnexpectedEof},
        {"local_extra_length_runs_past_end", 8,
         [](Fixture& f) { ziptest::put16(f.bytes, f.victimLocal() + 28, 0xFFFF); }, S::UnexpectedEof},
        {"zip64_extra_missing_for_saturated_size", 8,
         [](Fixture& f) { ziptest::put32(f.bytes, f.victimCentral() + 24, 0xFFFFFFFF); }, S::TooBig},
    };
}

TEST(ZipHostile, DamagedMemberFailsCleanlyAndOthersSurvive) {
    for (const FaultCase& c : faultCases()) {
        Fixture f(c.method);
        c.damage(f);
        auto o = ziptest::openBytes(f.bytes);
        ASSERT_TRUE(o->archive) << c.label;
        const auto& ms = o->archive->members();
        ASSERT_EQ(ms.size(), 3u) << c.label;
        fixtures::MemoryTarget t;
        EXPECT_EQ(fixtures::extractAll(*o->archive, t), c.want) << c.label;
        EXPECT_EQ(t.results[0].status, arc::Status::Ok) << c.label;
        EXPECT_TRUE(t.results[0].data == f.first) << c.label;
        EXPECT_TRUE(t.results[1].ended) << c.label;
        EXPECT_EQ(t.results[1].status, c.want) << c.label;
        EXPECT_LE(t.results[1].data.size(), ms[1].size) << c.label;
        EXPECT_EQ(t.results[2].status, arc::Status::Ok) << c.label;
        EXPECT_TRUE(t.results[2].data == f.last) << c.label;
    }
}

// Faults in the directory itself.
TEST(ZipHostile, CountClaimsIgnoredInFavourOfDirectoryBytes) {
    {
        Fixture f(8);
        ziptest::put16(f.bytes, f.w.endPos + 8, 0xFFFF);
        ziptest::put16(f.bytes, f.w.endPos + 10, 0xFFFF);
        auto o = ziptest::openBytes(f.bytes);
        ASSERT_TRUE(o->archive);
        EXPECT_EQ(o->archive->members().size(), 3u);
    }
    {
        // A ZIP64 end record claiming a million entries in a file of 100 KiB.
        ziptest::ZipWriter w;
        w.add("a.txt", ziptest::sampleText(100, 1));
        w.add("b.txt", ziptest::sampleText(200, 2));
        w.zip64End = true;
        Bytes bytes = w.build();
        ziptest::put64(bytes, w.end64Pos + 24, 1000000);
        ziptest::put64(bytes, w.end64Pos + 32, 1000000);
        auto o = ziptest::openBytes(bytes);
        ASSERT_TRUE(o->archive);
        EXPECT_EQ(o->archive->members().size(), 2u);
        fixtures::MemoryTarget t;
        EXPECT_EQ(fixtures::extractAll(*o->archive, t), arc::Status::Ok);
        EXPECT_EQ(t.results[1].data, ziptest::sampleText(200, 2));
    }
}

TEST(ZipHostile, BrokenDirectoryRefusesToOpen) {
    struct Case {
        const char* label;
        std::function<void(Fixture&)> damage;
        arc::Status want;
    } cases[] = {
        {"directory_size_beyond_file", [](Fixture& f) { ziptest::put32(f.bytes, f.w.endPos + 12, 0x7FFFFFFF); },
         arc::Status::HeaderBroken},
        {"directory_offset_beyond_file", [](Fixture& f) { ziptest::put32(f.bytes, f.w.endPos + 16, 0x7FFFFFFF); },
         arc::Status::HeaderBroken},
        {"directory_offset_and_size_both_wrong",
         [](Fixture& f) {
             ziptest::put32(f.bytes, f.w.endPos + 12, static_cast<uint32_t>(f.w.endPos - f.w.cdStart - 5));
             ziptest::put32(f.bytes, f.w.endPos + 16, static_cast<uint32_t>(f.w.cdStart + 3));
         },
         arc::Status::HeaderBroken},
        {"first_central_signature_damaged", [](Fixture& f) { f.bytes[f.w.cdStart + 2] = 9; },
         arc::Status::HeaderBroken},
    };
    for (auto& c : cases) {
        Fixture f(8);
        c.damage(f);
        auto o = ziptest::openBytes(f.bytes);
        EXPECT_FALSE(o->archive) << c.label;
        EXPECT_EQ(o->status, c.want) << c.label;
    }
}

// A directory offset that is simply wrong looks like an SFX shift; members
// are then still found at their stored offsets.
TEST(ZipHostile, WrongDirectoryOffsetStillExtracts) {
    Fixture f(8);
    ziptest::put32(f.bytes, f.w.endPos + 16, static_cast<uint32_t>(f.w.cdStart + 3));
    auto o = ziptest::openBytes(f.bytes);
    ASSERT_TRUE(o->archive);
    ASSERT_EQ(o->archive->members().size(), 3u);
    fixtures::MemoryTarget t;
    EXPECT_EQ(fixtures::extractAll(*o->archive, t), arc::Status::Ok);
    EXPECT_TRUE(t.results[1].data == f.victim);
}

TEST(ZipHostile, DamagedLaterCentralHeaderKeepsEarlierMembers) {
    Fixture f(8);
    f.bytes[f.w.central[2] + 1] = 'X';
    auto o = ziptest::openBytes(f.bytes);
    ASSERT_TRUE(o->archive);
    ASSERT_EQ(o->archive->members().size(), 2u);
    fixtures::MemoryTarget t;
    EXPECT_EQ(fixtures::extractAll(*o->archive, t), arc::Status::Ok);
    EXPECT_TRUE(t.results[1].data == f.victim);
}

// A cut-off archive (no directory) lists its members from the local headers:
// complete ones extract, the one crossing the cut reports UnexpectedEof.
TEST(ZipHostile, TruncatedArchiveKeepsCompleteMembers) {
    Fixture f(8);
    const size_t n = f.bytes.size();
    const std::vector<Bytes> datas{f.first, f.victim, f.last};
    struct Cut {
        size_t at;
        size_t wantMembers;  // listed
        size_t wantWhole;    // extracted intact
    };
    const Cut cuts[] = {{n - 1, 3, 3},           {n - 22, 3, 3},          {f.w.cdStart + 50, 3, 3},
                        {f.w.cdStart, 3, 3},     {f.w.local[2] + 45, 3, 2}, {f.w.local[2] + 10, 2, 2},
                        {f.w.local[1] + 100, 2, 1}, {f.w.local[1], 1, 1},  {200, 1, 0}};
    for (const Cut& c : cuts) {
        auto o = ziptest::openBytes(Bytes(f.bytes.begin(), f.bytes.begin() + c.at));
        ASSERT_TRUE(o->archive) << c.at;
        const auto& ms = o->archive->members();
        ASSERT_EQ(ms.size(), c.wantMembers) << c.at;
        EXPECT_FALSE(arc::looksLikeZip(*o->src)) << c.at;
        fixtures::MemoryTarget t;
        arc::Status all = fixtures::extractAll(*o->archive, t);
        EXPECT_EQ(all, c.wantWhole == c.wantMembers ? arc::Status::Ok : arc::Status::UnexpectedEof) << c.at;
        for (size_t i = 0; i < ms.size(); ++i) {
            EXPECT_EQ(ms[i].name, std::vector<std::string>({"first.txt", "victim.txt", "last.bin"})[i]) << c.at;
            if (i < c.wantWhole) {
                EXPECT_EQ(t.results[i].status, arc::Status::Ok) << c.at << " " << i;
                EXPECT_TRUE(t.results[i].data == datas[i]) << c.at << " " << i;
            } else {
                EXPECT_EQ(t.results[i].status, arc::Status::UnexpectedEof) << c.at << " " << i;
            }
        }
    }
    // Cut inside the first header: nothing to show.
    auto o = ziptest::openBytes(Bytes(f.bytes.begin(), f.bytes.begin() + 35));
    EXPECT_FALSE(o->archive);
    EXPECT_EQ(o->status, arc::Status::UnexpectedEof);
}

// Descriptor members (zeros in the local header) found without a directory.
TEST(ZipHostile, TruncatedStreamedArchiveFindsDescriptorMembers) {
    if (!ziptest::hasTool("zip")) GTEST_SKIP() << "zip missing";
    for (const char* zip64 : {"-fz", "-fz-"}) {
        ziptest::TempDir tmp;
        const std::vector<std::pair<std::string, Bytes>> files{{"a.txt", ziptest::sampleText(50000, 1)},
                                                               {"b.bin", ziptest::sampleNoise(20000, 2)},
                                                               {"c.txt", ziptest::sampleText(90000, 3)}};
        for (auto& [name, data] : files) ziptest::writeFile(tmp.path() / name, data);
        fs::path archive = tmp.path() / "s.zip";
        ASSERT_EQ(ziptest::run("cd " + ziptest::quote(tmp.path()) + " && zip -q " + zip64 + " - a.txt b.bin c.txt > " +
                               ziptest::quote(archive)), 0);
        Bytes whole = fixtures::readFile(archive.string());
        ASSERT_GT(whole.size(), 2000u);
        // Cut in the third member's data.
        Bytes part(whole.begin(), whole.end() - 2000);
        auto o = ziptest::openBytes(part);
        ASSERT_TRUE(o->archive) << zip64;
        const auto& ms = o->archive->members();
        ASSERT_EQ(ms.size(), 3u) << zip64;
        fixtures::MemoryTarget t;
        EXPECT_EQ(fixtures::extractAll(*o->archive, t), arc::Status::UnexpectedEof) << zip64;
        EXPECT_EQ(ms[1].method, "stored");  // noise: stored, still with a descriptor
        for (size_t i = 0; i < 2; ++i) {
            EXPECT_EQ(ms[i].name, files[i].first);
            EXPECT_EQ(ms[i].crc, ziptest::crcOf(files[i].second));
            EXPECT_EQ(t.results[i].status, arc::Status::Ok) << zip64 << i;
            EXPECT_TRUE(t.results[i].data == files[i].second) << zip64 << i;
        }
        EXPECT_EQ(t.results[2].status, arc::Status::UnexpectedEof) << zip64;
    }
}

// Every prefix of a small archive, and every single-byte damage, must come
// back without crash, hang or an output beyond the promised size.
TEST(ZipHostile, EveryPrefixAndByteFlipIsHandled) {
    ziptest::ZipWriter w;
    w.add("a.txt", ziptest::sampleText(700, 1));
    w.add("b.bin", ziptest::sampleNoise(90, 2), 0);
    w.zip64End = true;
    const Bytes good = w.build();
    size_t opened = 0;
    auto exercise = [&](const Bytes& b) {
        auto o = ziptest::openBytes(b);
        if (!o->archive) {
            EXPECT_NE(o->status, arc::Status::Ok);
            return;
        }
        ++opened;
        fixtures::MemoryTarget t;
        fixtures::extractAll(*o->archive, t);
        for (auto& [i, r] : t.results) EXPECT_LE(r.data.size(), o->archive->members()[i].size);
    };
    for (size_t cut = 0; cut < good.size(); ++cut) exercise(Bytes(good.begin(), good.begin() + cut));
    for (size_t i = 0; i < good.size(); ++i) {
        Bytes b = good;
        b[i] ^= 0xA5;
        exercise(b);
    }
    EXPECT_GT(opened, good.size() / 2);  // most single flips leave the directory readable
}

// A sink that refuses: extraction stops at once with CannotWrite.
TEST(ZipHostile, RefusingSinkStopsTheRun) {
    struct Refuse : arc::OutputSink {
        bool write(const uint8_t*, size_t) override { return false; }
    };
    struct Target : arc::ExtractTarget {
        Refuse sink;
        std::vector<std::pair<size_t, arc::Status>> ends;
        size_t begun = 0;
        arc::OutputSink* begin(size_t) override { ++begun; return &sink; }
        void end(size_t i, arc::Status s) override { ends.emplace_back(i, s); }
    } target;
    Fixture f(8);
    auto o = ziptest::openBytes(f.bytes);
    ASSERT_TRUE(o->archive);
    EXPECT_EQ(o->archive->extract({true, true, true}, target), arc::Status::CannotWrite);
    EXPECT_EQ(target.begun, 1u);
    ASSERT_EQ(target.ends.size(), 1u);
    EXPECT_EQ(target.ends[0].second, arc::Status::CannotWrite);
}

TEST(ZipHostile, SkippedAndUnwantedMembersGetNoCalls) {
    Fixture f(8);
    auto o = ziptest::openBytes(f.bytes);
    ASSERT_TRUE(o->archive);
    fixtures::MemoryTarget t;
    EXPECT_EQ(o->archive->extract({false, false, true}, t), arc::Status::Ok);
    ASSERT_EQ(t.results.size(), 1u);
    EXPECT_TRUE(t.results[2].data == f.last);
    // A shorter wanted vector leaves the rest alone.
    fixtures::MemoryTarget t2;
    EXPECT_EQ(o->archive->extract({true}, t2), arc::Status::Ok);
    EXPECT_EQ(t2.results.size(), 1u);
}

}  // namespace
