#pragma once
// What a removal may touch. A removal list is a text file anyone can hand the user, and the
// shell's file operation expands wildcards, so every path and key is checked before it goes.
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/Registry.h"
#include "platform/Shell.h"

namespace quillon::review {

// The file or folder is there (any attributes).
bool itemExists(FileSystem& files, std::string_view path);

bool hasWildcard(std::string_view path);

class RemovalGuard {
public:
    // Reads the Windows, System and Program Files folders from the shell.
    explicit RemovalGuard(Shell& shell);

    // False for a wildcard, a path that is not "X:\..." with plain parts (no "." or "..",
    // no empty part, no "/"), a drive root, and the protected folders, in their long or
    // short spelling, with or without a trailing "\".
    bool allowsPath(std::string_view path) const;

private:
    bool isProtected(std::string_view path) const;

    Shell& shell_;
    std::vector<std::string> protected_;  // without trailing "\"
};

// A removal-list registry entry: the hive name, "\" and the key path.
struct KeyEntry {
    Hive hive = Hive::LocalMachine;
    std::string path;
    // The name before the first "\" is one of the two hives that changes are recorded in. Any
    // other name must not be read as HKEY_LOCAL_MACHINE: a handed-over list naming
    // HKEY_CLASSES_ROOT\Software\Microsoft would otherwise take that key of the machine.
    bool knownHive = true;
};

// The hive is HKEY_CURRENT_USER when the name before the first "\" begins so, else
// HKEY_LOCAL_MACHINE; the path is the rest, without trailing "\".
KeyEntry parseKeyEntry(std::string_view entry);

// At least two plain parts below the hive: never a hive root nor a key such as Software.
bool allowsKeyRemoval(std::string_view keyPath);

}  // namespace quillon::review
