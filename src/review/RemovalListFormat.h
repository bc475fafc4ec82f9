#pragma once
// The removal list (".qdf"): six sections in a fixed order, each a header line, one entry per
// line and a closing "}". A line entry is the added line and the line it replaced, each
// followed by the list separator.
#include <array>
#include <string_view>

#include "review/ChangeSet.h"
#include "review/ChangesFileNames.h"
#include "shell/Settings.h"

namespace quillon::review::removal_list {

inline constexpr std::string_view FilesHeader = "Files{";
inline constexpr std::string_view RegistryHeader = "Registry{";
inline constexpr std::string_view SectionEnd = "}";
// After the line sections, only in lists that hold values: a reader of six sections stops
// before it, and lists without values are as they always were.
inline constexpr std::string_view ValuesHeader = "Values{";
// Last, only in what an uninstall leaves: why each entry above was kept, one line each: the
// reason, the separator and the entry as its section spells it. Readers stop before it.
inline constexpr std::string_view KeptHeader = "Kept{";

// The line sections, in ConfigList order (also their order in the file, after the files and
// registry sections): the same headers as the configuration changes file.
inline constexpr const std::array<std::string_view, ConfigListCount>& LineHeaders = changes_files::SectionHeaders;

inline constexpr char Separator = settings::ListSeparator;

// Registry entries begin with one of these; the rest is the key path below that hive.
inline constexpr std::string_view CurrentUserPrefix = "HKEY_CURRENT_USER\\";
inline constexpr std::string_view LocalMachinePrefix = "HKEY_LOCAL_MACHINE\\";

// Both file dialogs offer only removal lists.
inline constexpr std::string_view DialogFilter = "Quillon data files (*.qdf)|*.qdf";
inline constexpr std::string_view DefaultExtension = "qdf";

}  // namespace quillon::review::removal_list
