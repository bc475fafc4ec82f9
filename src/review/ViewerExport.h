#pragma once
// The viewer's "&Export...": every row of its seven lists as one table, a row per entry with
// the tab it is on, in the order the lists show them.
#include <array>
#include <string>
#include <string_view>

#include "review/ChangeSet.h"
#include "review/ExportTable.h"

namespace quillon::review {

// The viewer's tabs, in the order of its lists: the kind of each exported row.
inline constexpr std::array<std::string_view, 7> ViewerTabs{
    "Hard drive", "Registry", "Win.ini", "System.ini", "Autoexec.bat", "Config.sys", "Registry values"};

// Kind, Entry, In, Size, Type, Change, New data, Old data. Files and folders, keys and lines
// are all "added"; a line's "Old data" is the line it replaced. A placeholder row ("Scanning
// not enabled.") is exported as shown, with no change. File types are taken as they stand:
// the caller has them filled first.
// fileName and fileDate: the removal list under review (empty after "Find changes") and the
// date of what is shown, for the title.
ExportTable viewerTable(const ChangeSet& changes, std::string_view fileName, std::string_view fileDate);

// The name the save dialog proposes: the reviewed list's name without its extension, or
// "Changes found".
std::string viewerExportName(std::string_view fileName);

}  // namespace quillon::review
