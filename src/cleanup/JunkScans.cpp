#include "cleanup/JunkScans.h"

#include "shell/DriveList.h"
#include "shell/Folders.h"
#include "shell/RecentRemovalLists.h"
#include "shell/Settings.h"

namespace quillon::cleanup {

TemporaryFolders findTemporaryFolders(Shell& system, FileSystem& files) {
    const std::string cache = shell::specialFolder(system, Csidl::InternetCache);
    const std::string programFiles = shell::specialFolder(system, Csidl::ProgramFiles);
    TemporaryFolders folders{shell::temporaryFolder(system), cache == "\\" ? "" : cache,
                             shell::splitList(shell::browserCacheFolders(files, programFiles))};
    std::erase_if(folders.browserCaches, [](const std::string& f) { return f.empty(); });
    return folders;
}

bool isFolderPath(std::string_view folder) { return folder.size() > 3 || (folder.size() == 3 && folder[1] == ':'); }

shell::IgnoreList junkIgnoreList(std::string_view windowsFolder, std::string_view foldersToIgnore) {
    std::string text(windowsFolder);
    text += "History\\";
    text += settings::ListSeparator;
    text.append(foldersToIgnore);
    return shell::IgnoreList(text);
}

bool scanTemporaryFiles(ScanPorts& ports, const CleanUpSettings& settings, std::string_view driveToken,
                        const shell::IgnoreList& ignore, ScanResults& results) {
    const std::string patterns = patternList(settings);
    const WalkRules rules{patterns, ignore, {ports.clock.now(), 0}};
    for (const std::string& drive : shell::tokenDrives(driveToken))
        if (!scanJunkFolders(ports.walk, drive + "\\", rules, results)) return false;
    return true;
}

bool scanTemporaryFolders(ScanPorts& ports, const std::function<CleanUpSettings()>& settingsNow,
                          const TemporaryFolders& folders, ScanResults& results) {
    const shell::IgnoreList nothing;
    const WalkRules rules{AllFiles, nothing, {ports.clock.now(), 0}};
    const auto walk = [&](std::string_view folder) {
        return !isFolderPath(folder) || scanJunkFolders(ports.walk, folder, rules, results);
    };
    if (settingsNow().tempFolder && !walk(folders.temporary)) return false;
    if (settingsNow().cacheFolder) {
        if (!walk(folders.internetCache)) return false;
        for (const std::string& cache : folders.browserCaches)
            if (!walk(cache)) return false;
    }
    if (settingsNow().recycleBin) {
        // The shell asks for confirmation and shows its own progress; a refusal lists nothing.
        static_cast<void>(ports.walk.shell.emptyRecycleBin(ports.owner, "", 0));
        ports.walk.run.yield();
        if (ports.walk.run.stopRequested()) return false;
    }
    for (const std::string& folder : settingsNow().alsoFolders)
        if (!walk(folder + "\\")) return false;
    return true;
}

}  // namespace quillon::cleanup
