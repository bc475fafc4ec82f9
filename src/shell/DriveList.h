#pragma once
// The drive list of the main window: one entry per fixed drive, "(C:) LABEL", then
// "Local hard drives (C:,D:)"; and the last-scanned sentence of an entry.
#include <string>
#include <string_view>
#include <vector>

#include "platform/Clock.h"
#include "platform/FileSystem.h"

namespace quillon::shell {

std::vector<std::string> driveEntries(FileSystem& files);

// The text between the first "(" and the following ")": "C:" or "C:,D:".
std::string driveToken(std::string_view entry);

// The drives of a token, each "C:".
std::vector<std::string> tokenDrives(std::string_view token);

// Index of the entry whose text equals the stored name; 0 when none does.
std::size_t entryIndex(const std::vector<std::string>& entries, std::string_view storedName);

// Data folder + the token's first letter + "dbase.qdb".
std::string snapshotPath(std::string_view dataFolder, std::string_view token);

std::string lastScannedSentence(FileSystem& files, Clock& clock, std::string_view dataFolder,
                                std::string_view token);

}  // namespace quillon::shell
