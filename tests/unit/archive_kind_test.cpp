// Which kind a plain archive is: by its extension, or for an extension that
// names no kind by its first bytes.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "archive/archive_signature.h"
#include "archive/reader_family.h"

namespace {

using quibex::ReaderKind;

struct ExtensionCase {
    const wchar_t* extension;  // upper case, as detection passes it
    std::optional<ReaderKind> kind;
};

TEST(ArchiveKind, ByExtension) {
    const ExtensionCase cases[] = {
        {L"LZH", ReaderKind::Lzh}, {L"7Z", ReaderKind::SevenZip}, {L"RAR", ReaderKind::Rar}, {L"R00", ReaderKind::Rar},
        {L"R99", ReaderKind::Rar}, {L"EXE", std::nullopt},        {L"", std::nullopt},       {L"R0", std::nullopt},
        {L"R000", std::nullopt},   {L"S00", std::nullopt},        {L"7ZZ", std::nullopt},
    };
    for (const ExtensionCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.extension)));
        EXPECT_EQ(quibex::KindOfExtension(c.extension), c.kind);
    }
    // Old volume names belong to RAR alone; a signature-detected file under
    // another name is not the kind's own (the no-text reaction beeps for it).
    EXPECT_TRUE(quibex::IsOwnExtension(ReaderKind::Rar, L"R07"));
    EXPECT_FALSE(quibex::IsOwnExtension(ReaderKind::SevenZip, L"R07"));
    EXPECT_FALSE(quibex::IsOwnExtension(ReaderKind::SevenZip, L"BIN"));
}

struct SignatureCase {
    const char* name;
    std::string head;
    std::optional<ReaderKind> kind;
};

TEST(ArchiveKind, BySignature) {
    using namespace std::string_literals;
    const SignatureCase cases[] = {
        {"7z", "7z\xBC\xAF\x27\x1C\x00\x04"s, ReaderKind::SevenZip},
        {"7z cut short", "7z\xBC\xAF\x27"s, std::nullopt},
        {"7z one byte wrong", "7z\xBC\xAF\x27\x1D\x00\x04"s, std::nullopt},
        {"RAR 1.5-4", "Rar!\x1A\x07\x00\xCF"s, ReaderKind::Rar},
        {"RAR 5", "Rar!\x1A\x07\x01\x00"s, ReaderKind::Rar},
        {"RAR 5 cut short", "Rar!\x1A\x07\x01"s, std::nullopt},
        {"RAR unknown version", "Rar!\x1A\x07\x02\x00"s, std::nullopt},
        {"ZIP", "PK\x03\x04\x14\x00\x00\x00"s, std::nullopt},
        {"empty", ""s, std::nullopt},
    };
    for (const SignatureCase& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_LE(c.head.size(), quibex::kSignatureBytes);
        EXPECT_EQ(quibex::KindBySignature(reinterpret_cast<const unsigned char*>(c.head.data()), c.head.size()),
                  c.kind);
    }
}

}  // namespace
