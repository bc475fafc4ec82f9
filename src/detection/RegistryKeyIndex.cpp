#include "detection/RegistryKeyIndex.h"

#include <algorithm>

#include "platform/TextCompare.h"

namespace quillon::detection {

KeyDigest digestNoCase(std::string_view text) noexcept {
    // The folded text: folding may change a name's length.
    DigestBuilder builder;
    forEachFoldedByte(text, [&](unsigned char byte) { builder.add(byte); });
    return builder.finish();
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
