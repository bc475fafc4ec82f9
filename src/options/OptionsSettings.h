#pragma once
// The settings the options dialog shows, as a plain record: read from the registry when the
// dialog opens, written back on OK. The dialog only moves this record into its controls and
// out again.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/Registry.h"

namespace quillon::options {

enum class ScanMode { All = 0, WindowsAndProgramFiles = 1, WindowsOnly = 2, ProgramFilesOnly = 3 };
enum class DeleteMode { RecycleBin = 0, Delete = 1, Move = 2, Zip = 3 };
// The "Run Scheduler" option buttons; None when no value selects one.
enum class Schedule { None, EveryDay, Weekly, Monthly };

inline constexpr int MinMonthDays = 1;
inline constexpr int MaxMonthDays = 31;
inline constexpr int MinOldDelDays = 1;
inline constexpr int MaxOldDelDays = 999;

// A program setup detection passes over.
struct IgnoredProgram {
    std::string name;
    std::string folder;
    std::string addedOn;
    std::string size;
    bool operator==(const IgnoredProgram&) const = default;
};

// The registry ignore list a new installation starts with, one key a row.
std::vector<std::string> defaultKeyRows();

// Defaults are the dialog's design state: what a missing value or an unreadable key shows.
struct OptionsSettings {
    std::vector<std::string> foldersToIgnore;
    // Full key paths ("HKEY_CURRENT_USER\..."), without a trailing "\".
    std::vector<std::string> keysToIgnore = defaultKeyRows();
    bool classesScan = false;
    ScanMode scanMode = ScanMode::All;
    bool regScan = false;
    bool regFullScan = true;
    bool systemFilesScan = true;
    bool autoUpdateDb = true;
    DeleteMode deleteMode = DeleteMode::RecycleBin;

    bool setupDetect = true;
    bool tempFiles = true;
    bool tempFolders = true;
    bool dllFiles = false;
    bool scanDisk = false;
    bool defragmentor = false;
    bool changesStartup = false;
    bool enabled = true;
    std::string driveName;
    Schedule schedule = Schedule::None;
    int weekDay = 2;  // 1 Sunday ... 7 Saturday
    int monthDays = 3;
    bool oldDel = false;
    int oldDelDays = 7;
    std::vector<IgnoredProgram> programsToIgnore;

    bool showAllScans = false;

    bool operator==(const OptionsSettings&) const = default;
};

OptionsSettings readOptions(Registry& registry, FileSystem& files);

// Writes every value whatever changed, key by key, then registers or unregisters the
// scheduler in the Run key with programFolder (ending in "\"). A key that cannot be opened
// takes no writes, except General, which is created.
void writeOptions(Registry& registry, const OptionsSettings& options, std::string_view programFolder);

// The day names of the weekly box, Sunday first; the day number of a name (2 when the text
// names no day).
inline constexpr const char* DayNames[7] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
int dayNumber(std::string_view name);

// A key typed for the registry ignore list: its row (the hive spelt out, "HKCU\" and "HKLM\"
// taken for their long names, no trailing "\"), or why it cannot be listed.
enum class KeyEntryProblem { NotAKey, AlwaysCompared, Listed };
struct KeyEntry {
    std::string row;
    std::optional<KeyEntryProblem> problem;
};
KeyEntry keyEntry(std::string_view typed, const std::vector<std::string>& listed);

}  // namespace quillon::options
