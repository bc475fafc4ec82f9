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

// The rescan's start key unless the whole hive is asked for, and the key never listed.
inline constexpr std::string_view SoftwareKey = "Software";
inline constexpr std::string_view LeftOutOfHklm = "Software\\Classes";

}  // namespace quillon::detection::registry_files
