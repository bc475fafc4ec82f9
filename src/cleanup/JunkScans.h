#pragma once
// The two scans of the clean-up window: "Scan for temporary files" over the chosen drives and
// "Scan for temporary folders" over the temporary folder, the browser caches, the Recycle Bin
// and the user's own folders. Stop ends a scan as a whole: no later step starts.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "cleanup/CleanUpSettings.h"
#include "cleanup/ScanJunkFolders.h"
#include "platform/Clock.h"
#include "platform/WindowRef.h"

namespace quillon::cleanup {

struct ScanPorts {
    WalkPorts walk;
    Clock& clock;
    WindowRef owner = 0;  // of the shell's Recycle Bin questions
};

// A folder the shell could not name comes back as "\" or empty: walking that would list the
// whole current drive as temporary files.
bool isFolderPath(std::string_view folder);

// The Windows folder's History folder, then the user's FoldersToIgnore as stored.
shell::IgnoreList junkIgnoreList(std::string_view windowsFolder, std::string_view foldersToIgnore);

// Walks each drive of the token ("C:" or "C:,D:") with the settings' pattern list; one
// running total. False when stopped.
bool scanTemporaryFiles(ScanPorts& ports, const CleanUpSettings& settings, std::string_view driveToken,
                        const shell::IgnoreList& ignore, ScanResults& results);

struct TemporaryFolders {
    std::string temporary;                   // the system's temporary folder
    std::string internetCache;               // the shell's cache folder, empty when it has none
    std::vector<std::string> browserCaches;  // the older browser's profile caches
};

// Where the temporary and cache folders of this machine are; both the clean-up window and the
// scheduled tasks empty them.
TemporaryFolders findTemporaryFolders(Shell& system, FileSystem& files);

// Each step reads the settings when it begins, so a box changed during the scan counts for
// the steps still to come. False when stopped.
bool scanTemporaryFolders(ScanPorts& ports, const std::function<CleanUpSettings()>& settingsNow,
                          const TemporaryFolders& folders, ScanResults& results);

}  // namespace quillon::cleanup
