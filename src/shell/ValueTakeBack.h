#pragma once
// Taking back what an installation did to one value of a key that was there before: an added
// value goes, a changed or removed one gets its old data back; each only while the value still
// holds what the installation left, unless the user says otherwise.
#include <optional>
#include <string>
#include <string_view>

#include "platform/Registry.h"

namespace quillon::shell {

struct ValueTakeBack {
    std::string key;                    // as lists spell keys: "HKEY_CURRENT_USER\Software\App"
    std::string name;                   // "" is the key's default value
    std::optional<std::string> found;   // what the installation left (encoded); none: it removed the value
    std::optional<std::string> before;  // what was there before it (encoded); none: it added the value
};

// A value as it is now, for the undo record: none when it is not there.
struct ValueState {
    KeyPath key;
    std::string name;
    std::optional<std::string> data;  // encoded
    friend bool operator==(const ValueState& a, const ValueState& b) {
        return a.key.hive == b.key.hive && a.key.path == b.key.path && a.name == b.name && a.data == b.data;
    }
};

// The door's answers name a value by its key and name together.
std::string valueItem(std::string_view key, std::string_view name);

enum class ValueCheck {
    AsFound,        // the value holds what the installation left
    AlreadyBack,    // it already holds what was there before: nothing to do
    ChangedSince,   // something else changed it since: the user decides
    NotRestorable,  // the old data was too large to keep, or the entry is not a value of a known hive
};

// Reads the value's state now into `now`.
ValueCheck checkValue(Registry& registry, const ValueTakeBack& value, ValueState& now);
// Puts the old state in place (deletes an added value).
Status applyTakeBack(Registry& registry, const ValueTakeBack& value);
// Sets the state recorded in `state` (for undo): the data, or no value at all.
Status putValueState(Registry& registry, const ValueState& state);

}  // namespace quillon::shell
