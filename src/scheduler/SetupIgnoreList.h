#pragma once
// The setup programs the user told detection to pass over for good: WindowsToIgnore holds a
// file name and its size in bytes per program, WindowsToIgnoreInfo its folder and the day it
// was added, each item followed by the list separator.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/Registry.h"

namespace quillon::scheduler {

// A detected setup program: its file name as the process list gives it and its full path.
struct DetectedSetup {
    std::string fileName;
    std::string path;
};

// Whether an entry names exactly this file (in any case) with this size. A program whose
// file changed size is asked about again; one whose size is unknown is never passed over.
bool isIgnoredSetup(std::string_view windowsToIgnore, std::string_view fileName, std::optional<std::uint64_t> size);

// The day as the ignore list records it: "Monday, Jan 5 2004".
std::string addedOnText(const DateTime& day);

// The size of a program file now; nullopt when it cannot be read.
std::optional<std::uint64_t> programSize(FileSystem& files, std::string_view path);

// Appends the program to both settings, or to neither when its size cannot be read.
void ignoreSetup(Registry& registry, FileSystem& files, Clock& clock, const DetectedSetup& program);

}  // namespace quillon::scheduler
