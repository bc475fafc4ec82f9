#pragma once
// The bytes of a text file holding these lines, each ended by CR LF.
#include <string>
#include <vector>

namespace quillon::fakes {

inline std::string crlfText(const std::vector<std::string>& lines) {
    std::string all;
    for (const auto& line : lines) all += line + "\r\n";
    return all;
}

}  // namespace quillon::fakes
