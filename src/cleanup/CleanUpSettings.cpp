#include "cleanup/CleanUpSettings.h"

#include <string_view>

#include "shell/RecentRemovalLists.h"
#include "shell/Settings.h"
#include "shell/modRegistry.h"

namespace quillon::cleanup {

namespace {

namespace names = settings::sysclean;

struct Flag {
    std::string_view setting;
    bool CleanUpSettings::*field;
};
constexpr std::array<Flag, 7> Flags{{
    {names::TempFolder, &CleanUpSettings::tempFolder},
    {names::CacheFolder, &CleanUpSettings::cacheFolder},
    {names::RecycleBin, &CleanUpSettings::recycleBin},
    {names::SkipZeroLength, &CleanUpSettings::skipZeroLength},
    {names::SkipSysbckup, &CleanUpSettings::skipSysbckup},
    {names::SameSize, &CleanUpSettings::sameSize},
    {names::SameDateTime, &CleanUpSettings::sameDateTime},
}};

bool readBox(RegistryKey* key, std::string_view name, bool onUnlessZero) {
    const std::string value = shell::queryValue(key, name);
    return onUnlessZero ? value != "0" : value == "1";
}

std::vector<std::string> readList(RegistryKey* key, std::string_view name) {
    std::vector<std::string> rows = shell::splitList(shell::queryValue(key, name));
    std::erase_if(rows, [](const std::string& row) { return row.empty(); });
    return rows;
}

std::string joinList(const std::vector<std::string>& rows) {
    std::string text;
    for (const std::string& row : rows) (text += row) += settings::ListSeparator;
    return text;
}

}  // namespace

CleanUpSettings::CleanUpSettings() {
    for (std::size_t i = 0; i < JunkTypes.size(); ++i) types[i] = JunkTypes[i].onAtFirstRun;
}

CleanUpSettings readCleanUpSettings(Registry& registry) {
    CleanUpSettings read;
    const shell::KeyPtr key = shell::openKey(registry, Hive::CurrentUser, settings::SysCleanKey);
    if (!key) return read;
    for (std::size_t i = 0; i < JunkTypes.size(); ++i)
        read.types[i] = readBox(key.get(), JunkTypes[i].setting, JunkTypes[i].onAtFirstRun);
    for (const Flag& flag : Flags) read.*flag.field = readBox(key.get(), flag.setting, true);
    read.alsoFiles = readList(key.get(), names::AlsoScanFiles);
    read.alsoFolders = readList(key.get(), names::AlsoScanFolders);
    return read;
}

Status writeCleanUpSettings(Registry& registry, const CleanUpSettings& settings) {
    const shell::KeyPtr key = shell::createKey(registry, Hive::CurrentUser, settings::SysCleanKey);
    if (!key) return Status::AccessDenied;
    Status first = Status::Ok;
    const auto write = [&](std::string_view name, std::string_view text) {
        const Status s = shell::setValue(key.get(), name, text);
        if (succeeded(first) && !succeeded(s)) first = s;
    };
    for (std::size_t i = 0; i < JunkTypes.size(); ++i) write(JunkTypes[i].setting, settings.types[i] ? "1" : "0");
    for (const Flag& flag : Flags) write(flag.setting, settings.*flag.field ? "1" : "0");
    write(names::AlsoScanFiles, joinList(settings.alsoFiles));
    write(names::AlsoScanFolders, joinList(settings.alsoFolders));
    return first;
}

std::string patternList(const CleanUpSettings& settings) {
    std::string list;
    for (std::size_t i = 0; i < JunkTypes.size(); ++i)
        if (settings.types[i]) list += JunkTypes[i].pattern;
    for (const std::string& row : settings.alsoFiles)
        if (!row.empty()) list += "|" + row.substr(1) + "|";
    return list;
}

}  // namespace quillon::cleanup
