#pragma once
// The claims of the other programs' saved removal lists (SavedForDeletion) on the entries of the
// list being uninstalled: which other list names the same item, or something below a folder or
// key, so that removing it would take that program's too. The entries are hashed once; the other
// lists are read line by line through them, so the cost is one read of those lists and not a
// scan of them per entry.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Registry.h"
#include "review/RemovalListRead.h"

namespace quillon::review {

class SavedListClaims {
public:
    // Every list of SavedForDeletion but `listPath` (no case). A list that cannot be read to its
    // end claims nothing: it could not be uninstalled either.
    SavedListClaims(FileSystem& files, RunContext& run, Registry& registry, std::string_view listPath,
                    const RemovalListContents& list);

    // The path of a list claiming the entry at that index of its part of the list; empty when none.
    std::string ofPath(std::size_t index) const { return claim(paths_, index); }
    std::string ofKey(std::size_t index) const { return claim(keys_, index); }
    std::string ofValue(std::size_t index) const { return claim(values_, index); }

private:
    // One part of the list: its entries in an open-addressing table by the hash of their folded
    // spelling (most probes miss, and a miss should cost one look), and who claims each.
    struct Part {
        std::vector<std::string> spelling;     // folded, as hashed
        std::vector<std::uint64_t> hash;
        std::vector<std::uint32_t> claimedBy;  // list number + 1; 0: none
        std::vector<std::uint32_t> slots;      // entry + 1; 0: empty
        std::vector<bool> lengthUsed;          // some entry is this long: prefixes of other lengths are not probed
        void seal();
    };
    using Claim = std::pair<Part*, std::uint32_t>;  // part, entry

    static void hashInto(Part& part, std::string spelling);
    bool readClaims(FileSystem& files, RunContext& run, const std::string& path, std::vector<Claim>& found);
    // Probes `part` with `prefix` and every part of `raw` that ends before a "\" (and the whole of it).
    static void probePrefixes(Part& part, std::string_view prefix, std::string_view raw, std::vector<Claim>& found);
    static void probe(Part& part, std::string_view prefix, std::string_view raw, std::uint64_t hash,
                      std::vector<Claim>& found);
    std::string claim(const Part& part, std::size_t index) const;

    std::vector<std::string> lists_;
    Part paths_, keys_, values_;
};

}  // namespace quillon::review
