#pragma once
// The value half of the registry comparison: the fresh value list against the value snapshot,
// for keys that were there before. One line per change in the value changes file:
// "<change>\t<key>\t<name>\t<new data>\t<old data>" (ValueChangeLine), added and changed values
// in the fresh list's order, then removed ones in the snapshot's. Values of new keys go with
// their key and are not listed, unless programs share the key (a new SharedDLLs, say);
// a value of a key that is gone is not listed either.
#include <optional>
#include <string>
#include <string_view>

#include "detection/RegistryCompare.h"
#include "platform/FileFault.h"
#include "platform/FileSystem.h"
#include "platform/RunContext.h"

namespace quillon::detection {

enum class ValueChange { Added, Changed, Removed };

struct ValueChangeLine {
    ValueChange change = ValueChange::Added;
    std::string key;      // below the hive, as the walk spells it
    std::string name;
    std::string newData;  // encoded (ValueLine); empty for a removed value
    std::string oldData;  // encoded; empty for an added value
};

std::string formatValueChange(const ValueChangeLine& line);
bool parseValueChange(std::string_view text, ValueChangeLine& out);
// "added", "changed", "removed": the words of the file and of the viewer.
std::string_view valueChangeWord(ValueChange change);
// The change a word names; none for any other text.
std::optional<ValueChange> valueChangeNamed(std::string_view word);

struct ValueScanFiles {
    std::string_view snapshotKeys;
    std::string_view snapshotValues;
    std::string_view freshKeys;
    std::string_view freshValues;
    std::string_view output;
};

// Creates the output (truncating). Without a value snapshot (one written before values were
// recorded) the output stays empty: values are compared from the next Update database on.
// Keys the rules pass over are passed over here too. Yields and tests the stop flag once per
// line read.
[[nodiscard]] RegistryOutcome compareValueScan(FileSystem& files, RunContext& run, const ValueScanFiles& paths,
                                               const RegistryCompareRules& rules, FileFault* fault = nullptr);

}  // namespace quillon::detection
