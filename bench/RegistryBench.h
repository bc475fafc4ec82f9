#pragma once
// The registry walk of a whole hive, timed: through the snapshot's walk and the adapter, and
// bare (RegOpenKeyExA by full path, RegEnumKeyExA) for comparison.
#include <cstdint>
#include <string>

namespace quillon::bench {

struct RegistryFigures {
    std::uint64_t keys = 0;
    double seconds = 0;
    bool ok = false;
};

// The snapshot's walk of HKLM into `outputPath`; keys = lines written.
RegistryFigures snapshotRegistryWalk(const std::string& outputPath);
RegistryFigures bareRegistryWalk();

}  // namespace quillon::bench
