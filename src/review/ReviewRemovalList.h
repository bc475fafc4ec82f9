#pragma once
// The main window's "View && delete changes" up to showing the viewer: the user picks a
// removal list and it becomes the changes files the viewer loads.
#include <optional>
#include <string>
#include <string_view>

#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/Prompter.h"
#include "platform/Registry.h"
#include "platform/RunContext.h"
#include "review/RemovalListWriter.h"

namespace quillon::review {

struct ReviewPorts {
    Registry& registry;
    FileSystem& files;
    Prompter& prompter;
    Clock& clock;
    RunContext& run;
};

struct ReviewedList {
    std::string path;      // the main window's ReviewedDataFile while the viewer shows it
    std::string fileName;  // the viewer's DataFileName: the name without its folder
    std::string fileDate;  // the viewer's DataFileDate: the list's last-write date and time
    RemovalListEntries keptAside;  // entries the viewer cannot show, for the write-back
};

// Asks for a removal list in the folder of the last save and converts it into the changes
// files of `workFolder`; nullopt when the dialog was cancelled, or when the list could not be
// read or converted in full (the user is told why; no changes file is left). The caller then
// loads and shows the viewer with the name and date, and writes the list back, with the
// entries kept aside, when the viewer closes.
[[nodiscard]] std::optional<ReviewedList> openRemovalListForReview(ReviewPorts& ports, std::string_view workFolder);

}  // namespace quillon::review
