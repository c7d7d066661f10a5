// Encoding detection and piecewise decoding of the viewer's texts.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "viewer/text_view/text_encoding.h"

using quibex::DetectTextEncoding;
using quibex::TextDecoder;
using quibex::TextEncoding;

namespace {

// "日本語のテキストです。" CR LF in each encoding (bytes made by Python's codecs).
const std::string kSjis = "\x93\xFA\x96\x7B\x8C\xEA\x82\xCC\x83\x65\x83\x4C\x83\x58\x83\x67\x82\xC5\x82\xB7\x81\x42\r\n";
const std::string kEuc = "\xC6\xFC\xCB\xDC\xB8\xEC\xA4\xCE\xA5\xC6\xA5\xAD\xA5\xB9\xA5\xC8\xA4\xC7\xA4\xB9\xA1\xA3\r\n";
const std::string kJis =
    "\x1B\x24\x42\x46\x7C\x4B\x5C\x38\x6C\x24\x4E\x25\x46\x25\x2D\x25\x39\x25\x48\x24\x47\x24\x39\x21\x23\x1B\x28\x42\r\n";
const std::string kUtf8 =
    "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE3\x81\xAE\xE3\x83\x86\xE3\x82\xAD\xE3\x82\xB9\xE3\x83\x88\xE3\x81\xA7\xE3"
    "\x81\x99\xE3\x80\x82\r\n";
const std::wstring kUnicode = L"日本語のテキストです。\r\n";

// Stands in for code page 932: one output unit per Shift-JIS character, the
// pair's two bytes as one number, so tests see exactly which bytes arrived.
void SjisCodes(const char* sjis, size_t size, std::wstring& out) {
    const auto* p = reinterpret_cast<const uint8_t*>(sjis);
    for (size_t i = 0; i < size; ++i) {
        bool lead = (p[i] >= 0x81 && p[i] <= 0x9F) || (p[i] >= 0xE0 && p[i] <= 0xFC);
        if (lead && i + 1 < size) {
            out.push_back(static_cast<wchar_t>((p[i] << 8) | p[i + 1]));
            ++i;
        } else {
            out.push_back(static_cast<wchar_t>(p[i]));
        }
    }
}

std::wstring Codes(const std::string& sjis) {
    std::wstring out;
    SjisCodes(sjis.data(), sjis.size(), out);
    return out;
}

const uint8_t* Bytes(const std::string& s) { return reinterpret_cast<const uint8_t*>(s.data()); }

std::string Repeat(const std::string& s, int n) {
    std::string r;
    for (int i = 0; i < n; ++i) r += s;
    return r;
}

// Decodes `bytes` in pieces of `piece` bytes.
std::wstring DecodeInPieces(TextEncoding enc, const std::string& bytes, size_t piece) {
    TextDecoder d(enc, SjisCodes);
    std::wstring out;
    for (size_t at = 0; at < bytes.size(); at += piece) {
        size_t n = std::min(piece, bytes.size() - at);
        d.Feed(Bytes(bytes) + at, n, at + n == bytes.size(), out);
    }
    if (bytes.empty()) d.Feed(nullptr, 0, true, out);
    return out;
}

std::string Utf16(const std::wstring& text, bool le, bool bom) {
    std::string s;
    auto put = [&](unsigned v) {
        char a = static_cast<char>(v & 0xFF), b = static_cast<char>(v >> 8);
        s += le ? std::string{a, b} : std::string{b, a};
    };
    if (bom) put(0xFEFF);
    for (wchar_t c : text) put(static_cast<unsigned>(c));
    return s;
}

struct DetectCase {
    const char* what;
    std::string bytes;
    TextEncoding expected;
};

TEST(ViewerEncoding, DetectsEachEncoding) {
    const std::vector<DetectCase> cases = {
        {"Shift-JIS", kSjis, TextEncoding::ShiftJis},
        {"EUC-JP", kEuc, TextEncoding::EucJp},
        {"ISO-2022-JP", kJis, TextEncoding::Iso2022Jp},
        {"UTF-8 without BOM", kUtf8, TextEncoding::Utf8},
        {"UTF-8 with BOM", "\xEF\xBB\xBF" + kUtf8, TextEncoding::Utf8Bom},
        {"UTF-16LE with BOM", Utf16(kUnicode, true, true), TextEncoding::Utf16Le},
        {"UTF-16BE with BOM", Utf16(kUnicode, false, true), TextEncoding::Utf16Be},
        {"plain ASCII stays Shift-JIS", "readme\r\nversion 1.0\r\n", TextEncoding::ShiftJis},
        {"empty text", "", TextEncoding::ShiftJis},
        {"half-width kana in Shift-JIS", "\xB6\xC5 ABC \xB1\xB2\xB3", TextEncoding::ShiftJis},
        {"EUC-JP half-width kana", "\x8E\xB6\x8E\xC5" + kEuc, TextEncoding::EucJp},
        {"ESC without JIS sequence", "a\x1B[0mb", TextEncoding::ShiftJis},
        // A sample cut in the middle of a character still decides right.
        {"Shift-JIS cut after a lead byte", kSjis.substr(0, 13), TextEncoding::ShiftJis},
        {"UTF-8 cut inside a sequence", kUtf8.substr(0, 14), TextEncoding::Utf8},
        {"EUC-JP cut after a lead byte", kEuc.substr(0, 11), TextEncoding::EucJp},
        {"UTF-8 with one bad byte is not UTF-8", kUtf8 + "\x82\xA0", TextEncoding::ShiftJis},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DetectTextEncoding(Bytes(c.bytes), c.bytes.size()), c.expected) << c.what;
    }
}

TEST(ViewerEncoding, LongTextsKeepTheirEncoding) {
    EXPECT_EQ(DetectTextEncoding(Bytes(Repeat(kSjis, 500)), kSjis.size() * 500), TextEncoding::ShiftJis);
    std::string euc = Repeat(kEuc, 500);
    EXPECT_EQ(DetectTextEncoding(Bytes(euc), euc.size()), TextEncoding::EucJp);
}

TEST(ViewerEncoding, JisToSjisArithmetic) {
    struct {
        uint8_t j1, j2, s1, s2;
    } table[] = {
        {0x24, 0x22, 0x82, 0xA0},  // あ: even row
        {0x46, 0x7C, 0x93, 0xFA},  // 日
        {0x4B, 0x5C, 0x96, 0x7B},  // 本: odd row, second byte below 0x60
        {0x21, 0x60, 0x81, 0x80},  // odd row, second byte from 0x60 skips 0x7F
        {0x21, 0x21, 0x81, 0x40},  // first code
        {0x5F, 0x21, 0xE0, 0x40},  // first row past 0x9F leads
        {0x7E, 0x7E, 0xEF, 0xFC},  // last code
    };
    for (const auto& t : table) {
        uint8_t s1 = 0, s2 = 0;
        quibex::JisToSjis(t.j1, t.j2, s1, s2);
        EXPECT_EQ(s1, t.s1) << std::hex << int(t.j1) << int(t.j2);
        EXPECT_EQ(s2, t.s2) << std::hex << int(t.j1) << int(t.j2);
    }
}

struct RoundTrip {
    const char* what;
    TextEncoding enc;
    std::string bytes;
    std::wstring expected;
};

std::vector<RoundTrip> RoundTrips() {
    return {
        {"Shift-JIS", TextEncoding::ShiftJis, kSjis, Codes(kSjis)},
        {"EUC-JP gives the same Shift-JIS", TextEncoding::EucJp, kEuc, Codes(kSjis)},
        {"ISO-2022-JP gives the same Shift-JIS", TextEncoding::Iso2022Jp, kJis, Codes(kSjis)},
        {"UTF-8", TextEncoding::Utf8, kUtf8, kUnicode},
        {"UTF-8 BOM is dropped", TextEncoding::Utf8Bom, "\xEF\xBB\xBF" + kUtf8, kUnicode},
        {"UTF-16LE BOM is dropped", TextEncoding::Utf16Le, Utf16(kUnicode, true, true), kUnicode},
        {"UTF-16BE", TextEncoding::Utf16Be, Utf16(kUnicode, false, true), kUnicode},
        {"UTF-8 four-byte sequence becomes a surrogate pair", TextEncoding::Utf8, "a\xF0\x9F\x98\x80z",
         L"a\xD83D\xDE00z"},
        {"EUC-JP half-width kana", TextEncoding::EucJp, "\x8E\xB6\x8E\xC5", Codes("\xB6\xC5")},
        {"EUC-JP supplementary kanji shows the geta mark", TextEncoding::EucJp, "\x8F\xB0\xA1x", Codes("\x81\xAC") + L"x"},
        {"ISO-2022-JP kana set", TextEncoding::Iso2022Jp, "\x1B(I\x36\x45\x1B(Bz", Codes("\xB6\xC5z")},
        {"ISO-2022-JP line end inside kanji mode passes", TextEncoding::Iso2022Jp, "\x1B$B\x24\x22\r\n\x24\x22",
         Codes("\x82\xA0\r\n\x82\xA0")},
        {"NUL becomes a space", TextEncoding::ShiftJis, std::string("a\0b", 3), L"a b"},
        {"NUL in UTF-16 becomes a space", TextEncoding::Utf16Le, std::string("\xFF\xFE" "a\0\0\0", 6), L"a "},
    };
}

TEST(ViewerEncoding, DecodesWholeAndInEveryPieceSize) {
    for (const auto& rt : RoundTrips()) {
        for (size_t piece : {size_t{1}, size_t{2}, size_t{3}, size_t{5}, size_t{4096}}) {
            EXPECT_EQ(DecodeInPieces(rt.enc, rt.bytes, piece), rt.expected) << rt.what << ", pieces of " << piece;
        }
    }
}

TEST(ViewerEncoding, CutCharactersAtTheEndAreFlushed) {
    // A text that ends inside a character still ends: the rest shows as a
    // replacement instead of vanishing or waiting for more input.
    EXPECT_EQ(DecodeInPieces(TextEncoding::Utf8, "ab\xE3\x81", 64), L"ab\xFFFD");
    EXPECT_EQ(DecodeInPieces(TextEncoding::Utf16Le, std::string("\xFF\xFE" "a\0b", 5), 64), L"a\xFFFD");
    EXPECT_EQ(DecodeInPieces(TextEncoding::EucJp, "a\xC6", 64), L"a?");
    EXPECT_EQ(DecodeInPieces(TextEncoding::ShiftJis, "a\x93", 64), Codes("a\x93"));
}

TEST(ViewerEncoding, InvalidUtf8BecomesReplacement) {
    struct {
        const char* what;
        std::string bytes;
        std::wstring expected;
    } cases[] = {
        {"stray continuation", "a\x80z", L"a\xFFFDz"},
        {"overlong slash", "\xC0\xAF", L"\xFFFD\xFFFD"},
        {"encoded surrogate", "\xED\xA0\x80", L"\xFFFD\xFFFD\xFFFD"},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", L"\xFFFD\xFFFD\xFFFD\xFFFD"},
        {"lead without continuation", "\xE3z", L"\xFFFDz"},
    };
    for (const auto& c : cases) EXPECT_EQ(DecodeInPieces(TextEncoding::Utf8, c.bytes, 7), c.expected) << c.what;
}

TEST(ViewerEncoding, BinaryJunkNeverStallsOrOverreads) {
    std::mt19937 rng(12345);
    for (int round = 0; round < 200; ++round) {
        std::string junk(1 + rng() % 3000, '\0');
        for (auto& c : junk) c = static_cast<char>(rng() & 0xFF);
        TextEncoding enc = DetectTextEncoding(Bytes(junk), junk.size());
        for (TextEncoding e : {enc, TextEncoding::EucJp, TextEncoding::Iso2022Jp, TextEncoding::Utf8}) {
            std::wstring out = DecodeInPieces(e, junk, 1 + rng() % 700);
            // Every input byte yields at most one output unit, and something comes out.
            EXPECT_LE(out.size(), junk.size() * 2);
            EXPECT_FALSE(out.empty());
            EXPECT_EQ(out.find(L'\0'), std::wstring::npos);
        }
    }
}

}  // namespace
