#pragma once
// Registry keys as a ".reg" file in the format regedit writes today (UTF-16LE): a user can
// double-click it in Explorer to put the keys back without Quillon, and Quillon reads it back
// the same way. Files in the older REGEDIT4 format (ANSI) are still read.
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

// "Windows Registry Editor Version 5.00", a blank line, then one section per key, each followed
// by a blank line; all of it UTF-16LE after a byte-order mark. Every value keeps its type and
// bytes; the string types' hex forms hold UTF-16, as regedit writes them. InvalidName, with nothing written, for a name holding a line
// break or a key name starting with "-" (regedit would delete that key).
Status writeRegFile(TextWriter& out, const std::vector<RegKeyImage>& keys);

// Reads what writeRegFile writes (and what regedit writes in this format or as REGEDIT4) into
// `keys`, which it replaces. False when the file is neither, a line cannot be understood, a key is
// to be deleted ("[-...]", "=-") or reading fails.
bool readRegFile(TextReader& in, std::vector<RegKeyImage>& keys);

}  // namespace quillon::undo
