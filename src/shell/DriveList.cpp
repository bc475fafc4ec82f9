#include "shell/DriveList.h"

#include <optional>

namespace quillon::shell {

std::vector<std::string> driveEntries(FileSystem& files) {
    std::vector<std::string> entries;
    std::string joined;
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        const std::string drive = std::string(1, letter) + ":";
        if (files.driveType(drive + "\\") != DriveType::Fixed) continue;
        std::string label;
        if (!succeeded(files.volumeLabel(drive + "\\", label))) label.clear();
        entries.push_back("(" + drive + ") " + label);
        joined += (joined.empty() ? "" : ",") + drive;
    }
    entries.push_back("Local hard drives (" + joined + ")");
    return entries;
}

std::string driveToken(std::string_view entry) {
    const auto open = entry.find('(');
    if (open == std::string_view::npos) return {};
    const auto close = entry.find(')', open + 1);
    return std::string(entry.substr(open + 1, close == std::string_view::npos ? close : close - open - 1));
}

std::vector<std::string> tokenDrives(std::string_view token) {
    std::vector<std::string> drives;
    while (token.size() >= 2) {
        drives.emplace_back(token.substr(0, 2));
        token.remove_prefix(std::min<std::size_t>(3, token.size()));
    }
    return drives;
}

std::size_t entryIndex(const std::vector<std::string>& entries, std::string_view storedName) {
    // A relabelled volume is still the drive the user chose: its letters find it when the text does not.
    const std::string token = driveToken(storedName);
    std::optional<std::size_t> sameDrive;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i] == storedName) return i;
        if (!sameDrive && !token.empty() && driveToken(entries[i]) == token) sameDrive = i;
    }
    return sameDrive.value_or(0);
}

std::string snapshotPath(std::string_view dataFolder, std::string_view token) {
    return std::string(dataFolder) + std::string(token.substr(0, 1)) + "dbase.qdb";
}

std::string lastScannedSentence(FileSystem& files, Clock& clock, std::string_view dataFolder,
                                std::string_view token) {
    FileInfo info;
    const std::string path = snapshotPath(dataFolder, token);
    if (token.empty() || !existsWith(files, path, FileAttr::Hidden | FileAttr::System | FileAttr::ReadOnly) ||
        !succeeded(files.info(path, info)))
        return "This drive has not been scanned.";
    return "This drive was last scanned on " + clock.shortDate(info.lastWrite) + " " + clock.timeText(info.lastWrite);
}

}  // namespace quillon::shell
