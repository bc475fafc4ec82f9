#include "options/OptionsSettings.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <utility>

#include "platform/TextCompare.h"
#include "shell/DriveList.h"
#include "shell/Folders.h"
#include "shell/KeyIgnoreList.h"
#include "shell/RecentRemovalLists.h"
#include "shell/Settings.h"
#include "shell/modRegistry.h"

namespace quillon::options {

namespace {

namespace general = settings::general;
namespace scanning = settings::scanning;
namespace scheduler = settings::scheduler;

// The whole text as a decimal number, or nothing.
std::optional<long> number(std::string_view text) {
    long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    return value;
}

int clamped(long value, int low, int high) { return static_cast<int>(std::clamp<long>(value, low, high)); }

// Reads of one key; a key that did not open reads every value as empty.
class KeyReader {
public:
    KeyReader(Registry& registry, std::string_view path) : key_(shell::openKey(registry, Hive::CurrentUser, path)) {}
    std::string text(std::string_view name) const { return shell::queryValue(key_.get(), name); }
    RegistryKey* key() const noexcept { return key_.get(); }
    bool onlyWhenOne(std::string_view name) const { return text(name) == "1"; }
    bool unlessZero(std::string_view name) const { return text(name) != "0"; }

private:
    shell::KeyPtr key_;
};

class KeyWriter {
public:
    explicit KeyWriter(shell::KeyPtr key) : key_(std::move(key)) {}
    void text(std::string_view name, std::string_view value) const { shell::storeSetting(key_.get(), name, value); }
    void flag(std::string_view name, bool on) const { text(name, on ? "1" : "0"); }

private:
    shell::KeyPtr key_;
};

std::string joined(const std::vector<std::string>& entries) {
    std::string list;
    for (const std::string& entry : entries) (list += entry) += settings::ListSeparator;
    return list;
}

std::vector<std::string> keyRows(std::string_view stored) {
    std::vector<std::string> rows;
    for (std::string& entry : shell::splitList(stored))
        if (!entry.empty()) rows.push_back(std::move(entry));
    return rows;
}

// The long hive names an entry may begin with, and the short ones taken for them.
constexpr std::pair<std::string_view, std::string_view> HiveNames[] = {
    {"HKEY_CURRENT_USER\\", "HKCU\\"},
    {"HKEY_LOCAL_MACHINE\\", "HKLM\\"},
};

void readScanning(const KeyReader& key, FileSystem& files, OptionsSettings& out) {
    for (const std::string& folder : shell::splitList(key.text(scanning::FoldersToIgnore))) {
        if (!folder.empty() && shell::folderExists(files, folder)) out.foldersToIgnore.push_back(folder);
    }
    const std::string mode = key.text(scanning::ScanMode);
    if (mode == "1") out.scanMode = ScanMode::WindowsAndProgramFiles;
    if (mode == "2") out.scanMode = ScanMode::WindowsOnly;
    if (mode == "3") out.scanMode = ScanMode::ProgramFilesOnly;
    out.regScan = key.onlyWhenOne(scanning::RegScan);
    out.regFullScan = key.unlessZero(scanning::RegFullScan);
    out.classesScan = key.onlyWhenOne(scanning::ClassesScan);
    out.keysToIgnore = keyRows(shell::keysToIgnore(key.key()));
    out.systemFilesScan = key.unlessZero(scanning::WinIniScan);
    out.autoUpdateDb = key.unlessZero(scanning::AutoUpdateDb);
}

std::vector<IgnoredProgram> ignoredPrograms(std::string_view names, std::string_view infos) {
    const std::vector<std::string> name = shell::splitList(names);
    const std::vector<std::string> info = shell::splitList(infos);
    const auto at = [](const std::vector<std::string>& list, std::size_t i) { return i < list.size() ? list[i] : ""; };
    std::vector<IgnoredProgram> programs;
    for (std::size_t i = 0; i + 1 < name.size(); i += 2)
        programs.push_back({name[i], at(info, i), at(info, i + 1), name[i + 1]});
    return programs;
}

// In the order of the settings table, so a weekly day wins over a monthly run when both are set.
void readScheduler(const KeyReader& key, OptionsSettings& out) {
    out.setupDetect = key.unlessZero(scheduler::SetupDetect);
    out.tempFiles = key.unlessZero(scheduler::TempFiles);
    out.tempFolders = key.unlessZero(scheduler::TempFolders);
    out.dllFiles = key.onlyWhenOne(scheduler::DLLFiles);
    out.scanDisk = key.onlyWhenOne(scheduler::ScanDisk);
    out.defragmentor = key.onlyWhenOne(scheduler::Defragmentor);
    out.changesStartup = key.onlyWhenOne(scheduler::ChangesStartup);
    out.enabled = key.unlessZero(scheduler::Enabled);
    out.driveName = key.text(scheduler::DriveName);
    if (key.onlyWhenOne(scheduler::EveryDay)) out.schedule = Schedule::EveryDay;
    if (const std::string monthly = key.text(scheduler::Monthly); !monthly.empty() && monthly != "0") {
        out.schedule = Schedule::Monthly;
        out.monthDays = clamped(number(monthly).value_or(out.monthDays), MinMonthDays, MaxMonthDays);
    }
    if (const std::string weekly = key.text(scheduler::Weekly); !weekly.empty() && weekly != "0") {
        out.schedule = Schedule::Weekly;
        const long day = number(weekly).value_or(0);
        if (day >= 1 && day <= 7) out.weekDay = static_cast<int>(day);
    }
    out.oldDel = key.onlyWhenOne(scheduler::OldDel);
    if (const auto days = number(key.text(scheduler::OldDelDays)))
        out.oldDelDays = clamped(*days, MinOldDelDays, MaxOldDelDays);
    out.programsToIgnore =
        ignoredPrograms(key.text(scheduler::WindowsToIgnore), key.text(scheduler::WindowsToIgnoreInfo));
}

void writeScheduler(const KeyWriter& key, const OptionsSettings& in) {
    key.flag(scheduler::SetupDetect, in.setupDetect);
    key.flag(scheduler::TempFiles, in.tempFiles);
    key.flag(scheduler::TempFolders, in.tempFolders);
    key.flag(scheduler::DLLFiles, in.dllFiles);
    key.flag(scheduler::ScanDisk, in.scanDisk);
    key.flag(scheduler::Defragmentor, in.defragmentor);
    key.flag(scheduler::ChangesStartup, in.changesStartup);
    key.flag(scheduler::Enabled, in.enabled);
    key.text(scheduler::Drive, shell::driveToken(in.driveName));
    key.text(scheduler::DriveName, in.driveName);
    key.flag(scheduler::EveryDay, in.schedule == Schedule::EveryDay);
    key.text(scheduler::Monthly, in.schedule == Schedule::Monthly ? std::to_string(in.monthDays) : "0");
    key.text(scheduler::Weekly, in.schedule == Schedule::Weekly ? std::to_string(in.weekDay) : "0");
    key.flag(scheduler::OldDel, in.oldDel);
    key.text(scheduler::OldDelDays, std::to_string(in.oldDelDays));
    std::string names;
    std::string infos;
    for (const IgnoredProgram& program : in.programsToIgnore) {
        names += joined({program.name, program.size});
        infos += joined({program.folder, program.addedOn});
    }
    key.text(scheduler::WindowsToIgnore, names);
    key.text(scheduler::WindowsToIgnoreInfo, infos);
}

}  // namespace

std::vector<std::string> defaultKeyRows() { return keyRows(shell::defaultKeysToIgnore()); }

KeyEntry keyEntry(std::string_view typed, const std::vector<std::string>& listed) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!typed.empty() && blank(typed.front())) typed.remove_prefix(1);
    while (!typed.empty() && (blank(typed.back()) || typed.back() == '\\')) typed.remove_suffix(1);
    KeyEntry entry;
    for (const auto& [full, shortName] : HiveNames) {
        for (const std::string_view prefix : {full, shortName}) {
            if (typed.size() > prefix.size() && startsWithNoCase(typed, prefix))
                entry.row = std::string(full) + std::string(typed.substr(prefix.size()));
        }
    }
    if (entry.row.empty() || entry.row.find("\\\\") != std::string::npos) {
        entry.problem = KeyEntryProblem::NotAKey;
    } else if (shell::alwaysCompared(entry.row)) {
        entry.problem = KeyEntryProblem::AlwaysCompared;
    } else if (std::any_of(listed.begin(), listed.end(),
                           [&](const std::string& row) { return equalsNoCase(row, entry.row); })) {
        entry.problem = KeyEntryProblem::Listed;
    }
    return entry;
}

int dayNumber(std::string_view name) {
    for (int day = 0; day < 7; ++day)
        if (name == DayNames[day]) return day + 1;
    return 2;
}

OptionsSettings readOptions(Registry& registry, FileSystem& files) {
    OptionsSettings out;
    readScanning(KeyReader(registry, settings::ScanningKey), files, out);
    const std::string mode = KeyReader(registry, settings::GeneralKey).text(general::DeleteMode);
    if (mode == "1") out.deleteMode = DeleteMode::Delete;
    if (mode == "2") out.deleteMode = DeleteMode::Move;
    if (mode == "3") out.deleteMode = DeleteMode::Zip;
    readScheduler(KeyReader(registry, settings::SchedulerKey), out);
    out.showAllScans = KeyReader(registry, settings::SysCleanKey).onlyWhenOne(settings::sysclean::ShowAllScans);
    return out;
}

void writeOptions(Registry& registry, const OptionsSettings& in, std::string_view programFolder) {
    {
        const KeyWriter key(shell::openKey(registry, Hive::CurrentUser, settings::ScanningKey));
        key.text(scanning::FoldersToIgnore, joined(in.foldersToIgnore));
        key.text(scanning::ScanMode, std::to_string(static_cast<int>(in.scanMode)));
        key.flag(scanning::AutoUpdateDb, in.autoUpdateDb);
        key.flag(scanning::RegScan, in.regScan);
        key.flag(scanning::RegFullScan, in.regFullScan);
        for (std::string_view file :
             {scanning::WinIniScan, scanning::SystemIniScan, scanning::ConfigSysScan, scanning::AutoexecScan})
            key.flag(file, in.systemFilesScan);
        key.flag(scanning::ClassesScan, in.classesScan);
        key.text(scanning::KeysToIgnore, joined(in.keysToIgnore));
    }
    {
        shell::KeyPtr general = shell::openKey(registry, Hive::CurrentUser, settings::GeneralKey);
        if (!general) general = shell::createKey(registry, Hive::CurrentUser, settings::GeneralKey);
        KeyWriter(std::move(general)).text(general::DeleteMode, std::to_string(static_cast<int>(in.deleteMode)));
    }
    writeScheduler(KeyWriter(shell::openKey(registry, Hive::CurrentUser, settings::SchedulerKey)), in);
    KeyWriter(shell::openKey(registry, Hive::CurrentUser, settings::SysCleanKey))
        .flag(settings::sysclean::ShowAllScans, in.showAllScans);

    const shell::KeyPtr run = shell::createKey(registry, Hive::CurrentUser, settings::RunKey);
    if (in.enabled) {
        shell::storeSetting(run.get(), settings::SchedulerRunValue,
                            std::string(programFolder) + std::string(settings::SchedulerProgram));
    } else {
        shell::dropSetting(run.get(), settings::SchedulerRunValue);
    }
}

}  // namespace quillon::options
