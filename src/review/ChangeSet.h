#pragma once
// What the changes viewer shows: the rows of its seven lists, as plain text. The removal
// commands, the removal-list writer and the report all read rows back from this model; the
// window only displays it.
#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quillon::review {

// The only text of a row standing in for a kind of change that was not looked for.
inline constexpr std::string_view NotScanned = "Scanning not enabled.";

struct FileRow {
    std::string name;      // file or folder name
    std::string folder;    // parent folder, ending in "\"
    std::string sizeText;  // formatted without decimal
    std::string typeName;  // the shell's type name; "Folder" for a folder row. See typeKnown.
    double bytes = 0;      // what the size text shows
    int iconIndex = -1;    // the system small image list's index, -1 when the shell gave none
    bool isFolder = false;
    // The shell is asked for type names and icons only when a row is first shown (FileRowTypes):
    // until then typeName and iconIndex are not the shell's answer.
    bool typeKnown = false;
    bool iconKnown = false;

    std::string fullPath() const { return folder + name; }
};

struct KeyRow {
    std::string name;    // last component of the key path; NotScanned for the placeholder
    std::string parent;  // "HKEY_CURRENT_USER\" or "HKEY_LOCAL_MACHINE\" + parent path ending in "\"

    bool isPlaceholder() const { return parent.empty() && name == NotScanned; }
    std::string fullKey() const { return parent + name; }

    // The row standing in for a registry that was not looked at.
    static KeyRow placeholder() { return {std::string(NotScanned), {}}; }
};

struct LineRow {
    std::string added;     // NotScanned for the placeholder
    std::string replaced;  // the line it replaced, or " " when none; empty for the placeholder

    bool isPlaceholder() const { return replaced.empty() && added == NotScanned; }

    // The row standing in for a configuration file that was not looked at.
    static LineRow placeholder() { return {std::string(NotScanned), {}}; }
};

// A value of a key that was there before, added, changed or removed by the installation.
struct ValueRow {
    std::string key;      // "HKEY_CURRENT_USER\Software\App", as key entries are spelt
    std::string name;     // "" is the key's default value
    std::string change;   // "added", "changed" or "removed"
    std::string newData;  // encoded (ValueLine); empty when removed
    std::string oldData;  // encoded; empty when added
};

// The four line lists, in the order of the viewer's tabs.
enum class ConfigList : std::size_t { WinIni = 0, SystemIni = 1, AutoexecBat = 2, ConfigSys = 3 };
inline constexpr std::size_t ConfigListCount = 4;

struct ChangeSet {
    std::vector<FileRow> files;  // file rows first, then folder rows
    std::vector<KeyRow> keys;
    std::array<std::vector<LineRow>, ConfigListCount> lines;
    std::vector<ValueRow> values;
    double totalBytes = 0;       // of every row loaded; an item whose size cannot be read adds nothing
    // Entries of the changes files whose items were not there at the load (deleted since, or on
    // a drive not mounted): not shown, but a reviewed removal list keeps them.
    std::vector<std::string> absentFiles;  // full paths
    std::vector<std::string> absentKeys;   // full key paths beginning with the hive name

    std::vector<LineRow>& linesOf(ConfigList list) { return lines[static_cast<std::size_t>(list)]; }
    const std::vector<LineRow>& linesOf(ConfigList list) const { return lines[static_cast<std::size_t>(list)]; }
};

// Selected rows, as indices into a ChangeSet's lists, in the order the viewer shows them
// (which the user may have changed by sorting).
struct Selection {
    std::vector<std::size_t> files{};
    std::vector<std::size_t> keys{};
    std::array<std::vector<std::size_t>, ConfigListCount> lines{};
    std::vector<std::size_t> values{};
};

// The selected rows of all seven lists, placeholders included.
std::size_t countSelectedChanges(const Selection& selection);

}  // namespace quillon::review
