#include "shell/SizeSortKey.h"

#include <cstdint>
#include <cstdlib>

namespace quillon::shell {

namespace {

constexpr std::size_t KeyDigits = 9;

// The leading number of the text, as a basic Val() reads it: digits with an optional
// fraction; 0 when there is none.
double leadingNumber(std::string_view text) {
    std::string digits;
    bool point = false;
    for (const char c : text) {
        if (c >= '0' && c <= '9') {
            digits += c;
        } else if (c == '.' && !point) {
            point = true;
            digits += c;
        } else {
            break;
        }
    }
    return digits.empty() ? 0 : std::strtod(digits.c_str(), nullptr);
}

double kilobytesPerUnit(std::string_view sizeText) {
    if (sizeText.find("TB") != std::string_view::npos) return 1024.0 * 1024 * 1024;
    if (sizeText.find("GB") != std::string_view::npos) return 1024.0 * 1024;
    if (sizeText.find("MB") != std::string_view::npos) return 1024.0;
    return 1;
}

}  // namespace

std::string sizeSortKey(std::string_view sizeText) {
    const std::string_view number = sizeText.substr(0, sizeText.size() < 2 ? 0 : sizeText.size() - 2);
    const auto kilobytes = static_cast<std::uint64_t>(leadingNumber(number) * kilobytesPerUnit(sizeText));
    std::string key = std::to_string(kilobytes);
    if (key.size() < KeyDigits) return std::string(KeyDigits - key.size(), '0') + key;
    return key.substr(key.size() - KeyDigits);
}

}  // namespace quillon::shell
