#include "platform/Digest.h"

#include <cstdio>

namespace quillon {

namespace {

// The finaliser of splitmix64: spreads every input bit over the whole word.
constexpr std::uint64_t mix(std::uint64_t x) noexcept {
    x ^= x >> 30;
    x *= 0xBF58476D1CE4E5B9ULL;
    x ^= x >> 27;
    x *= 0x94D049BB133111EBULL;
    x ^= x >> 31;
    return x;
}

constexpr std::uint64_t rotateLeft(std::uint64_t x, int by) noexcept { return (x << by) | (x >> (64 - by)); }

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

void DigestBuilder::add(unsigned char byte) noexcept {
    fnv_ = (fnv_ ^ byte) * 0x100000001B3ULL;
    rot_ = rotateLeft(rot_ ^ byte, 23) * 0xFF51AFD7ED558CCDULL;
    ++length_;
}

Digest128 DigestBuilder::finish() const noexcept { return {mix(fnv_), mix(rot_ + length_)}; }

Digest128 digestOf(std::string_view bytes) noexcept {
    DigestBuilder builder;
    for (const char c : bytes) builder.add(static_cast<unsigned char>(c));
    return builder.finish();
}

std::string digestText(const Digest128& digest) {
    char text[33];
    std::snprintf(text, sizeof text, "%016llx%016llx", static_cast<unsigned long long>(digest.first),
                  static_cast<unsigned long long>(digest.second));
    return text;
}

bool parseDigest(std::string_view text, Digest128& out) {
    if (text.size() != 32) return false;
    Digest128 d;
    for (std::size_t i = 0; i < 32; ++i) {
        const int v = hexDigit(text[i]);
        if (v < 0) return false;
        std::uint64_t& half = i < 16 ? d.first : d.second;
        half = (half << 4) | static_cast<std::uint64_t>(v);
    }
    out = d;
    return true;
}

}  // namespace quillon
