#pragma once
// UTF-8, the text of every string inside the program, and the ANSI text of older files.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace quillon {

// What nextCodePoint gives for a byte that starts no valid sequence: the byte, above every
// code point, so invalid text compares byte for byte and never equals valid text.
constexpr char32_t InvalidByteBase = 0x110000;

// The code point at text[i], moving i past it. Overlong forms, surrogates and cut sequences
// are invalid: their first byte comes back as InvalidByteBase + byte, and i moves by one.
inline char32_t nextCodePoint(std::string_view text, std::size_t& i) noexcept {
    const auto at = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned lead = at(i);
    if (lead < 0x80) return ++i, lead;
    std::size_t length = 0;
    char32_t cp = 0, least = 0;
    if (lead >= 0xC2 && lead <= 0xDF) length = 2, cp = lead & 0x1F, least = 0x80;
    else if (lead >= 0xE0 && lead <= 0xEF) length = 3, cp = lead & 0x0F, least = 0x800;
    else if (lead >= 0xF0 && lead <= 0xF4) length = 4, cp = lead & 0x07, least = 0x10000;
    if (length == 0 || i + length > text.size()) return ++i, InvalidByteBase + lead;
    for (std::size_t k = 1; k < length; ++k) {
        const unsigned next = at(i + k);
        if ((next & 0xC0) != 0x80) return ++i, InvalidByteBase + lead;
        cp = cp << 6 | (next & 0x3F);
    }
    if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return ++i, InvalidByteBase + lead;
    i += length;
    return cp;
}

// Writes a code point, or the byte an invalid one stands for, at `out` (room for four);
// gives the number of bytes.
inline std::size_t encodeUtf8(char32_t cp, char* out) noexcept {
    const auto put = [&](std::size_t k, char32_t v) { out[k] = static_cast<char>(v); };
    if (cp >= InvalidByteBase) return put(0, cp - InvalidByteBase), 1;
    if (cp < 0x80) return put(0, cp), 1;
    if (cp < 0x800) return put(0, 0xC0 | cp >> 6), put(1, 0x80 | (cp & 0x3F)), 2;
    if (cp < 0x10000) return put(0, 0xE0 | cp >> 12), put(1, 0x80 | (cp >> 6 & 0x3F)), put(2, 0x80 | (cp & 0x3F)), 3;
    put(0, 0xF0 | cp >> 18), put(1, 0x80 | (cp >> 12 & 0x3F)), put(2, 0x80 | (cp >> 6 & 0x3F));
    return put(3, 0x80 | (cp & 0x3F)), 4;
}

inline void appendUtf8(std::string& out, char32_t cp) {
    char bytes[4];
    out.append(bytes, encodeUtf8(cp, bytes));
}

bool isValidUtf8(std::string_view text) noexcept;

// Windows-1252, the ANSI code page of western systems, as Windows decodes it: its five unused
// bytes (81 8D 8F 90 9D) become the C1 controls of the same number.
std::string decodeWindows1252(std::string_view bytes);

}  // namespace quillon
