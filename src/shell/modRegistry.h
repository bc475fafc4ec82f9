#pragma once
// The thin registry routines both programs reach the registry through. Every routine
// accepts a key that failed to open (nullptr): reads then give the empty text and writes
// fail, which is what callers that do not check the handle rely on.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Prompter.h"
#include "platform/Registry.h"
#include "platform/RunContext.h"

namespace quillon::shell {

using KeyPtr = std::unique_ptr<RegistryKey>;

// Read-write, else read-only; nullptr when both are refused.
KeyPtr openKey(Registry& registry, Hive hive, std::string_view path);
// The created or existing key; nullptr on failure.
KeyPtr createKey(Registry& registry, Hive hive, std::string_view path);

Status setDefaultValue(RegistryKey* key, std::string_view subKey, std::string_view text);
Status setValue(RegistryKey* key, std::string_view name, std::string_view text);
Status deleteValue(RegistryKey* key, std::string_view name);

// Settings of the user's: one that cannot be written keeps its old value (or its default when
// read), which is all a failure could mean to the user, so the status is not asked.
void storeSetting(RegistryKey* key, std::string_view name, std::string_view text);
void storeDefault(RegistryKey* key, std::string_view subKey, std::string_view text);
void dropSetting(RegistryKey* key, std::string_view name);

std::string queryDefaultValue(RegistryKey* key, std::string_view subKey);
// The value as text (valueText); empty when missing or unreadable. Any length.
std::string queryValue(RegistryKey* key, std::string_view name);

// REG_SZ: the text; REG_BINARY: empty; REG_DWORD: its decimal text; any other type:
// "<unsupported type: N>".
std::string valueText(const RegValue& value);

// Deletes the key with everything below it. False on success; on failure tells the user
// and returns true.
bool deleteKey(Registry& registry, Prompter& prompter, Hive hive, std::string_view path);

// The full paths of the key's sub-keys in the registry's order; a sub-key whose full path
// equals leftOut (ignoring case) is left out. For the hive itself (keyPath "") each path
// starts with "\". Empty when the key cannot be opened. With a run, yields once per sub-key
// enumerated.
std::vector<std::string> subKeyPaths(Registry& registry, Hive hive, std::string_view keyPath,
                                     std::string_view leftOut, RunContext* run = nullptr);
// The same of a key already open (nullptr: none).
std::vector<std::string> subKeyPaths(RegistryKey* key, std::string_view keyPath, std::string_view leftOut,
                                     RunContext* run = nullptr);

// The full paths of the key's sub-keys, each followed by the list separator, the last
// enumerated first; a sub-key whose full path equals leftOut (ignoring case) is left out.
// For the hive itself (keyPath "") each path starts with "\".
std::string listSubKeys(Registry& registry, RunContext& run, Hive hive, std::string_view keyPath,
                        std::string_view leftOut);

}  // namespace quillon::shell
