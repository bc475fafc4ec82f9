#include "detection/RegistryKeyIndex.h"

#include <algorithm>

#include "platform/TextCompare.h"

namespace quillon::detection {

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

}  // namespace

KeyDigest digestNoCase(std::string_view text) noexcept {
    // Two unrelated recurrences (FNV-1a, and a multiply-rotate finished with the length), so a
    // collision of one tells nothing about the other.
    std::uint64_t fnv = 0xCBF29CE484222325ULL;
    std::uint64_t rot = 0x9E3779B97F4A7C15ULL;
    std::uint64_t length = 0;  // of the folded text: folding may change a name's length
    forEachFoldedByte(text, [&](unsigned char byte) {
        fnv = (fnv ^ byte) * 0x100000001B3ULL;
        rot = rotateLeft(rot ^ byte, 23) * 0xFF51AFD7ED558CCDULL;
        ++length;
    });
    return {mix(fnv), mix(rot + length)};
}

void RegistryKeyIndex::add(std::string_view key) { digests_.push_back(digestNoCase(key)); }

void RegistryKeyIndex::seal() {
    std::sort(digests_.begin(), digests_.end());
    digests_.erase(std::unique(digests_.begin(), digests_.end()), digests_.end());
    digests_.shrink_to_fit();
}

bool RegistryKeyIndex::contains(std::string_view key) const {
    return std::binary_search(digests_.begin(), digests_.end(), digestNoCase(key));
}

void ReportedKeys::add(std::string_view key) { folded_.insert(toLowerAnsi(key)); }

bool ReportedKeys::liesBelowOne(std::string_view key) const {
    if (folded_.empty()) return false;
    const std::string folded = toLowerAnsi(key);
    const std::string_view view = folded;
    for (std::size_t at = view.find('\\'); at != std::string_view::npos; at = view.find('\\', at + 1))
        if (folded_.contains(view.substr(0, at))) return true;
    return false;
}

}  // namespace quillon::detection
