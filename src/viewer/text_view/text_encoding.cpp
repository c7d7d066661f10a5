#include "viewer/text_view/text_encoding.h"

#include <algorithm>

namespace quibex {
namespace {

constexpr wchar_t kReplacement = 0xFFFD;
// JIS X 0212 has no Shift-JIS form; its characters show as the geta mark.
constexpr uint8_t kGeta1 = 0x81, kGeta2 = 0xAC;

bool IsSjisLead(uint8_t b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool IsSjisTrail(uint8_t b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }
bool IsEucByte(uint8_t b) { return b >= 0xA1 && b <= 0xFE; }

struct Tally {
    size_t errors = 0;
    long score = 0;
    size_t kana = 0;  // EUC-JP pairs of the kana and punctuation rows
};

Tally TallySjis(const uint8_t* p, size_t n) {
    Tally t;
    size_t i = 0;
    while (i < n) {
        uint8_t b = p[i];
        if (b < 0x80) {
            ++i;
        } else if (b >= 0xA1 && b <= 0xDF) {
            --t.score;  // half-width kana: rare in real texts
            ++i;
        } else if (IsSjisLead(b)) {
            if (i + 1 >= n) break;  // cut by the sample's end
            uint8_t c = p[i + 1];
            if (!IsSjisTrail(c)) {
                ++t.errors;
                ++i;
                continue;
            }
            if (b == 0x81 || b == 0x82 || b == 0x83 || (b >= 0x88 && b <= 0x9F) || (b >= 0xE0 && b <= 0xEA)) ++t.score;
            i += 2;
        } else {
            ++t.errors;
            ++i;
        }
    }
    return t;
}

Tally TallyEuc(const uint8_t* p, size_t n) {
    Tally t;
    size_t i = 0;
    while (i < n) {
        uint8_t b = p[i];
        if (b < 0x80) {
            ++i;
        } else if (b == 0x8E) {
            if (i + 1 >= n) break;
            if (p[i + 1] >= 0xA1 && p[i + 1] <= 0xDF) {
                i += 2;
            } else {
                ++t.errors;
                ++i;
            }
        } else if (b == 0x8F) {
            if (i + 2 >= n) break;
            if (IsEucByte(p[i + 1]) && IsEucByte(p[i + 2])) {
                i += 3;
            } else {
                ++t.errors;
                ++i;
            }
        } else if (IsEucByte(b)) {
            if (i + 1 >= n) break;
            if (!IsEucByte(p[i + 1])) {
                ++t.errors;
                ++i;
                continue;
            }
            if (b <= 0xA5) ++t.kana;
            if (b <= 0xA5 || (b >= 0xB0 && b <= 0xF4)) ++t.score;
            i += 2;
        } else {
            ++t.errors;
            ++i;
        }
    }
    return t;
}

// Length of a UTF-8 sequence starting with `b`, 0 when `b` cannot start one.
size_t Utf8Length(uint8_t b) {
    if (b < 0x80) return 1;
    if (b >= 0xC2 && b <= 0xDF) return 2;
    if (b >= 0xE0 && b <= 0xEF) return 3;
    if (b >= 0xF0 && b <= 0xF4) return 4;
    return 0;
}

// Decodes one sequence at p (n bytes available). Returns its length, 0 when
// it is cut by the end of the data, and sets `cp` (kReplacement when invalid,
// with length 1).
size_t DecodeUtf8Sequence(const uint8_t* p, size_t n, uint32_t& cp) {
    size_t len = Utf8Length(p[0]);
    if (len == 0) {
        cp = kReplacement;
        return 1;
    }
    if (len == 1) {
        cp = p[0];
        return 1;
    }
    uint32_t value = p[0] & (0x7F >> len);
    for (size_t k = 1; k < len; ++k) {
        if (k >= n) return 0;
        if ((p[k] & 0xC0) != 0x80) {
            cp = kReplacement;
            return 1;
        }
        value = (value << 6) | (p[k] & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are invalid.
    static const uint32_t kMinimum[5] = {0, 0, 0x80, 0x800, 0x10000};
    if (value < kMinimum[len] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        cp = kReplacement;
        return 1;
    }
    cp = value;
    return len;
}

// True when the sample is UTF-8 without a single error and holds at least
// one character beyond ASCII.
bool LooksUtf8(const uint8_t* p, size_t n) {
    size_t i = 0, multi = 0;
    while (i < n) {
        uint32_t cp;
        size_t len = DecodeUtf8Sequence(p + i, n - i, cp);
        if (len == 0) break;  // cut by the sample's end
        if (cp == kReplacement) return false;
        if (len > 1) ++multi;
        i += len;
    }
    return multi > 0;
}

bool HasJisEscape(const uint8_t* p, size_t n) {
    for (size_t i = 0; i + 2 < n; ++i) {
        if (p[i] != 0x1B) continue;
        if (p[i + 1] == '$' && (p[i + 2] == 'B' || p[i + 2] == '@' || p[i + 2] == '(')) return true;
        if (p[i + 1] == '(' && (p[i + 2] == 'I' || p[i + 2] == 'J')) return true;
    }
    return false;
}

void AppendUtf16(uint32_t cp, std::wstring& out) {
    if (cp >= 0x10000) {
        cp -= 0x10000;
        out.push_back(static_cast<wchar_t>(0xD800 + (cp >> 10)));
        out.push_back(static_cast<wchar_t>(0xDC00 + (cp & 0x3FF)));
    } else {
        out.push_back(static_cast<wchar_t>(cp));
    }
}

}  // namespace

TextEncoding DetectTextEncoding(const uint8_t* data, size_t size) {
    if (size >= 3 && data[0] == 0xEF && data[1] == 0xBB && data[2] == 0xBF) return TextEncoding::Utf8Bom;
    if (size >= 2 && data[0] == 0xFF && data[1] == 0xFE) return TextEncoding::Utf16Le;
    if (size >= 2 && data[0] == 0xFE && data[1] == 0xFF) return TextEncoding::Utf16Be;
    bool high = std::any_of(data, data + size, [](uint8_t b) { return b >= 0x80; });
    if (!high) return HasJisEscape(data, size) ? TextEncoding::Iso2022Jp : TextEncoding::ShiftJis;
    if (LooksUtf8(data, size)) return TextEncoding::Utf8;
    Tally sjis = TallySjis(data, size);
    Tally euc = TallyEuc(data, size);
    // Japanese prose in EUC-JP always has kana or punctuation pairs; bytes
    // that only pair up as kanji are more likely half-width kana in Shift-JIS.
    if (euc.errors < sjis.errors || (euc.errors == sjis.errors && euc.kana > 0 && euc.score > sjis.score))
        return TextEncoding::EucJp;
    return TextEncoding::ShiftJis;
}

const wchar_t* EncodingName(TextEncoding encoding) {
    switch (encoding) {
    case TextEncoding::ShiftJis: return L"Shift-JIS";
    case TextEncoding::Utf8: return L"UTF-8";
    case TextEncoding::Utf8Bom: return L"UTF-8 (BOM)";
    case TextEncoding::Utf16Le: return L"UTF-16LE";
    case TextEncoding::Utf16Be: return L"UTF-16BE";
    case TextEncoding::EucJp: return L"EUC-JP";
    case TextEncoding::Iso2022Jp: return L"ISO-2022-JP";
    }
    return L"";
}

void JisToSjis(uint8_t j1, uint8_t j2, uint8_t& s1, uint8_t& s2) {
    s1 = static_cast<uint8_t>(((j1 + 1) >> 1) + (j1 <= 0x5E ? 0x70 : 0xB0));
    if (j1 & 1)
        s2 = static_cast<uint8_t>(j2 + (j2 >= 0x60 ? 0x20 : 0x1F));
    else
        s2 = static_cast<uint8_t>(j2 + 0x7E);
}

TextDecoder::TextDecoder(TextEncoding encoding, SjisConverter sjis) : encoding_(encoding), sjis_(sjis) {}

void TextDecoder::Feed(const uint8_t* data, size_t size, bool last, std::wstring& out) {
    // The few bytes left over from the last piece go in front of this one.
    std::string joined;
    const uint8_t* p = data;
    size_t n = size;
    if (!pending_.empty()) {
        joined = pending_;
        joined.append(reinterpret_cast<const char*>(data), size);
        p = reinterpret_cast<const uint8_t*>(joined.data());
        n = joined.size();
    }
    size_t start = 0;
    if (atStart_) {
        size_t bom = encoding_ == TextEncoding::Utf8Bom                                           ? 3
                     : (encoding_ == TextEncoding::Utf16Le || encoding_ == TextEncoding::Utf16Be) ? 2
                                                                                                  : 0;
        if (n < bom && !last) {  // the BOM is not complete yet
            pending_.assign(reinterpret_cast<const char*>(p), n);
            return;
        }
        static const uint8_t kBoms[3][3] = {{0xEF, 0xBB, 0xBF}, {0xFF, 0xFE, 0}, {0xFE, 0xFF, 0}};
        const uint8_t* expected = encoding_ == TextEncoding::Utf8Bom   ? kBoms[0]
                                  : encoding_ == TextEncoding::Utf16Le ? kBoms[1]
                                                                       : kBoms[2];
        if (bom > 0 && n >= bom && std::equal(p, p + bom, expected)) start = bom;
        atStart_ = false;
    }
    size_t firstOut = out.size();
    size_t used = start;
    switch (encoding_) {
    case TextEncoding::ShiftJis: used += DecodeSjis(p + start, n - start, last, out); break;
    case TextEncoding::Utf8:
    case TextEncoding::Utf8Bom: used += DecodeUtf8(p + start, n - start, last, out); break;
    case TextEncoding::Utf16Le:
    case TextEncoding::Utf16Be: used += DecodeUtf16(p + start, n - start, last, out); break;
    case TextEncoding::EucJp: used += DecodeEuc(p + start, n - start, last, out); break;
    case TextEncoding::Iso2022Jp: used += DecodeIso2022(p + start, n - start, last, out); break;
    }
    pending_.assign(reinterpret_cast<const char*>(p + used), n - used);
    std::replace(out.begin() + static_cast<std::ptrdiff_t>(firstOut), out.end(), L'\0', L' ');
}

size_t TextDecoder::DecodeSjis(const uint8_t* p, size_t n, bool last, std::wstring& out) {
    // Hand over everything up to the last whole character.
    size_t i = 0, whole = 0;
    while (i < n) {
        if (IsSjisLead(p[i])) {
            if (i + 1 >= n) break;
            i += 2;
        } else {
            i += 1;
        }
        whole = i;
    }
    if (last) whole = n;
    if (whole > 0) sjis_(reinterpret_cast<const char*>(p), whole, out);
    return whole;
}

size_t TextDecoder::DecodeUtf8(const uint8_t* p, size_t n, bool last, std::wstring& out) {
    size_t i = 0;
    while (i < n) {
        uint32_t cp;
        size_t len = DecodeUtf8Sequence(p + i, n - i, cp);
        if (len == 0) {
            if (!last) break;
            out.push_back(kReplacement);
            return n;
        }
        AppendUtf16(cp, out);
        i += len;
    }
    return i;
}

size_t TextDecoder::DecodeUtf16(const uint8_t* p, size_t n, bool last, std::wstring& out) {
    bool le = encoding_ == TextEncoding::Utf16Le;
    size_t pairs = n / 2;
    out.reserve(out.size() + pairs);
    for (size_t k = 0; k < pairs; ++k) {
        uint8_t a = p[2 * k], b = p[2 * k + 1];
        out.push_back(static_cast<wchar_t>(le ? (a | (b << 8)) : ((a << 8) | b)));
    }
    if (last && (n & 1)) {
        out.push_back(kReplacement);
        return n;
    }
    return pairs * 2;
}

size_t TextDecoder::DecodeEuc(const uint8_t* p, size_t n, bool last, std::wstring& out) {
    sjisBuffer_.clear();
    size_t i = 0;
    while (i < n) {
        uint8_t b = p[i];
        size_t need = b == 0x8F ? 3 : (b == 0x8E || IsEucByte(b)) ? 2 : 1;
        if (i + need > n) {
            if (!last) break;
            sjisBuffer_.push_back('?');
            i = n;
            break;
        }
        if (need == 1) {
            sjisBuffer_.push_back(static_cast<char>(b < 0x80 ? b : '?'));
        } else if (b == 0x8E) {
            sjisBuffer_.push_back(static_cast<char>(p[i + 1]));
        } else if (b == 0x8F) {
            sjisBuffer_.push_back(static_cast<char>(kGeta1));
            sjisBuffer_.push_back(static_cast<char>(kGeta2));
        } else if (IsEucByte(p[i + 1])) {
            uint8_t s1, s2;
            JisToSjis(static_cast<uint8_t>(b - 0x80), static_cast<uint8_t>(p[i + 1] - 0x80), s1, s2);
            sjisBuffer_.push_back(static_cast<char>(s1));
            sjisBuffer_.push_back(static_cast<char>(s2));
        } else {
            sjisBuffer_.push_back('?');
            need = 1;  // resynchronise on the next byte
        }
        i += need;
    }
    if (!sjisBuffer_.empty()) sjis_(sjisBuffer_.data(), sjisBuffer_.size(), out);
    return i;
}

size_t TextDecoder::DecodeIso2022(const uint8_t* p, size_t n, bool last, std::wstring& out) {
    sjisBuffer_.clear();
    size_t i = 0;
    while (i < n) {
        uint8_t b = p[i];
        if (b == 0x1B) {
            // ESC ( B/J, ESC ( I, ESC $ @/B, ESC $ ( D and the like.
            size_t len = (i + 2 < n && p[i + 1] == '$' && p[i + 2] == '(') ? 4 : 3;
            if (i + len > n) {
                if (!last) break;
                i = n;
                break;
            }
            uint8_t a = p[i + 1], c = p[i + len - 1];
            if (a == '(' && (c == 'B' || c == 'J' || c == 'H'))
                jisMode_ = JisMode::Ascii;
            else if (a == '(' && c == 'I')
                jisMode_ = JisMode::Kana;
            else if (a == '$' && (c == '@' || c == 'B' || c == 'Q' || c == 'O'))
                jisMode_ = JisMode::Kanji;
            else if (a == '$' && c == 'D')
                jisMode_ = JisMode::Supplement;
            else {
                sjisBuffer_.push_back('?');  // unknown escape: show it, skip the ESC only
                i += 1;
                continue;
            }
            i += len;
            continue;
        }
        if (b == 0x0E) {  // shift out: half-width kana
            jisMode_ = JisMode::Kana;
            ++i;
            continue;
        }
        if (b == 0x0F) {
            jisMode_ = JisMode::Ascii;
            ++i;
            continue;
        }
        bool printable = b >= 0x21 && b <= 0x7E;
        if (!printable || jisMode_ == JisMode::Ascii) {
            // Line ends and controls pass in every mode; broken files forget
            // to switch back before them.
            sjisBuffer_.push_back(static_cast<char>(b < 0x80 ? b : '?'));
            ++i;
            continue;
        }
        if (jisMode_ == JisMode::Kana) {
            sjisBuffer_.push_back(static_cast<char>(b <= 0x5F ? b + 0x80 : '?'));
            ++i;
            continue;
        }
        if (i + 1 >= n) {
            if (!last) break;
            sjisBuffer_.push_back('?');
            i = n;
            break;
        }
        uint8_t b2 = p[i + 1];
        if (b2 < 0x21 || b2 > 0x7E) {
            sjisBuffer_.push_back('?');
            ++i;
            continue;
        }
        if (jisMode_ == JisMode::Supplement) {
            sjisBuffer_.push_back(static_cast<char>(kGeta1));
            sjisBuffer_.push_back(static_cast<char>(kGeta2));
        } else {
            uint8_t s1, s2;
            JisToSjis(b, b2, s1, s2);
            sjisBuffer_.push_back(static_cast<char>(s1));
            sjisBuffer_.push_back(static_cast<char>(s2));
        }
        i += 2;
    }
    if (!sjisBuffer_.empty()) sjis_(sjisBuffer_.data(), sjisBuffer_.size(), out);
    return i;
}

}  // namespace quibex
