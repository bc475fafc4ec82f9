#include "platform/TextCompare.h"

namespace quillon {

char foldCase(char c) noexcept {
    const auto u = static_cast<unsigned char>(c);
    if (u >= 'A' && u <= 'Z') return static_cast<char>(u + 32);
    // Latin-1 capitals À..Þ fold to à..þ, except the multiplication sign.
    if (u >= 0xC0 && u <= 0xDE && u != 0xD7) return static_cast<char>(u + 32);
    return c;
}

std::string toLowerAnsi(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = foldCase(c);
    return out;
}

bool equalsNoCase(std::string_view a, std::string_view b) noexcept {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (foldCase(a[i]) != foldCase(b[i])) return false;
    return true;
}

bool startsWithNoCase(std::string_view text, std::string_view prefix) noexcept {
    return text.size() >= prefix.size() && equalsNoCase(text.substr(0, prefix.size()), prefix);
}

bool endsWithNoCase(std::string_view text, std::string_view suffix) noexcept {
    return text.size() >= suffix.size() && equalsNoCase(text.substr(text.size() - suffix.size()), suffix);
}

std::size_t findNoCase(std::string_view text, std::string_view part, std::size_t from) noexcept {
    if (part.size() > text.size()) return std::string_view::npos;
    for (std::size_t i = from; i + part.size() <= text.size(); ++i)
        if (equalsNoCase(text.substr(i, part.size()), part)) return i;
    return std::string_view::npos;
}

}  // namespace quillon
