#include "review/SavedListClaims.h"

#include <algorithm>
#include <bit>
#include <memory>

#include "platform/TextCompare.h"
#include "review/SavedForDeletion.h"
#include "review/ValueRows.h"
#include "shell/RemovalGuard.h"

namespace quillon::review {
namespace {

constexpr std::uint64_t HashStart = 14695981039346656037ull;  // FNV-1a
constexpr std::uint64_t hashStep(std::uint64_t hash, unsigned char c) { return (hash ^ c) * 1099511628211ull; }

std::string_view withoutTrailingBackslashes(std::string_view text) {
    while (text.ends_with('\\')) text.remove_suffix(1);
    return text;
}

// "u\" or "m\" before a key's path for the two hives a list may name, and the path; no hive
// for any other.
struct KeyParts {
    std::string_view hive;
    std::string_view path;
};
KeyParts keyParts(std::string_view entry) {
    const std::size_t slash = entry.find('\\');
    const shell::KeyEntry key = shell::parseKeyEntry(entry.substr(0, slash));
    if (!key.knownHive || slash == std::string_view::npos) return {};
    return {key.hive == Hive::CurrentUser ? "u\\" : "m\\", withoutTrailingBackslashes(entry.substr(slash + 1))};
}

// One spelling whatever the case and however a list ends a folder or key.
std::string folded(std::string_view prefix, std::string_view text) {
    return std::string(prefix) + toLowerAnsi(withoutTrailingBackslashes(text));
}

std::string foldedValue(std::string_view key, std::string_view name) {
    const KeyParts parts = keyParts(key);
    return parts.hive.empty() ? std::string() : folded(parts.hive, parts.path) + '\t' + toLowerAnsi(name);
}

std::uint64_t hashOf(std::string_view text) {
    std::uint64_t hash = HashStart;
    for (const char c : text) hash = hashStep(hash, static_cast<unsigned char>(c));
    return hash;
}

}  // namespace

SavedListClaims::SavedListClaims(FileSystem& files, RunContext& run, Registry& registry, std::string_view listPath,
                                 const RemovalListContents& list) {
    for (const std::string& path : list.paths) hashInto(paths_, folded("", path));
    for (const std::string& key : list.keys) {
        const KeyParts parts = keyParts(key);
        hashInto(keys_, parts.hive.empty() ? std::string() : folded(parts.hive, parts.path));
    }
    for (const auto& [entry, row] : list.values) hashInto(values_, foldedValue(row.key, row.name));
    for (Part* part : {&paths_, &keys_, &values_}) part->seal();
    for (const std::string& other : savedForDeletionLists(registry)) {
        std::vector<Claim> found;
        if (equalsNoCase(other, listPath) || !readClaims(files, run, other, found)) continue;
        lists_.push_back(other);
        for (const auto& [part, entry] : found)
            if (!part->claimedBy[entry]) part->claimedBy[entry] = static_cast<std::uint32_t>(lists_.size());
    }
}

void SavedListClaims::hashInto(Part& part, std::string spelling) {
    part.hash.push_back(hashOf(spelling));
    part.spelling.push_back(std::move(spelling));
    part.claimedBy.push_back(0);
}

// At most half full, so a probe that misses mostly meets an empty slot at once.
void SavedListClaims::Part::seal() {
    slots.assign(std::bit_ceil(std::max<std::size_t>(16, 2 * spelling.size())), 0);
    const std::size_t mask = slots.size() - 1;
    for (std::uint32_t entry = 0; entry < spelling.size(); ++entry) {
        const std::size_t length = spelling[entry].size();
        if (!length) continue;  // a key of no hive a list may name
        if (lengthUsed.size() <= length) lengthUsed.resize(length + 1);
        lengthUsed[length] = true;
        std::size_t at = hash[entry] & mask;
        while (slots[at]) at = (at + 1) & mask;
        slots[at] = entry + 1;
    }
}

// The entries hashed like `prefix` + `raw` folded; the spelling is made only for a hash that
// matches, which is rare.
void SavedListClaims::probe(Part& part, std::string_view prefix, std::string_view raw, std::uint64_t hash,
                            std::vector<Claim>& found) {
    const std::size_t mask = part.slots.size() - 1;
    for (std::size_t at = hash & mask; part.slots[at]; at = (at + 1) & mask) {
        const std::uint32_t entry = part.slots[at] - 1;
        if (part.hash[entry] == hash && part.spelling[entry] == folded(prefix, raw)) found.emplace_back(&part, entry);
    }
}

// Folds and hashes `raw` in one pass, without a copy: the other lists' lines are many, and most
// of their prefixes are no entry's length, so they are not even looked up.
void SavedListClaims::probePrefixes(Part& part, std::string_view prefix, std::string_view raw, std::vector<Claim>& found) {
    raw = withoutTrailingBackslashes(raw);
    if (part.spelling.empty() || raw.empty()) return;
    std::uint64_t hash = hashOf(prefix);
    std::size_t length = prefix.size();
    const auto probeAt = [&](std::size_t end) {
        if (length < part.lengthUsed.size() && part.lengthUsed[length]) probe(part, prefix, raw.substr(0, end), hash, found);
    };
    for (std::size_t i = 0; i < raw.size();) {
        const auto c = static_cast<unsigned char>(raw[i]);
        if (c >= 0x80) {
            char bytes[4];
            const std::size_t n = encodeUtf8(upperCase(nextCodePoint(raw, i)), bytes);
            for (std::size_t k = 0; k < n; ++k) hash = hashStep(hash, static_cast<unsigned char>(bytes[k]));
            length += n;
            continue;
        }
        if (c == '\\') probeAt(i);
        hash = hashStep(hash, static_cast<unsigned char>(foldCase(static_cast<char>(c))));
        ++length;
        ++i;
    }
    probeAt(raw.size());
}

// Reads the files, keys and values sections; the line sections name nothing another list could share.
bool SavedListClaims::readClaims(FileSystem& files, RunContext& run, const std::string& path, std::vector<Claim>& found) {
    std::unique_ptr<TextReader> list;
    std::string line;
    if (!succeeded(files.openRead(path, list)) || !list->readLine(line) ||
        findNoCase(line, removal_list::FilesHeader) == std::string::npos)
        return false;
    std::size_t section = 0;  // files, keys, four line sections, values
    while (list->readLine(line)) {
        run.yield();
        if (line == removal_list::SectionEnd) {
            if (++section == 6 && (!list->readLine(line) || line != removal_list::ValuesHeader)) break;
            if (section < 6 && !list->readLine(line)) break;
            continue;
        }
        if (section == 0) {
            probePrefixes(paths_, "", line, found);
        } else if (const KeyParts key = keyParts(line); section == 1 && !key.hive.empty()) {
            probePrefixes(keys_, key.hive, key.path, found);
        } else if (ValueRow row; section == 6 && parseValueEntry(line, row)) {
            // A value claims the same value, and its key and the keys above it.
            if (const KeyParts of = keyParts(row.key); !of.hive.empty()) probePrefixes(keys_, of.hive, of.path, found);
            const std::string value = foldedValue(row.key, row.name);
            if (!value.empty()) probe(values_, "", value, hashOf(value), found);
        }
    }
    return succeeded(list->status());
}

std::string SavedListClaims::claim(const Part& part, std::size_t index) const {
    const std::uint32_t by = index < part.claimedBy.size() ? part.claimedBy[index] : 0;
    return by ? lists_[by - 1] : std::string();
}

}  // namespace quillon::review
