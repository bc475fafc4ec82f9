#pragma once
// A 128-bit digest for telling texts apart without holding them: two unrelated recurrences
// (FNV-1a, and a multiply-rotate finished with the length), so a collision of one tells
// nothing about the other. Not a cryptographic hash: it guards against accident, not intent.
#include <compare>
#include <cstdint>
#include <string>
#include <string_view>

namespace quillon {

struct Digest128 {
    std::uint64_t first = 0;
    std::uint64_t second = 0;
    auto operator<=>(const Digest128&) const = default;
};

class DigestBuilder {
public:
    void add(unsigned char byte) noexcept;
    Digest128 finish() const noexcept;

private:
    std::uint64_t fnv_ = 0xCBF29CE484222325ULL;
    std::uint64_t rot_ = 0x9E3779B97F4A7C15ULL;
    std::uint64_t length_ = 0;
};

Digest128 digestOf(std::string_view bytes) noexcept;
// 32 hexadecimal digits, and back; false for any other text.
std::string digestText(const Digest128& digest);
bool parseDigest(std::string_view text, Digest128& out);

}  // namespace quillon
