#pragma once
// A command line taken apart as the system's start-up code does: the program's name ends at its
// closing quote, or else at the first blank; the parameters follow the blanks after it.
#include <string_view>

namespace quillon::win32 {

struct SplitCommandLine {
    std::wstring_view program;     // without its quotes
    std::wstring_view parameters;
};

inline SplitCommandLine splitCommandLine(std::wstring_view line) noexcept {
    std::wstring_view::size_type end = 0;
    SplitCommandLine split;
    if (!line.empty() && line.front() == L'"') {
        end = line.find(L'"', 1);
        split.program = line.substr(1, end == std::wstring_view::npos ? std::wstring_view::npos : end - 1);
        end = end == std::wstring_view::npos ? line.size() : end + 1;
    } else {
        end = line.find_first_of(L" \t");
        if (end == std::wstring_view::npos) end = line.size();
        split.program = line.substr(0, end);
    }
    const auto rest = line.find_first_not_of(L" \t", end);
    if (rest != std::wstring_view::npos) split.parameters = line.substr(rest);
    return split;
}

}  // namespace quillon::win32
