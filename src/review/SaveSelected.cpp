#include "review/SaveSelected.h"

#include "review/RemovalListFormat.h"
#include "review/RemovalListWriter.h"
#include "review/SavedForDeletion.h"
#include "shell/Settings.h"
#include "shell/modRegistry.h"

namespace quillon::review {
namespace {

constexpr std::string_view NothingSelectedTitle = "Error saving files";
constexpr std::string_view NothingSelectedText =
    "No files or system changes selected. Select a file or a system change and then click on Save selected.";

}  // namespace

SaveResult saveSelected(SavePorts& ports, const ChangeSet& changes, const Selection& selection) {
    SaveResult result;
    if (countSelectedChanges(selection) == 0) {
        ports.prompter.message({std::string(NothingSelectedText), std::string(NothingSelectedTitle),
                                MsgIcon::Exclamation, MsgButtons::Ok, 1});
        result.outcome = SaveOutcome::NothingSelected;
        return result;
    }

    FileDialogRequest request;
    request.filter = removal_list::DialogFilter;
    request.defaultExtension = removal_list::DefaultExtension;
    {
        auto general = shell::openKey(ports.registry, Hive::CurrentUser, settings::GeneralKey);
        request.initialFolder = shell::queryValue(general.get(), settings::general::OpenSavePath);
    }
    const auto chosen = ports.prompter.saveFile(request);
    if (!chosen || chosen->empty()) return result;
    result.path = *chosen;

    const auto slash = result.path.rfind('\\');
    auto general = shell::createKey(ports.registry, Hive::CurrentUser, settings::GeneralKey);
    shell::setValue(general.get(), settings::general::OpenSavePath,
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
