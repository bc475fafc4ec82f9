#include "review/ChangeRemoval.h"

#include <algorithm>

#include "review/DllChoice.h"
#include "review/NothingSelected.h"
#include "review/RemovalSafety.h"
#include "shell/modRegistry.h"
#include "undo/UndoRecorder.h"

namespace quillon::review {
namespace {

template <typename Row>
void eraseRows(std::vector<Row>& rows, std::vector<std::size_t> indices) {
    std::sort(indices.begin(), indices.end());
    indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
    for (auto it = indices.rbegin(); it != indices.rend(); ++it)
        if (*it < rows.size()) rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(*it));
}

// The selected file rows the guard lets through, in selection order.
std::vector<std::string> selectedSafePaths(const RemovalGuard& guard, const ChangeSet& changes,
                                           const Selection& selection) {
    std::vector<std::string> paths;
    for (std::size_t index : selection.files) {
        if (index >= changes.files.size()) continue;
        std::string path = changes.files[index].fullPath();
        if (guard.allowsPath(path)) paths.push_back(std::move(path));
    }
    return paths;
}

// Every row whose item is gone leaves, selected or not; rows the guard refused stay, since
// their path (a wildcard, say) cannot be trusted to answer "gone".
void dropVanishedFiles(RemovalContext& context, const RemovalGuard& guard, ChangeSet& changes) {
    std::erase_if(changes.files, [&](const FileRow& row) {
        const std::string path = row.fullPath();
        return guard.allowsPath(path) && !itemExists(context.ports.files, path);
    });
}

void deleteLines(RemovalContext& context, ChangeSet& changes, const Selection& selection) {
    for (std::size_t list = 0; list < ConfigListCount; ++list) {
        auto& rows = changes.lines[list];
        const std::string file = configFilePath(static_cast<ConfigList>(list), context.folders);
        std::vector<std::size_t> processed;
        for (std::size_t index : selection.lines[list]) {
            if (index >= rows.size() || rows[index].isPlaceholder()) continue;
            removeAddedLine(context.ports.files, context.folders.work, file, rows[index].added, rows[index].replaced);
            processed.push_back(index);
        }
        eraseRows(rows, std::move(processed));
    }
}

void deleteKeys(RemovalContext& context, ChangeSet& changes, const Selection& selection) {
    std::vector<std::size_t> deleted;
    for (std::size_t index : selection.keys) {
        if (index >= changes.keys.size() || changes.keys[index].isPlaceholder()) continue;
        const KeyPath target = keyTargetOf(changes.keys[index]);
        if (!shell::deleteKey(context.ports.registry, context.ports.prompter, target.hive, target.path))
            deleted.push_back(index);
    }
    eraseRows(changes.keys, std::move(deleted));
}

// What Delete is about to take, for the undo record.
undo::PlannedRemoval plannedRemoval(RemovalContext& context, const ChangeSet& changes, const Selection& selection,
                                    const std::vector<std::string>& paths) {
    undo::PlannedRemoval plan{"Changes", {}, {}, undo::filesRemoved(context.ports, paths, 0, shell::RemoveMode::Setting)};
    for (std::size_t index : selection.keys)
        if (index < changes.keys.size() && !changes.keys[index].isPlaceholder())
            plan.keys.push_back(keyTargetOf(changes.keys[index]));
    for (std::size_t list = 0; list < ConfigListCount; ++list) {
        const auto& rows = changes.lines[list];
        for (std::size_t index : selection.lines[list])
            if (index < rows.size() && !rows[index].isPlaceholder())
                plan.lines.push_back({configFilePath(static_cast<ConfigList>(list), context.folders), rows[index].added});
    }
    return plan;
}

}  // namespace

KeyPath keyTargetOf(const KeyRow& row) {
    const KeyEntry parent = parseKeyEntry(row.parent);
    return {parent.hive, parent.path.empty() ? row.name : parent.path + "\\" + row.name};
}

void deleteSelected(RemovalContext& context, ChangeSet& changes, const Selection& selection, bool permanentDelete) {
    if (!somethingSelected(context.ports.prompter, selection, "Error deleting files", "Delete selected")) return;
    // The Shift state never meant "for good": only the setting decides.
    static_cast<void>(permanentDelete);
    const RemovalGuard guard(context.ports.shell);

    const std::vector<std::string> paths =
        chooseDeletions(context.ports.registry, context.inUse, selectedSafePaths(guard, changes, selection));
    undo::UndoRecorder record(context.ports, plannedRemoval(context, changes, selection, paths));
    if (!record.write("Error deleting files")) return;
    if (!paths.empty()) shell::removeFiles(context.ports, paths, 0, shell::RemoveMode::Setting);
    dropVanishedFiles(context, guard, changes);

    deleteLines(context, changes, selection);
    deleteKeys(context, changes, selection);
    record.finish();
}

void moveSelected(RemovalContext& context, ChangeSet& changes, const Selection& selection) {
    if (selection.files.empty()) {
        context.ports.prompter.message({"No files selected. Select a file and then click on Move selected.",
                                        "Error moving files", MsgIcon::Exclamation, MsgButtons::Ok});
        return;
    }
    const std::string destination =
        context.ports.prompter.browseForFolder("Choose the folder in which you want to move the selected files to:");
    if (destination.empty()) return;

    const RemovalGuard guard(context.ports.shell);
    for (const auto& path : selectedSafePaths(guard, changes, selection))
        shell::moveFile(context.ports.shell, context.ports.files, path, destination, 0, context.ports.owner);
    dropVanishedFiles(context, guard, changes);
}

}  // namespace quillon::review
