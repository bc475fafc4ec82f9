#include "shell/ValueTakeBack.h"

#include "platform/ValueLine.h"
#include "shell/RemovalGuard.h"
#include "shell/modRegistry.h"

namespace quillon::shell {

namespace {

// Equal data, or equal digests when one side kept only its digest.
bool sameData(const std::optional<std::string>& a, const std::optional<std::string>& b) {
    if (!a || !b) return a.has_value() == b.has_value();
    if (*a == *b) return true;
    if (!isDigestOnly(*a) && !isDigestOnly(*b)) return false;
    RegValue value;
    const std::string& whole = isDigestOnly(*a) ? *b : *a;
    return decodeValueData(whole, value) && encodeValueData(value) == (isDigestOnly(*a) ? *a : *b);
}

bool plainKey(const KeyEntry& key) {
    if (!key.knownHive || key.path.empty()) return false;
    for (const char c : key.path)
        if (static_cast<unsigned char>(c) < 0x20) return false;
    return true;
}

}  // namespace

std::string valueItem(std::string_view key, std::string_view name) {
    return std::string(key) + "\\[" + std::string(name) + "]";
}

ValueCheck checkValue(Registry& registry, const ValueTakeBack& value, ValueState& now) {
    const KeyEntry key = parseKeyEntry(value.key);
    now = {{key.hive, key.path}, value.name, std::nullopt};
    if (!plainKey(key) || (value.before && isDigestOnly(*value.before))) return ValueCheck::NotRestorable;
    std::unique_ptr<RegistryKey> open;
    RegValue data;
    if (succeeded(registry.open(key.hive, key.path, RegAccess::Read, open)) &&
        succeeded(open->queryValue(value.name, data)))
        now.data = encodeValueData(data);
    if (sameData(now.data, value.before)) return ValueCheck::AlreadyBack;
    return sameData(now.data, value.found) ? ValueCheck::AsFound : ValueCheck::ChangedSince;
}

Status putValueState(Registry& registry, const ValueState& state) {
    if (!state.data) {
        std::unique_ptr<RegistryKey> open;
        const Status s = registry.open(state.key.hive, state.key.path, RegAccess::ReadWrite, open);
        if (s == Status::FileNotFound) return Status::Ok;  // no key, no value
        if (!succeeded(s)) return s;
        const Status deleted = open->deleteValue(state.name);
        return deleted == Status::FileNotFound ? Status::Ok : deleted;
    }
    RegValue data;
    if (!decodeValueData(*state.data, data)) return Status::InvalidParameter;
    std::unique_ptr<RegistryKey> open;
    if (const Status s = registry.create(state.key.hive, state.key.path, open); !succeeded(s)) return s;
    return open->setValue(state.name, data);
}

Status applyTakeBack(Registry& registry, const ValueTakeBack& value) {
    const KeyEntry key = parseKeyEntry(value.key);
    return putValueState(registry, {{key.hive, key.path}, value.name, value.before});
}

}  // namespace quillon::shell
