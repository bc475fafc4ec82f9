#pragma once
// Names of the registry files of a "Find changes" run.
#include <string_view>

namespace quillon::detection::registry_files {

// Snapshots, data folder.
inline constexpr std::string_view HkcuSnapshot = "hkcuReg.qdb";
inline constexpr std::string_view HklmSnapshot = "hklmReg.qdb";
// Fresh key lists and changes files, work folder.
inline constexpr std::string_view HkcuFresh = "hkcutmp.qdb";
inline constexpr std::string_view HklmFresh = "hklmtmp.qdb";
inline constexpr std::string_view HkcuChanges = "hkcuchanges.qdb";
inline constexpr std::string_view HklmChanges = "hklmchanges.qdb";
// The values of every key: snapshots in the data folder, fresh lists and changes in the work folder.
inline constexpr std::string_view HkcuValueSnapshot = "hkcuVal.qdb";
inline constexpr std::string_view HklmValueSnapshot = "hklmVal.qdb";
inline constexpr std::string_view HkcuFreshValues = "hkcuvaltmp.qdb";
inline constexpr std::string_view HklmFreshValues = "hklmvaltmp.qdb";
inline constexpr std::string_view HkcuValueChanges = "hkcuvalues.qdb";
inline constexpr std::string_view HklmValueChanges = "hklmvalues.qdb";

// The rescan's start key unless the whole hive is asked for, and the key listed only when the
// user asks for file types and components.
inline constexpr std::string_view SoftwareKey = "Software";
inline constexpr std::string_view LeftOutOfHklm = "Software\\Classes";

}  // namespace quillon::detection::registry_files
