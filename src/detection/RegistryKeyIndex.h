#pragma once
// Set membership for key lists of hundreds of thousands of keys without holding their text:
// each key is kept as a 128-bit digest of its case-folded path. Two different paths would
// have to agree on both 64-bit halves to be confused, which does not happen in practice, so a
// new key is never taken for an old one.
#include <cstdint>
#include <compare>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "platform/Digest.h"

namespace quillon::detection {

using KeyDigest = Digest128;

// The same digest for texts that are equal without regard to case.
KeyDigest digestNoCase(std::string_view text) noexcept;

// Built once from a snapshot (add, then seal), then asked.
class RegistryKeyIndex {
public:
    void add(std::string_view key);
    void seal();
    // Whether a line equal to `key` (without regard to case) was added. Only after seal().
    bool contains(std::string_view key) const;
    std::size_t size() const { return digests_.size(); }

private:
    std::vector<KeyDigest> digests_;
};

// The keys already reported as new. A key lies below one of them exactly when it begins with
// that key's path followed by "\"; checking each ancestor of a key costs its depth, however
// many keys were reported.
class ReportedKeys {
public:
    void add(std::string_view key);
    bool liesBelowOne(std::string_view key) const;

private:
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const noexcept { return std::hash<std::string_view>{}(s); }
    };
    std::unordered_set<std::string, Hash, std::equal_to<>> folded_;
};

}  // namespace quillon::detection
