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
constexpr std::uint64_t HashStep(std::uint64_t hash, char c) {
    return (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
}

// One spelling whatever the case and however a list ends a folder or key, after `prefix`; into a
// buffer the caller keeps, as the other lists' lines are many.
void foldInto(std::string& out, std::string_view prefix, std::string_view text) {
    while (text.ends_with('\\')) text.remove_suffix(1);
    out.assign(prefix).append(text);
    for (auto at = out.begin() + static_cast<std::ptrdiff_t>(prefix.size()); at != out.end(); ++at) {
        if (static_cast<unsigned char>(*at) >= 0x80) {
            out.assign(prefix).append(toLowerAnsi(text));
            return;
        }
        *at = foldCase(*at);
    }
}

// "u\path" or "m\path" for the two hives a list may name; empty for any other.
void foldKeyInto(std::string& out, std::string_view entry) {
    const shell::KeyEntry key = shell::parseKeyEntry(entry.substr(0, entry.find('\\')));
    const std::size_t slash = entry.find('\\');
    if (!key.knownHive || slash == std::string_view::npos) return out.clear();
    foldInto(out, key.hive == Hive::CurrentUser ? "u\\" : "m\\", entry.substr(slash + 1));
}

std::string foldedPath(std::string_view text) {
    std::string out;
    foldInto(out, "", text);
    return out;
}

std::string foldedKey(std::string_view entry) {
    std::string out;
    foldKeyInto(out, entry);
    return out;
}

std::string foldedValue(std::string_view key, std::string_view name) {
    std::string folded = foldedKey(key);
    return folded.empty() ? folded : folded + '\t' + toLowerAnsi(name);
}

std::uint64_t hashOf(std::string_view folded) {
    std::uint64_t hash = HashStart;
    for (const char c : folded) hash = HashStep(hash, c);
    return hash;
}

}  // namespace

SavedListClaims::SavedListClaims(FileSystem& files, RunContext& run, Registry& registry, std::string_view listPath,
                                 const RemovalListContents& list) {
    for (const std::string& path : list.paths) hashInto(paths_, foldedPath(path));
    for (const std::string& key : list.keys) hashInto(keys_, foldedKey(key));
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

void SavedListClaims::hashInto(Part& part, std::string folded) {
    part.hash.push_back(hashOf(folded));
    part.spelling.push_back(std::move(folded));
    part.claimedBy.push_back(0);
}

// At most half full, so a probe that misses mostly meets an empty slot at once.
void SavedListClaims::Part::seal() {
    slots.assign(std::bit_ceil(std::max<std::size_t>(16, 2 * spelling.size())), 0);
    const std::size_t mask = slots.size() - 1;
    for (std::uint32_t entry = 0; entry < spelling.size(); ++entry) {
        if (spelling[entry].empty()) continue;  // a key of no hive a list may name
        if (lengthUsed.size() <= spelling[entry].size()) lengthUsed.resize(spelling[entry].size() + 1);
        lengthUsed[spelling[entry].size()] = true;
        std::size_t at = hash[entry] & mask;
        while (slots[at]) at = (at + 1) & mask;
        slots[at] = entry + 1;
    }
}

void SavedListClaims::probe(Part& part, std::string_view folded, std::uint64_t hash, std::vector<Claim>& found) {
    const std::size_t mask = part.slots.size() - 1;
    for (std::size_t at = hash & mask; part.slots[at]; at = (at + 1) & mask) {
        const std::uint32_t entry = part.slots[at] - 1;
        if (part.hash[entry] == hash && part.spelling[entry] == folded) found.emplace_back(&part, entry);
    }
}

void SavedListClaims::probePrefixes(Part& part, std::string_view folded, std::vector<Claim>& found) {
    if (part.spelling.empty() || folded.empty()) return;
    std::uint64_t hash = HashStart;
    for (std::size_t i = 0; i < folded.size(); ++i) {
        if (folded[i] == '\\' && i < part.lengthUsed.size() && part.lengthUsed[i]) probe(part, folded.substr(0, i), hash, found);
        hash = HashStep(hash, folded[i]);
    }
    if (folded.size() < part.lengthUsed.size() && part.lengthUsed[folded.size()]) probe(part, folded, hash, found);
}

// Reads the files, keys and values sections; the line sections name nothing another list could share.
bool SavedListClaims::readClaims(FileSystem& files, RunContext& run, const std::string& path, std::vector<Claim>& found) {
    std::unique_ptr<TextReader> list;
    std::string line;
    if (!succeeded(files.openRead(path, list)) || !list->readLine(line) ||
        findNoCase(line, removal_list::FilesHeader) == std::string::npos)
        return false;
    std::size_t section = 0;  // files, keys, four line sections, values
    std::string folded;
    while (list->readLine(line)) {
        run.yield();
        if (line == removal_list::SectionEnd) {
            if (++section == 6 && (!list->readLine(line) || line != removal_list::ValuesHeader)) break;
            if (section < 6 && !list->readLine(line)) break;
            continue;
        }
        if (section == 0) {
            foldInto(folded, "", line);
            probePrefixes(paths_, folded, found);
        } else if (section == 1) {
            foldKeyInto(folded, line);
            probePrefixes(keys_, folded, found);
        } else if (ValueRow row; section == 6 && parseValueEntry(line, row)) {
            // A value claims the same value, and its key and the keys above it.
            probePrefixes(keys_, foldedKey(row.key), found);
            const std::string value = foldedValue(row.key, row.name);
            if (!value.empty()) probe(values_, value, hashOf(value), found);
        }
    }
    return succeeded(list->status());
}

std::string SavedListClaims::claim(const Part& part, std::size_t index) const {
    const std::uint32_t by = index < part.claimedBy.size() ? part.claimedBy[index] : 0;
    return by ? lists_[by - 1] : std::string();
}

}  // namespace quillon::review
