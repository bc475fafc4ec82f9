#pragma once
// The registry walk: every key path below a start key, one per line, streamed.
#include <string_view>

#include "platform/FileFault.h"
#include "platform/FileSystem.h"
#include "platform/Registry.h"
#include "platform/RunContext.h"
#include "snapshot/UpdateProgress.h"

namespace quillon::snapshot {

// Writes `outputPath` from scratch: the start path (without a leading "\") and then every key
// below it, pre-order, the sub-keys of a key last enumerated first. The key `leftOut` and
// everything below it are not visited. A key that cannot be opened is written but adds no
// sub-keys. Unless Completed, a file it wrote is deleted: a partial list is never left.
// `fault`, when given, learns why a WriteFailed write failed. With `valuesPath`, the values of
// every key written go there as value lines (ValueLine), in the same order, and the same rule
// holds for that file.
[[nodiscard]] UpdateOutcome walkRegistry(Registry& registry, FileSystem& files, RunContext& run, Hive hive,
                                         std::string_view startPath, std::string_view outputPath,
                                         std::string_view leftOut, FileFault* fault = nullptr,
                                         std::string_view valuesPath = {});

}  // namespace quillon::snapshot
