#include "shell/modRegistry.h"

#include <cstdint>
#include <vector>

#include "platform/TextCompare.h"
#include "shell/Settings.h"

namespace quillon::shell {

KeyPtr openKey(Registry& registry, Hive hive, std::string_view path) {
    KeyPtr key;
    if (succeeded(registry.open(hive, path, RegAccess::ReadWrite, key))) return key;
    if (succeeded(registry.open(hive, path, RegAccess::Read, key))) return key;
    return nullptr;
}

KeyPtr createKey(Registry& registry, Hive hive, std::string_view path) {
    KeyPtr key;
    if (succeeded(registry.create(hive, path, key))) return key;
    return nullptr;
}

Status setDefaultValue(RegistryKey* key, std::string_view subKey, std::string_view text) {
    return key ? key->setDefaultValue(subKey, text) : Status::InvalidHandle;
}

Status setValue(RegistryKey* key, std::string_view name, std::string_view text) {
    return key ? key->setValue(name, RegValue{RegType::Sz, std::string(text)}) : Status::InvalidHandle;
}

Status deleteValue(RegistryKey* key, std::string_view name) {
    return key ? key->deleteValue(name) : Status::InvalidHandle;
}

void storeSetting(RegistryKey* key, std::string_view name, std::string_view text) {
    static_cast<void>(setValue(key, name, text));
}

void storeDefault(RegistryKey* key, std::string_view subKey, std::string_view text) {
    static_cast<void>(setDefaultValue(key, subKey, text));
}

void dropSetting(RegistryKey* key, std::string_view name) { static_cast<void>(deleteValue(key, name)); }

std::string queryDefaultValue(RegistryKey* key, std::string_view subKey) {
    std::string text;
    if (!key || !succeeded(key->queryDefaultValue(subKey, text))) return {};
    return text;
}

std::string queryValue(RegistryKey* key, std::string_view name) {
    RegValue value;
    if (!key || !succeeded(key->queryValue(name, value))) return {};
    return valueText(value);
}

std::string valueText(const RegValue& value) {
    switch (value.type) {
        case RegType::Sz:
            return value.data;
        case RegType::Binary:
            return {};
        case RegType::Dword: {
            std::uint32_t n = 0;
            for (std::size_t i = 0; i < 4 && i < value.data.size(); ++i)
                n |= static_cast<std::uint32_t>(static_cast<unsigned char>(value.data[i])) << (8 * i);
            return std::to_string(n);
        }
        default:
            return "<unsupported type: " + std::to_string(value.type) + ">";
    }
}

bool deleteKey(Registry& registry, Prompter& prompter, Hive hive, std::string_view path) {
    if (succeeded(registry.deleteTree(hive, path))) return false;
    prompter.message({"Error deleting key " + std::string(path) + ". Administrative privileges required",
                      "Error deleting key", MsgIcon::Critical, MsgButtons::Ok});
    return true;
}

std::vector<std::string> subKeyPaths(Registry& registry, Hive hive, std::string_view keyPath,
                                     std::string_view leftOut, RunContext* run) {
    const KeyPtr key = openKey(registry, hive, keyPath);
    return subKeyPaths(key.get(), keyPath, leftOut, run);
}

std::vector<std::string> subKeyPaths(RegistryKey* key, std::string_view keyPath, std::string_view leftOut,
                                     RunContext* run) {
    std::vector<std::string> found;
    if (!key) return found;
    std::string name;
    for (std::uint32_t index = 0; succeeded(key->enumSubKey(index, name)); ++index) {
        std::string full = std::string(keyPath) + "\\" + name;
        if (!equalsNoCase(full, leftOut)) found.push_back(std::move(full));
        if (run) run->yield();
    }
    return found;
}

std::string listSubKeys(Registry& registry, RunContext& run, Hive hive, std::string_view keyPath,
                        std::string_view leftOut) {
    // Collected first and joined backwards: prepending one by one is quadratic on keys with
    // thousands of sub-keys.
    const std::vector<std::string> found = subKeyPaths(registry, hive, keyPath, leftOut, &run);
    std::string result;
    for (auto it = found.rbegin(); it != found.rend(); ++it) {
        result += *it;
        result += settings::ListSeparator;
    }
    return result;
}

}  // namespace quillon::shell
