// Encrypted ZIP members in archives made by zip and 7zz at test time: the
// right password gives the input back byte for byte, with every method and
// both encryptions; the password source is asked once per archive, again
// after a wrong answer, and a cancel skips only that member; damage behind a
// correct password is a data error, never success.
#include <gtest/gtest.h>
#include <zstd.h>

#include <algorithm>
#include <map>
#include <optional>
#include <ostream>
#include <set>

#include "byte_source.h"
#include "folder_extract.h"
#include "zip_test_kit.h"

namespace {

namespace fs = std::filesystem;
using ziptest::Bytes;

const char* kPassword = "Ri8ht pw";

// Answers from a script (nullopt = cancel), then None; records each question.
class ScriptedPasswords final : public arc::PasswordSource {
public:
    explicit ScriptedPasswords(std::vector<std::optional<std::string>> script) : script_(std::move(script)) {}
    arc::PasswordReply ask(const std::string& member, int attempt, std::string* password) override {
        asked.push_back({member, attempt});
        if (next_ >= script_.size()) return arc::PasswordReply::None;
        const auto& answer = script_[next_++];
        if (!answer) return arc::PasswordReply::Cancel;
        *password = *answer;
        return arc::PasswordReply::Given;
    }
    struct Question {
        std::string member;
        int attempt;
    };
    std::vector<Question> asked;

private:
    std::vector<std::optional<std::string>> script_;
    size_t next_ = 0;
};

class PasswordTarget final : public fixtures::MemoryTarget {
public:
    explicit PasswordTarget(arc::PasswordSource* source) : source_(source) {}
    arc::PasswordSource* passwords() override { return source_; }

private:
    arc::PasswordSource* source_;
};

struct Made {
    ziptest::TempDir tmp;
    fs::path archive;
    std::map<std::string, Bytes> files;  // member name -> input
    std::unique_ptr<arc::ByteSource> src;
    std::unique_ptr<arc::Archive> zip;
};

// a.txt (text), b.bin (noise), c.txt (short text), empty.txt, packed by
// `command` ($A = the archive) run in the folder holding them.
std::unique_ptr<Made> make(const std::string& command) {
    auto m = std::make_unique<Made>();
    const fs::path in = m->tmp.path() / "in";
    m->files = {{"a.txt", ziptest::sampleText(120000, 11)},
                {"b.bin", ziptest::sampleNoise(70000, 12)},
                {"c.txt", ziptest::sampleText(300, 13)},
                {"empty.txt", {}}};
    for (const auto& [name, data] : m->files) ziptest::writeFile(in / name, data);
    m->archive = m->tmp.path() / "enc.zip";
    std::string cmd = command;
    for (size_t at; (at = cmd.find("$A")) != std::string::npos;) cmd.replace(at, 2, ziptest::quote(m->archive));
    if (ziptest::run("cd " + ziptest::quote(in) + " && " + cmd) != 0) return nullptr;
    m->src = arc::openFileSource(m->archive.string());
    arc::Status st;
    if (m->src) m->zip = arc::openZip(*m->src, &st);
    return m->zip ? std::move(m) : nullptr;
}

// The traditional cipher's keys as a writer runs them (the published
// algorithm), for fixtures and for checking which password a header rejects.
struct TraditionalKeys {
    uint32_t table[256];
    uint32_t keys[3] = {0x12345678, 0x23456789, 0x34567890};
    explicit TraditionalKeys(const std::string& password) {
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[n] = c;
        }
        for (char c : password) update(static_cast<uint8_t>(c));
    }
    void update(uint8_t plain) {
        keys[0] = table[(keys[0] ^ plain) & 0xFF] ^ (keys[0] >> 8);
        keys[1] = (keys[1] + (keys[0] & 0xFF)) * 134775813u + 1;
        keys[2] = table[(keys[2] ^ (keys[1] >> 24)) & 0xFF] ^ (keys[2] >> 8);
    }
    uint8_t stream() const {
        uint32_t t = (keys[2] | 2) & 0xFFFF;
        return static_cast<uint8_t>((t * (t ^ 1)) >> 8);
    }
};

// 12 header bytes ending in `check`, then `plain`, encrypted.
Bytes traditionalEncrypt(const std::string& password, uint8_t check, const Bytes& plain) {
    TraditionalKeys k(password);
    Bytes in = {0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88, 0x99, 0xAA, 0xBB, check};
    ziptest::addBytes(in, plain);
    Bytes out;
    for (uint8_t b : in) {
        out.push_back(b ^ k.stream());
        k.update(b);
    }
    return out;
}

// A wrong password whose decrypted check byte for the first member (at the
// start of the archive) matches neither check value: one in 256 would pass
// a traditional header, and such a password shows as a data error instead.
std::string passwordTheFirstHeaderRejects(const Bytes& zip, const arc::Member& first) {
    const size_t start = 30 + (zip[26] | (zip[27] << 8)) + (zip[28] | (zip[29] << 8));
    for (int n = 0;; ++n) {
        std::string candidate = "wrong" + std::to_string(n);
        TraditionalKeys k(candidate);
        uint8_t last = 0;
        for (size_t i = 0; i < 12; ++i) {
            last = zip[start + i] ^ k.stream();
            k.update(last);
        }
        if (last != (first.crc >> 24) && last != (first.dosTime >> 8)) return candidate;
    }
}

struct CryptCase {
    const char* label;
    const char* tool;
    const char* command;
    const char* method;  // listed method of a.txt
};
void PrintTo(const CryptCase& c, std::ostream* os) { *os << c.label; }

#define FILES "a.txt b.bin c.txt empty.txt"
const CryptCase kCases[] = {
    {"zip_traditional_deflate", "zip", "zip -q -X -e -P 'Ri8ht pw' $A " FILES, "deflate"},
    {"zip_traditional_stored", "zip", "zip -q -X -0 -P 'Ri8ht pw' $A " FILES, "stored"},
    {"zip_traditional_bzip2", "zip", "zip -q -X -Z bzip2 -P 'Ri8ht pw' $A " FILES, "bzip2"},
    {"zip_traditional_descriptors", "zip", "zip -q -X -fd -P 'Ri8ht pw' $A " FILES, "deflate"},
    {"zip_traditional_to_pipe", "zip", "zip -q -X -P 'Ri8ht pw' - " FILES " | cat > $A", "deflate"},
    {"7zz_zipcrypto_deflate", "7zz", "7zz a -tzip -bd '-pRi8ht pw' $A " FILES, "deflate"},
    {"7zz_zipcrypto_copy", "7zz", "7zz a -tzip -bd '-pRi8ht pw' -mm=Copy $A " FILES, "stored"},
    {"7zz_zipcrypto_deflate64", "7zz", "7zz a -tzip -bd '-pRi8ht pw' -mm=Deflate64 $A " FILES, "deflt64"},
    {"7zz_zipcrypto_lzma", "7zz", "7zz a -tzip -bd '-pRi8ht pw' -mm=LZMA $A " FILES, "lzma"},
    {"7zz_zipcrypto_xz", "7zz", "7zz a -tzip -bd '-pRi8ht pw' -mm=xz $A " FILES, "xz"},
    {"7zz_aes128_deflate", "7zz", "7zz a -tzip -bd '-pRi8ht pw' -mem=AES128 -mm=Deflate $A " FILES, "aes"},
    {"7zz_aes192_bzip2", "7zz", "7zz a -tzip -bd '-pRi8ht pw' -mem=AES192 -mm=BZip2 $A " FILES, "aes"},
    {"7zz_aes256_lzma", "7zz", "7zz a -tzip -bd '-pRi8ht pw' -mem=AES256 -mm=LZMA $A " FILES, "aes"},
    {"7zz_aes256_copy", "7zz", "7zz a -tzip -bd '-pRi8ht pw' -mem=AES256 -mm=Copy $A " FILES, "aes"},
    {"7zz_aes128_deflate64", "7zz", "7zz a -tzip -bd '-pRi8ht pw' -mem=AES128 -mm=Deflate64 $A " FILES, "aes"},
    {"7zz_aes192_xz", "7zz", "7zz a -tzip -bd '-pRi8ht pw' -mem=AES192 -mm=xz $A " FILES, "aes"},
};

class ZipCryptArchives : public ::testing::TestWithParam<CryptCase> {};

TEST_P(ZipCryptArchives, RightPasswordAskedOnceGivesTheInputBack) {
    const CryptCase& c = GetParam();
    if (!ziptest::hasTool(c.tool)) GTEST_SKIP() << c.tool << " missing";
    auto m = make(c.command);
    ASSERT_TRUE(m);
    ScriptedPasswords source({kPassword});
    PasswordTarget target(&source);
    EXPECT_EQ(fixtures::extractAll(*m->zip, target), arc::Status::Ok);
    ASSERT_EQ(m->zip->members().size(), m->files.size());
    for (size_t i = 0; i < m->zip->members().size(); ++i) {
        const arc::Member& mem = m->zip->members()[i];
        EXPECT_TRUE(mem.encrypted) << mem.name;
        ASSERT_TRUE(m->files.count(mem.name)) << mem.name;
        EXPECT_EQ(target.results[i].status, arc::Status::Ok) << mem.name;
        EXPECT_TRUE(target.results[i].data == m->files[mem.name]) << mem.name;
        if (mem.name == "a.txt") {
            EXPECT_EQ(mem.method, c.method);
        }
    }
    // The password that worked opens every later member without a question.
    ASSERT_EQ(source.asked.size(), 1u);
    EXPECT_EQ(source.asked[0].attempt, 1);
}

TEST_P(ZipCryptArchives, WrongPasswordIsAskedAgainAndNeverAccepted) {
    const CryptCase& c = GetParam();
    if (!ziptest::hasTool(c.tool)) GTEST_SKIP() << c.tool << " missing";
    auto m = make(c.command);
    ASSERT_TRUE(m);
    // Wrong, then right: asked twice about the first member, never after.
    const Bytes bytes = fixtures::readFile(m->archive.string());
    ScriptedPasswords source({passwordTheFirstHeaderRejects(bytes, m->zip->members()[0]), kPassword});
    PasswordTarget target(&source);
    EXPECT_EQ(fixtures::extractAll(*m->zip, target), arc::Status::Ok);
    ASSERT_EQ(source.asked.size(), 2u);
    EXPECT_EQ(source.asked[0].member, m->zip->members()[0].name);
    EXPECT_EQ(source.asked[1].attempt, 2);

    // Only wrong answers (the archive opened afresh, so the good password is
    // not remembered): no member succeeds. Each fails as encrypted, or for a
    // traditional header the wrong password happened to pass, as damaged data.
    arc::Status st;
    auto again = arc::openZip(*m->src, &st);
    ASSERT_TRUE(again);
    arc::GivenPassword wrong("Right pw");
    PasswordTarget refused(&wrong);
    EXPECT_NE(fixtures::extractAll(*again, refused), arc::Status::Ok);
    size_t refusedAsEncrypted = 0;
    for (const auto& [index, r] : refused.results) {
        if (r.status == arc::Status::PasswordFile) {
            ++refusedAsEncrypted;
            EXPECT_TRUE(r.data.empty()) << index;
        } else {
            EXPECT_TRUE(r.status == arc::Status::BrokenData || r.status == arc::Status::FileCrc) << index;
        }
    }
    EXPECT_GE(refusedAsEncrypted, 2u);  // four members: all four refused but for a one-in-256 chance each
}

INSTANTIATE_TEST_SUITE_P(Zip, ZipCryptArchives, ::testing::ValuesIn(kCases),
                         [](const auto& tp) { return std::string(tp.param.label); });

// Cancel on the first member skips it alone: nothing of it in the folder,
// the next member asked for and written.
TEST(ZipCryptFolder, CancelSkipsOneMemberAndWritesNothingOfIt) {
    const struct {
        const char* tool;
        const char* command;
    } makers[] = {{"zip", "zip -q -X -P 'Ri8ht pw' $A " FILES},
                  {"7zz", "7zz a -tzip -bd '-pRi8ht pw' -mem=AES256 $A " FILES}};
    for (const auto& [tool, command] : makers) {
        if (!ziptest::hasTool(tool)) continue;
        auto m = make(command);
        ASSERT_TRUE(m) << command;
        ScriptedPasswords source({std::nullopt, kPassword});
        arc::ExtractOptions options;
        options.passwords = &source;
        const fs::path out = m->tmp.path() / "out";
        std::vector<bool> wanted(m->zip->members().size(), true);
        arc::ExtractResult r = arc::extractToFolder(*m->zip, wanted, out.string(), options);
        EXPECT_EQ(r.status, arc::Status::UserCancel) << command;
        const std::string skipped = m->zip->members()[0].name;
        std::set<std::string> present;
        for (auto& e : fs::directory_iterator(out)) present.insert(e.path().filename().string());
        std::set<std::string> want;
        for (const auto& [name, data] : m->files)
            if (name != skipped) want.insert(name);
        EXPECT_EQ(present, want) << command;  // no temporary file either
        for (const std::string& name : want) EXPECT_TRUE(fixtures::readFile((out / name).string()) == m->files[name]);
        ASSERT_EQ(source.asked.size(), 2u) << command;
        EXPECT_EQ(source.asked[1].member, m->zip->members()[1].name);

        // A skip never hides a real failure after it: the next member, left
        // without a password, decides the result.
        // (The archive opened afresh: the one above remembers the good password.)
        ScriptedPasswords cancelOnly({std::nullopt});
        options.passwords = &cancelOnly;
        arc::Status openStatus;
        auto fresh = arc::openZip(*m->src, &openStatus);
        ASSERT_TRUE(fresh);
        arc::ExtractResult r2 = arc::extractToFolder(*fresh, wanted, (m->tmp.path() / "out2").string(), options);
        EXPECT_EQ(r2.status, arc::Status::PasswordFile) << command;
        EXPECT_TRUE(r2.written.empty()) << command;
    }
}

// Without a source, or with one that has nothing to offer, the code stays
// PasswordFile; a source is never asked about members that are not encrypted.
TEST(ZipCryptFolder, NoPasswordMeansPasswordFile) {
    if (!ziptest::hasTool("zip")) GTEST_SKIP() << "zip missing";
    auto m = make("zip -q -X -P 'Ri8ht pw' $A a.txt c.txt && zip -q -X $A b.bin");
    ASSERT_TRUE(m);
    ScriptedPasswords none({});
    PasswordTarget target(&none);
    EXPECT_EQ(fixtures::extractAll(*m->zip, target), arc::Status::PasswordFile);
    ASSERT_EQ(m->zip->members().size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        const bool plain = m->zip->members()[i].name == "b.bin";
        EXPECT_EQ(target.results[i].status, plain ? arc::Status::Ok : arc::Status::PasswordFile) << i;
    }
    EXPECT_EQ(none.asked.size(), 2u);
}

// Offsets of the first member's data in an archive whose local header holds the sizes.
struct FirstData {
    size_t start = 0, packed = 0;
};
FirstData firstData(const Bytes& zip) {
    FirstData d;
    d.start = 30 + (zip[26] | (zip[27] << 8)) + (zip[28] | (zip[29] << 8));
    d.packed = zip[18] | (zip[19] << 8) | (zip[20] << 16) | (size_t{zip[21]} << 24);
    return d;
}

// A flipped byte behind a correct password: a data error, never Ok, never
// a question about the password.
TEST(ZipCryptDamage, AlteredDataOrCodeIsADataError) {
    if (!ziptest::hasTool("7zz") || !ziptest::hasTool("zip")) GTEST_SKIP() << "7zz or zip missing";
    struct Damage {
        const char* label;
        const char* command;
        bool fromEnd;  // offset counted back from the data's end (the AES code)
        size_t at;
    } damages[] = {
        {"aes_auth_code", "7zz a -tzip -bd '-pRi8ht pw' -mem=AES256 -mm=Copy $A a.txt", true, 3},
        {"aes_stored_data", "7zz a -tzip -bd '-pRi8ht pw' -mem=AES128 -mm=Copy $A a.txt", false, 5000},
        {"aes_short_member_no_crc", "7zz a -tzip -bd '-pRi8ht pw' -mem=AES192 -mm=Copy $A c.txt", false, 100},
        {"aes_deflate_data", "7zz a -tzip -bd '-pRi8ht pw' -mem=AES256 -mm=Deflate $A a.txt", false, 3000},
        {"traditional_stored_data", "zip -q -X -0 -P 'Ri8ht pw' $A a.txt", false, 4000},
        {"traditional_deflate_data", "zip -q -X -P 'Ri8ht pw' $A a.txt", false, 2000},
    };
    for (const Damage& d : damages) {
        auto m = make(d.command);
        ASSERT_TRUE(m) << d.label;
        Bytes bytes = fixtures::readFile(m->archive.string());
        FirstData f = firstData(bytes);
        ASSERT_GT(f.packed, d.at + 1) << d.label;
        bytes[f.start + (d.fromEnd ? f.packed - 1 - d.at : d.at)] ^= 0x20;
        auto opened = ziptest::openBytes(bytes);
        ASSERT_TRUE(opened->archive) << d.label;
        ScriptedPasswords source({kPassword});
        PasswordTarget target(&source);
        arc::Status st = fixtures::extractAll(*opened->archive, target);
        EXPECT_TRUE(st == arc::Status::FileCrc || st == arc::Status::BrokenData) << d.label << " " << int(st);
        EXPECT_EQ(source.asked.size(), 1u) << d.label;
    }
}

// AE-1 members carry their CRC and it is checked; 7zz writes AE-2 (no CRC),
// so its archive is turned into AE-1 by hand: version 1 and the real CRC.
TEST(ZipCryptAes, Ae1ChecksTheCrcAe2DoesNot) {
    if (!ziptest::hasTool("7zz")) GTEST_SKIP() << "7zz missing";
    auto m = make("7zz a -tzip -bd '-pRi8ht pw' -mem=AES128 -mm=Copy $A a.txt");
    ASSERT_TRUE(m);
    const Bytes original = fixtures::readFile(m->archive.string());
    const Bytes field = {0x01, 0x99, 0x07, 0x00, 0x02, 0x00, 'A', 'E'};
    auto rewrite = [&](uint32_t crc) {
        Bytes b = original;
        int fields = 0;
        for (size_t i = 0; i + field.size() <= b.size(); ++i)
            if (std::equal(field.begin(), field.end(), b.begin() + static_cast<std::ptrdiff_t>(i))) {
                b[i + 4] = 1;
                ++fields;
            }
        EXPECT_EQ(fields, 2);  // local and central copies
        ziptest::put32(b, 14, crc);
        for (size_t i = 0; i + 4 <= b.size(); ++i)
            if (b[i] == 'P' && b[i + 1] == 'K' && b[i + 2] == 1 && b[i + 3] == 2) ziptest::put32(b, i + 16, crc);
        return b;
    };
    const uint32_t crc = ziptest::crcOf(m->files["a.txt"]);
    const struct {
        const char* label;
        Bytes bytes;
        arc::Status want;
    } cases[] = {
        {"ae2_as_made", original, arc::Status::Ok},
        {"ae1_real_crc", rewrite(crc), arc::Status::Ok},
        {"ae1_wrong_crc", rewrite(crc ^ 0x10000), arc::Status::FileCrc},
    };
    for (const auto& c : cases) {
        auto opened = ziptest::openBytes(c.bytes);
        ASSERT_TRUE(opened->archive) << c.label;
        arc::GivenPassword pw(kPassword);
        PasswordTarget target(&pw);
        EXPECT_EQ(fixtures::extractAll(*opened->archive, target), c.want) << c.label;
        if (c.want == arc::Status::Ok) {
            EXPECT_TRUE(target.results[0].data == m->files["a.txt"]) << c.label;
        }
    }
}

TEST(ZipCryptTraditional, ZstdAndStoredMembersBuiltByHand) {
    const Bytes text = ziptest::sampleText(50000, 21);
    Bytes frame(ZSTD_compressBound(text.size()));
    frame.resize(ZSTD_compress(frame.data(), frame.size(), text.data(), text.size(), 3));
    ASSERT_FALSE(ZSTD_isError(frame.size()));
    const uint8_t check = static_cast<uint8_t>(ziptest::crcOf(text) >> 24);
    ziptest::ZipWriter w;
    auto& z = w.add("zstd.txt", text, 93);
    z.flags = 1;
    z.packed = traditionalEncrypt(kPassword, check, frame);
    auto& s = w.add("stored.txt", text, 0);
    s.flags = 1;
    s.packed = traditionalEncrypt(kPassword, check, text);
    // A check byte that fits no password: refused as encrypted, not decoded.
    auto& bad = w.add("badcheck.txt", text, 0);
    bad.flags = 1;
    bad.packed = traditionalEncrypt(kPassword, check ^ 1, text);
    auto opened = ziptest::openBytes(w.build());
    ASSERT_TRUE(opened->archive);
    ScriptedPasswords source({kPassword});
    PasswordTarget target(&source);
    EXPECT_EQ(fixtures::extractAll(*opened->archive, target), arc::Status::PasswordFile);
    EXPECT_EQ(target.results[0].status, arc::Status::Ok);
    EXPECT_TRUE(target.results[0].data == text);
    EXPECT_EQ(target.results[1].status, arc::Status::Ok);
    EXPECT_TRUE(target.results[1].data == text);
    EXPECT_EQ(target.results[2].status, arc::Status::PasswordFile);
    EXPECT_TRUE(target.results[2].data.empty());
}

}  // namespace
