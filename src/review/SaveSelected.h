#pragma once
// The viewer's "&Save selected": the selected rows written as a removal list the user names.
#include <cstddef>
#include <string>

#include "platform/FileSystem.h"
#include "platform/Prompter.h"
#include "platform/Registry.h"
#include "review/ChangeSet.h"

namespace quillon::review {

struct SavePorts {
    Registry& registry;
    FileSystem& files;
    Prompter& prompter;
};

enum class SaveOutcome {
    NothingSelected,  // the user was told; nothing asked, written or recorded
    Cancelled,        // the save dialog was cancelled
    Saved,
    NotWritten,       // the list could not be written completely; it is not recorded as saved
};

struct SaveResult {
    SaveOutcome outcome = SaveOutcome::Cancelled;
    std::string path;         // the chosen path, when one was chosen
    std::size_t entries = 0;  // entry lines written
};

// Asks for the path in the folder of the last save, remembers that folder, writes the
// selected rows in the order shown and appends the path to the saved lists. The rows stay
// as they are. The caller shows the hourglass around it.
SaveResult saveSelected(SavePorts& ports, const ChangeSet& changes, const Selection& selection);

}  // namespace quillon::review
