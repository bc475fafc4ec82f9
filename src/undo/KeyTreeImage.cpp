#include "undo/KeyTreeImage.h"

#include <cstdint>
#include <memory>
#include <string>
#include <utility>

namespace quillon::undo {
namespace {

void keepFirst(Status& first, Status s) {
    if (succeeded(first)) first = s;
}

std::string joined(std::string_view path, std::string_view child) {
    return path.empty() ? std::string(child) : std::string(path) + "\\" + std::string(child);
}

// Walks index by index until NoMoreItems. MoreData (a name or value the call cannot hold) skips
// that one entry; any other failure ends the walk, so a broken key can never hold it forever.
template <typename Take>
Status enumerate(Take take) {
    Status first = Status::Ok;
    for (std::uint32_t index = 0;; ++index) {
        const Status s = take(index);
        if (s == Status::NoMoreItems) return first;
        if (succeeded(s)) continue;
        keepFirst(first, s);
        if (s != Status::MoreData || index == UINT32_MAX) return first;
    }
}

}  // namespace

Status captureKeyTree(Registry& registry, Hive hive, std::string_view path, std::vector<RegKeyImage>& out) {
    std::unique_ptr<RegistryKey> key;
    const Status opened = registry.open(hive, path, RegAccess::Read, key);
    if (!succeeded(opened)) return opened;

    RegKeyImage image{joined(hiveName(hive), path), {}};
    Status first = enumerate([&](std::uint32_t index) {
        std::string name;
        RegValue value;
        const Status s = key->enumValue(index, name, value);
        if (succeeded(s)) image.values.emplace_back(std::move(name), std::move(value));
        return s;
    });
    out.push_back(std::move(image));

    std::vector<std::string> children;
    keepFirst(first, enumerate([&](std::uint32_t index) {
                  std::string name;
                  const Status s = key->enumSubKey(index, name);
                  if (succeeded(s)) children.push_back(std::move(name));
                  return s;
              }));
    key.reset();
    for (const std::string& child : children) {
        // A sub-key listed but not found (a name the interface could not spell) is one the
        // record would miss while the deletion takes it: that is a failure, not an absence.
        const Status s = captureKeyTree(registry, hive, joined(path, child), out);
        keepFirst(first, s == Status::FileNotFound ? Status::ReadFault : s);
    }
    return first;
}

Status restoreKeys(Registry& registry, const std::vector<RegKeyImage>& keys) {
    Status first = Status::Ok;
    for (const RegKeyImage& image : keys) {
        Hive hive = Hive::CurrentUser;
        std::string path;
        if (!splitKeyName(image.name, hive, path)) {
            keepFirst(first, Status::InvalidName);
            continue;
        }
        std::unique_ptr<RegistryKey> key;
        const Status created = registry.create(hive, path, key);
        if (!succeeded(created)) {
            keepFirst(first, created);
            continue;
        }
        for (const auto& [name, value] : image.values) keepFirst(first, key->setValue(name, value));
    }
    return first;
}

}  // namespace quillon::undo
