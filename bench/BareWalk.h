#pragma once
// Every entry below a folder with nothing but FindFirstFileA/FindNextFileA, depth first, nothing
// kept: the floor the scans are measured against.
#include <cstddef>
#include <string>

namespace quillon::bench {

// folder ends in "\"; the count of entries, "." and ".." left out.
std::size_t bareWalk(const std::string& folder);

}  // namespace quillon::bench
