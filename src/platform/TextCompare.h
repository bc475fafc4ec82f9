#pragma once
// Comparison of ANSI (code page 1252) text without regard to case, as the system compares
// file names and registry names.
#include <string>
#include <string_view>

namespace quillon {

char foldCase(char c) noexcept;
std::string toLowerAnsi(std::string_view s);
bool equalsNoCase(std::string_view a, std::string_view b) noexcept;
bool startsWithNoCase(std::string_view text, std::string_view prefix) noexcept;
bool endsWithNoCase(std::string_view text, std::string_view suffix) noexcept;
// Position of the first occurrence at or after `from`, or npos.
std::size_t findNoCase(std::string_view text, std::string_view part, std::size_t from = 0) noexcept;

}  // namespace quillon
