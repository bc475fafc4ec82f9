#pragma once
// A registry key with everything below it, read into memory before it is deleted and written
// back through the registry port when the removal is undone.
#include <string_view>
#include <vector>

#include "platform/Registry.h"
#include "undo/RegFile.h"

namespace quillon::undo {

// Appends the key and its sub-keys, each parent before its children. Goes on past a key or
// entry it cannot read and returns the first failure (FileNotFound when the key is not there):
// anything but Ok means the image is not the whole tree.
Status captureKeyTree(Registry& registry, Hive hive, std::string_view path, std::vector<RegKeyImage>& out);

// Creates every key and sets every value; existing keys keep values the image does not name.
// Goes on after a failure and returns the first one.
Status restoreKeys(Registry& registry, const std::vector<RegKeyImage>& keys);

}  // namespace quillon::undo
