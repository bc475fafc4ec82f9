#pragma once
// The viewer's "Delete selected" and "Move selected": what is handed to the file, key and
// line routines, and which rows leave the ChangeSet afterwards.
#include <optional>

#include "review/ChangeSet.h"
#include "review/InUsePrompt.h"
#include "review/RemoveAddedLine.h"
#include "shell/FileRemoval.h"

namespace quillon::review {

struct RemovalContext {
    shell::RemovalPorts& ports;
    InUsePrompt& inUse;
    RemovalFolders folders;
    // When the changes were found (or the list under review was saved): files written later
    // inside a folder to remove are the user's.
    std::optional<DateTime> installedBy = {};
};

// "HKEY_CURRENT_USER\Software\New\" + "Sub" -> HKEY_CURRENT_USER, "Software\New\Sub".
KeyPath keyTargetOf(const KeyRow& row);

// `permanentDelete` is the Shift state of the last press on the button. It is kept for the
// window but does not make the deletion permanent: the DeleteMode setting alone decides.
// Rows of items removed leave `changes`; the selection is stale afterwards.
void deleteSelected(RemovalContext& context, ChangeSet& changes, const Selection& selection, bool permanentDelete);

// Moves the selected file rows into a folder the user picks; rows of items gone leave.
void moveSelected(RemovalContext& context, ChangeSet& changes, const Selection& selection);

}  // namespace quillon::review
