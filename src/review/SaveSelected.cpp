#include "review/SaveSelected.h"

#include "review/NothingSelected.h"
#include "review/RemovalListDialog.h"
#include "review/RemovalListFormat.h"
#include "review/RemovalListWriter.h"
#include "review/SavedForDeletion.h"
#include "shell/Settings.h"
#include "shell/modRegistry.h"

namespace quillon::review {

SaveResult saveSelected(SavePorts& ports, const ChangeSet& changes, const Selection& selection) {
    SaveResult result;
    if (!somethingSelected(ports.prompter, selection, "Error saving files", "Save selected")) {
        result.outcome = SaveOutcome::NothingSelected;
        return result;
    }

    const auto chosen = ports.prompter.saveFile(removalListDialog(ports.registry));
    if (!chosen || chosen->empty()) return result;
    result.path = *chosen;

    const auto slash = result.path.rfind('\\');
    auto general = shell::createKey(ports.registry, Hive::CurrentUser, settings::GeneralKey);
    shell::storeSetting(general.get(), settings::general::OpenSavePath,
                        result.path.substr(0, slash == std::string::npos ? 0 : slash));

    const WriteResult written = writeSelectedRows(ports.files, result.path, changes, selection);
    result.entries = written.entries;
    if (!written.written) {
        result.outcome = SaveOutcome::NotWritten;
        return result;
    }
    addSavedForDeletion(ports.registry, result.path);
    result.outcome = SaveOutcome::Saved;
    return result;
}

}  // namespace quillon::review
