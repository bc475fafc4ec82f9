#include "platform/TextCompare.h"

#include <algorithm>

namespace quillon {

namespace {

#include "platform/CaseTable.inc"

bool isAscii(std::string_view text) noexcept {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// How many bytes of `text` match all of `prefix`, or npos.
std::size_t matchedPrefix(std::string_view text, std::string_view prefix) noexcept {
    std::size_t i = 0, j = 0;
    while (j < prefix.size()) {
        if (i == text.size()) return std::string_view::npos;
        const auto x = static_cast<unsigned char>(text[i]);
        const auto y = static_cast<unsigned char>(prefix[j]);
        if ((x | y) < 0x80) {
            if (foldCase(static_cast<char>(x)) != foldCase(static_cast<char>(y))) return std::string_view::npos;
            ++i, ++j;
        } else if (upperCase(nextCodePoint(text, i)) != upperCase(nextCodePoint(prefix, j))) {
            return std::string_view::npos;
        }
    }
    return i;
}

bool equalsAscii(std::string_view text, std::string_view ascii) noexcept {
    for (std::size_t i = 0; i < ascii.size(); ++i)
        if (foldCase(text[i]) != foldCase(ascii[i])) return false;
    return true;
}

}  // namespace

char32_t upperCase(char32_t cp) noexcept {
    if (cp > 0xFFFF) return cp;
    return (cp + CaseDelta[CaseBlock[cp >> 8]][cp & 0xFF]) & 0xFFFF;
}

std::string toLowerAnsi(std::string_view s) {
    // Most names are ASCII: folded in place, byte for byte.
    std::string out(s);
    bool ascii = true;
    for (char& c : out) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            ascii = false;
            break;
        }
        c = foldCase(c);
    }
    if (ascii) return out;
    out.clear();
    forEachFoldedByte(s, [&](unsigned char b) { out += static_cast<char>(b); });
    return out;
}

bool equalsNoCase(std::string_view a, std::string_view b) noexcept {
    return matchedPrefix(a, b) == a.size();
}

bool startsWithNoCase(std::string_view text, std::string_view prefix) noexcept {
    return matchedPrefix(text, prefix) != std::string_view::npos;
}

bool endsWithNoCase(std::string_view text, std::string_view suffix) noexcept {
    // ASCII matches only ASCII, byte for byte.
    if (isAscii(suffix)) return text.size() >= suffix.size() && equalsAscii(text.substr(text.size() - suffix.size()), suffix);
    // Upper case changes a character's length by at most half (two bytes against three).
    // A match starts where a character does, never inside one.
    const std::size_t widest = std::min(text.size(), suffix.size() * 2);
    for (std::size_t start = 0; start < text.size(); nextCodePoint(text, start))
        if (start + widest >= text.size() && matchedPrefix(text.substr(start), suffix) == text.size() - start) return true;
    return false;
}

std::size_t findNoCase(std::string_view text, std::string_view part, std::size_t from) noexcept {
    if (part.empty()) return from <= text.size() ? from : std::string_view::npos;
    const char first = foldCase(part.front());
    const bool asciiFirst = static_cast<unsigned char>(first) < 0x80;
    // A match starts where a character does, never inside one.
    for (std::size_t i = from; i < text.size(); nextCodePoint(text, i)) {
        if (asciiFirst && foldCase(text[i]) != first) continue;
        if (matchedPrefix(text.substr(i), part) != std::string_view::npos) return i;
    }
    return std::string_view::npos;
}

}  // namespace quillon
