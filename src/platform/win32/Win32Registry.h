#pragma once
// The registry port over the system's ANSI registry API.
#include "platform/Registry.h"

namespace quillon::win32 {

class Win32Registry final : public Registry {
public:
    Status open(Hive hive, std::string_view path, RegAccess access, std::unique_ptr<RegistryKey>& out) override;
    Status create(Hive hive, std::string_view path, std::unique_ptr<RegistryKey>& out) override;
    // An empty path is refused (InvalidParameter): it would empty the whole hive.
    Status deleteTree(Hive hive, std::string_view path) override;
};

}  // namespace quillon::win32
