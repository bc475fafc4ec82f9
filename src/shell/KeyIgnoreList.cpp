#include "shell/KeyIgnoreList.h"

#include <algorithm>

#include "platform/TextCompare.h"
#include "shell/RecentRemovalLists.h"
#include "shell/Settings.h"
#include "shell/modRegistry.h"

namespace quillon::shell {

namespace {

constexpr std::string_view CurrentUser = "HKEY_CURRENT_USER\\";
constexpr std::string_view LocalMachine = "HKEY_LOCAL_MACHINE\\";

constexpr std::string_view AlwaysComparedParts[] = {"Run",        "RunOnce",     "Uninstall", "App Paths",
                                                    "SharedDLLs", "Environment", "Classes",   "Services"};

constexpr std::string_view Defaults[] = {
    "HKEY_LOCAL_MACHINE\\Hardware",
    "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Enum",
    "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Video",
    "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Class\\{4D36E968-E325-11CE-BFC1-08002BE10318}",
    "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\DeviceClasses",
    "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\GraphicsDrivers",
    "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\UnitedVideo",
    "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Hardware Profiles\\Current\\Software\\Fonts",
    "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Cryptography\\RNG",
    "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Prefetcher",
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RecentDocs",
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32",
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\UserAssist",
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StreamMRU",
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Streams",
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\SessionInfo",
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MountPoints2",
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\TypedPaths",
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU",
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\Shell\\BagMRU",
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\Shell\\Bags",
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\ShellNoRoam",
    "HKEY_CURRENT_USER\\Software\\Wine\\Fonts",
    "HKEY_CURRENT_USER\\Software\\Wine\\Temporary System Parameters",
    "HKEY_CURRENT_USER\\Software\\Quillon",
};

}  // namespace

bool keyAtOrBelow(std::string_view key, std::string_view top) {
    if (key.size() < top.size() || !equalsNoCase(key.substr(0, top.size()), top)) return false;
    return key.size() == top.size() || key[top.size()] == '\\';
}

KeyIgnoreList::KeyIgnoreList(std::string_view separated) {
    for (const std::string& entry : splitList(separated)) {
        std::string_view text = entry;
        while (text.ends_with('\\')) text.remove_suffix(1);
        if (startsWithNoCase(text, CurrentUser))
            entries_.push_back({Hive::CurrentUser, std::string(text.substr(CurrentUser.size()))});
        else if (startsWithNoCase(text, LocalMachine))
            entries_.push_back({Hive::LocalMachine, std::string(text.substr(LocalMachine.size()))});
    }
}

bool KeyIgnoreList::ignores(Hive hive, std::string_view keyPath) const {
    return std::any_of(entries_.begin(), entries_.end(),
                       [&](const Entry& e) { return e.hive == hive && !e.path.empty() && keyAtOrBelow(keyPath, e.path); }) &&
           !alwaysCompared(keyPath);
}

bool alwaysCompared(std::string_view keyPath) {
    std::size_t start = 0;
    while (start <= keyPath.size()) {
        const std::size_t end = std::min(keyPath.find('\\', start), keyPath.size());
        const std::string_view part = keyPath.substr(start, end - start);
        if (std::any_of(std::begin(AlwaysComparedParts), std::end(AlwaysComparedParts),
                        [part](std::string_view p) { return equalsNoCase(part, p); }))
            return true;
        start = end + 1;
    }
    return false;
}

std::string keysToIgnore(RegistryKey* scanning) {
    RegValue stored;
    if (!scanning || !succeeded(scanning->queryValue(settings::scanning::KeysToIgnore, stored)))
        return defaultKeysToIgnore();
    return valueText(stored);
}

std::string defaultKeysToIgnore() {
    std::string list;
    for (const std::string_view entry : Defaults) list.append(entry) += settings::ListSeparator;
    return list;
}

}  // namespace quillon::shell
