#pragma once
// Registry keys as a REGEDIT4 ".reg" file: a user can double-click it in Explorer to put the
// keys back without Quillon, and Quillon reads it back the same way.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/Registry.h"

namespace quillon::undo {

// One key of an exported tree, as regedit names it ("HKEY_CURRENT_USER\Software\New"), with
// its values in the registry's order; the default value has the name "".
struct RegKeyImage {
    std::string name;
    std::vector<std::pair<std::string, RegValue>> values;
    friend bool operator==(const RegKeyImage&, const RegKeyImage&) = default;
};

// "HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE".
std::string_view hiveName(Hive hive);
// "HKEY_CURRENT_USER\Software\New" -> CurrentUser, "Software\New"; false for any other root.
bool splitKeyName(std::string_view name, Hive& hive, std::string& path);

// "REGEDIT4", a blank line, then one section per key, each followed by a blank line. Every
// value keeps its type and bytes. InvalidName, with nothing written, for a name holding a line
// break or a key name starting with "-" (regedit would delete that key).
Status writeRegFile(TextWriter& out, const std::vector<RegKeyImage>& keys);

// Reads what writeRegFile writes (and what regedit writes in this format) into `keys`, which it
// replaces. False when the file is not a REGEDIT4 file, a line cannot be understood, a key is
// to be deleted ("[-...]", "=-") or reading fails.
bool readRegFile(TextReader& in, std::vector<RegKeyImage>& keys);

}  // namespace quillon::undo
