#pragma once
// What a removal may touch. A removal list is a text file anyone can hand the user, a name
// may come back from the system with "?" for what it cannot spell, and the shell's file
// operation expands wildcards and splits at NUL: every path and key is checked before it goes.
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/Registry.h"
#include "platform/Shell.h"

namespace quillon::shell {

// The file or folder is there (any attributes).
bool itemExists(FileSystem& files, std::string_view path);

bool hasWildcard(std::string_view path);

// Why the guard refused a path or key; None when it lets it through.
enum class Refusal { None, Unsafe, NotFullPath, DriveRoot, Protected };

class RemovalGuard {
public:
    // Reads the protected folders from the shell: Windows, System, both Program Files, the
    // profiles, the user's and all users' shell folders. `dataFolder` (Quillon's own data:
    // snapshots, removal lists, undo records) is protected with everything in it.
    RemovalGuard(Shell& shell, std::string_view dataFolder);

    // Refuses a wildcard, NUL or control character, a part ending in "." or " " (the system
    // drops them, so "C:\Program Files." is "C:\Program Files"), anything but "X:\..." with
    // plain parts (no "." or "..", no empty part, no "/"), a drive root, and the protected
    // folders in their long or short spelling, with or without a trailing "\".
    Refusal checkPath(std::string_view path) const;
    bool allowsPath(std::string_view path) const { return checkPath(path) == Refusal::None; }

private:
    bool isProtected(std::string_view path) const;

    Shell& shell_;
    std::vector<std::string> protected_;  // without trailing "\"
    std::string dataFolder_;              // without trailing "\"; empty when unknown
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

// At least two plain parts below the hive, no control character, and none of the keys that
// hold everything of a kind (Software\Classes, Software\Microsoft, the Run and Uninstall keys
// and the like): never a hive root nor a key such as Software.
bool allowsKeyRemoval(std::string_view keyPath);
// One of those keys that hold everything of a kind, which programs share.
bool isSharedKey(std::string_view keyPath);
// The same for a list's entry, whose hive must also be known.
bool allowsKeyEntry(const KeyEntry& key);

}  // namespace quillon::shell
