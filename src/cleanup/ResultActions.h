#pragma once
// Delete and Move of the clean-up window's selected rows, with the questions they ask.
#include <cstddef>
#include <vector>

#include "cleanup/ScanResults.h"
#include "shell/FileRemoval.h"

namespace quillon::cleanup {

// What the rows in the list came from: DLL rows are moved rather than deleted, duplicate rows
// are deleted only after a warning.
enum class ResultKind { JunkFiles, UnusedDlls, Duplicates };

// Removes the selected rows' files as the DeleteMode setting says, then takes out of the
// results the selected rows whose files are gone; rows still on disk (declined, in use) stay.
void deleteSelected(shell::RemovalPorts& ports, ResultKind kind, ScanResults& results,
                    const std::vector<std::size_t>& selected);

// Moves the selected rows' files into a folder the user picks and takes out the rows whose
// files left; a cancelled or refused move leaves its rows. Nothing happens without a folder.
void moveSelected(shell::RemovalPorts& ports, ScanResults& results, const std::vector<std::size_t>& selected);

}  // namespace quillon::cleanup
