// Which encoding a text is in, and turning its bytes into UTF-16 piece by
// piece. Pure code: the only outside help is the Shift-JIS conversion, which
// the caller supplies (the system's code page 932 on Windows).
//
// Texts in archives are mostly Shift-JIS; UTF-8 (with or without BOM),
// UTF-16 with BOM, EUC-JP and ISO-2022-JP also occur. EUC-JP and ISO-2022-JP
// are both JIS X 0208 in other clothes, so they are rewritten to Shift-JIS by
// arithmetic and share its conversion; that keeps the result identical to
// what code page 932 gives for the same characters, and needs no code page
// the system may lack.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace quibex {

enum class TextEncoding { ShiftJis, Utf8, Utf8Bom, Utf16Le, Utf16Be, EucJp, Iso2022Jp };

// Guesses the encoding from the first bytes of a text (any length; a sample
// cut in the middle of a character is fine). Shift-JIS wins whenever the
// bytes give no clear sign of anything else, binary junk included.
TextEncoding DetectTextEncoding(const uint8_t* data, size_t size);
const wchar_t* EncodingName(TextEncoding encoding);

// Appends the UTF-16 form of `size` Shift-JIS bytes that end on a character
// boundary.
using SjisConverter = void (*)(const char* sjis, size_t size, std::wstring& out);

// Rewrites one JIS X 0208 code (both bytes 0x21..0x7E) as its Shift-JIS pair.
void JisToSjis(uint8_t j1, uint8_t j2, uint8_t& s1, uint8_t& s2);

// Decodes a text fed in pieces of any size. NUL characters come out as
// spaces, so that a control showing the text never stops at one.
class TextDecoder {
public:
    TextDecoder(TextEncoding encoding, SjisConverter sjis);
    // Appends what `data` completes; bytes of a character cut at the end of
    // the piece wait for the next call. `last` flushes them.
    void Feed(const uint8_t* data, size_t size, bool last, std::wstring& out);

private:
    size_t DecodeSjis(const uint8_t* p, size_t n, bool last, std::wstring& out);
    size_t DecodeUtf8(const uint8_t* p, size_t n, bool last, std::wstring& out);
    size_t DecodeUtf16(const uint8_t* p, size_t n, bool last, std::wstring& out);
    size_t DecodeEuc(const uint8_t* p, size_t n, bool last, std::wstring& out);
    size_t DecodeIso2022(const uint8_t* p, size_t n, bool last, std::wstring& out);

    enum class JisMode { Ascii, Kanji, Kana, Supplement };

    TextEncoding encoding_;
    SjisConverter sjis_;
    bool atStart_ = true;  // a BOM is skipped only at the very start
    JisMode jisMode_ = JisMode::Ascii;
    std::string pending_;  // bytes of an unfinished character, at most a few
    std::string sjisBuffer_;
};

}  // namespace quibex
