#pragma once
// Value rows between the changes files, the removal list's "Values{" section and the door.
#include <string>
#include <string_view>

#include "detection/ValueCompare.h"
#include "review/ChangeSet.h"
#include "shell/ValueTakeBack.h"

namespace quillon::review {

// `hivePrefix`: "HKEY_CURRENT_USER\" or "HKEY_LOCAL_MACHINE\".
ValueRow valueRowOf(std::string_view hivePrefix, const detection::ValueChangeLine& line);
shell::ValueTakeBack takeBackOf(const ValueRow& row);
// "(Default)" for the key's unnamed value, as regedit shows it.
std::string valueNameShown(std::string_view name);

// A list entry: key, name, change, new data, old data, tab-separated (key and name escaped as
// in the value files), so an uninstall months later can check and put back without a snapshot.
std::string valueEntry(const ValueRow& row);
bool parseValueEntry(std::string_view entry, ValueRow& row);

}  // namespace quillon::review
