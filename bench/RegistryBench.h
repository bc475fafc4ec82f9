#pragma once
// The registry walk of a whole hive, timed: through the snapshot's walk and the adapter, and
// bare (the wide calls, each key opened by its full path) for comparison.
#include <cstdint>
#include <string>

namespace quillon::bench {

struct RegistryFigures {
    std::uint64_t keys = 0;
    std::uint64_t values = 0;
    double seconds = 0;
    bool ok = false;
};

// The snapshot's walk of HKLM into `outputPath`; keys = lines written.
RegistryFigures snapshotRegistryWalk(const std::string& outputPath);
// Every key of HKLM (and of HKCU first, with `currentUserToo`), each opened by its whole path from
// the hive as the walks open them; with `values`, every value's name and data read too.
RegistryFigures bareRegistryWalk(bool currentUserToo, bool values);

}  // namespace quillon::bench
