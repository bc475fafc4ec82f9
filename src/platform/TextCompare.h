#pragma once
// Comparison of UTF-8 text without regard to case, as Windows compares file names and registry
// names: each UTF-16 code unit stands for its simple upper case ("ДОМ" = "дом", "ß" != "SS",
// "İ" equals only itself), from the table scripts/gen-case-table writes. A byte that is not
// UTF-8 compares as itself, so no broken name ever equals another.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Utf8.h"

namespace quillon {

// The upper case of a code point (what nextCodePoint gives); past U+FFFF, and an invalid
// byte, are their own.
char32_t upperCase(char32_t cp) noexcept;

// An ASCII letter to lower case; any other byte is itself.
constexpr char foldCase(char c) noexcept { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

// Calls sink(byte) for every byte of the text's key: two texts have the same key exactly when
// they are equal without regard to case. ASCII goes to lower case (so "_" sorts before the
// letters, as it always did), the rest to its upper case, never into ASCII.
template <class Sink>
void forEachFoldedByte(std::string_view text, Sink&& sink) {
    for (std::size_t i = 0; i < text.size();) {
        const char c = text[i];
        if (static_cast<unsigned char>(c) < 0x80) {
            sink(static_cast<unsigned char>(foldCase(c)));
            ++i;
            continue;
        }
        char bytes[4];
        const std::size_t n = encodeUtf8(upperCase(nextCodePoint(text, i)), bytes);
        for (std::size_t k = 0; k < n; ++k) sink(static_cast<unsigned char>(bytes[k]));
    }
}

// The key of forEachFoldedByte as a string: equal keys for names equal without regard to case.
std::string toLowerAnsi(std::string_view s);
bool equalsNoCase(std::string_view a, std::string_view b) noexcept;
bool startsWithNoCase(std::string_view text, std::string_view prefix) noexcept;
bool endsWithNoCase(std::string_view text, std::string_view suffix) noexcept;
// Byte position of the first occurrence at or after `from`, or npos.
std::size_t findNoCase(std::string_view text, std::string_view part, std::size_t from = 0) noexcept;

}  // namespace quillon
