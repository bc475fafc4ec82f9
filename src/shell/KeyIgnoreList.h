#pragma once
// The registry keys "Find changes" passes over: places Windows itself rewrites all the time
// (hardware, the display, Explorer's recent lists and view state). A key is passed over with
// everything below it; but no entry can hide a key any part of whose path names where
// programs register themselves (Run, RunOnce, Uninstall, App Paths, SharedDLLs, Environment,
// Classes, Services): an entry above such a key hides the rest and leaves it.
#include <string>
#include <string_view>
#include <vector>

#include "platform/Registry.h"

namespace quillon::shell {

class KeyIgnoreList {
public:
    KeyIgnoreList() = default;
    // `separated`: full key paths ("HKEY_CURRENT_USER\Software\..."), each followed by the list
    // separator. Entries of other hives are kept for the user but match nothing.
    explicit KeyIgnoreList(std::string_view separated);

    bool ignores(Hive hive, std::string_view keyPath) const;

private:
    struct Entry {
        Hive hive;
        std::string path;
    };
    std::vector<Entry> entries_;
};

// The key `top` itself or any key below it, without regard to case.
bool keyAtOrBelow(std::string_view key, std::string_view top);

// Whether no entry may hide the key.
bool alwaysCompared(std::string_view keyPath);

// The list a new installation starts with, in the stored form.
std::string defaultKeysToIgnore();
// The user's list from the Scanning key (nullptr: none); the default list when the setting was
// never written (settings of an earlier version).
std::string keysToIgnore(RegistryKey* scanning);

}  // namespace quillon::shell
