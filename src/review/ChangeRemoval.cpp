#include "review/ChangeRemoval.h"

#include <algorithm>

#include "review/DllChoice.h"
#include "review/NothingSelected.h"
#include "review/ValueRows.h"
#include "shell/RemovalDoor.h"
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

std::vector<std::string> selectedPaths(const ChangeSet& changes, const Selection& selection) {
    std::vector<std::string> paths;
    for (std::size_t index : selection.files)
        if (index < changes.files.size()) paths.push_back(changes.files[index].fullPath());
    return paths;
}

// Every row whose item is gone leaves, selected or not; rows the guard refused stay, since
// their path (a wildcard, say) cannot be trusted to answer "gone".
void dropVanishedFiles(RemovalContext& context, ChangeSet& changes) {
    const shell::RemovalGuard guard(context.ports.shell, context.ports.dataFolder);
    std::erase_if(changes.files, [&](const FileRow& row) {
        const std::string path = row.fullPath();
        return guard.allowsPath(path) && !shell::itemExists(context.ports.files, path);
    });
}

// A line that could not be taken out keeps its row, and the user hears of it.
void deleteLines(RemovalContext& context, ChangeSet& changes, const Selection& selection) {
    std::vector<std::string> failed;
    for (std::size_t list = 0; list < ConfigListCount; ++list) {
        auto& rows = changes.lines[list];
        const std::string file = configFilePath(static_cast<ConfigList>(list), context.folders);
        std::vector<std::size_t> processed;
        for (std::size_t index : selection.lines[list]) {
            if (index >= rows.size() || rows[index].isPlaceholder()) continue;
            if (succeeded(removeAddedLine(context.ports.files, context.folders.work, file, rows[index].added,
                                          rows[index].replaced))) {
                processed.push_back(index);
            } else {
                failed.push_back(file + ": " + rows[index].added);
            }
        }
        eraseRows(rows, std::move(processed));
    }
    if (failed.empty()) return;
    std::string text = "These lines could not be taken out of their files:";
    for (const std::string& line : failed) text += "\r\n    " + line;
    context.ports.prompter.message({std::move(text), "Error deleting files", MsgIcon::Exclamation, MsgButtons::Ok});
}

std::vector<undo::RemovedLine> plannedLines(RemovalContext& context, const ChangeSet& changes,
                                            const Selection& selection) {
    std::vector<undo::RemovedLine> lines;
    for (std::size_t list = 0; list < ConfigListCount; ++list) {
        const auto& rows = changes.lines[list];
        for (std::size_t index : selection.lines[list])
            if (index < rows.size() && !rows[index].isPlaceholder())
                lines.push_back({configFilePath(static_cast<ConfigList>(list), context.folders), rows[index].added});
    }
    return lines;
}

}  // namespace

KeyPath keyTargetOf(const KeyRow& row) {
    const shell::KeyEntry parent = shell::parseKeyEntry(row.parent);
    return {parent.hive, parent.path.empty() ? row.name : parent.path + "\\" + row.name};
}

void deleteSelected(RemovalContext& context, ChangeSet& changes, const Selection& selection, bool permanentDelete) {
    if (!somethingSelected(context.ports.prompter, selection, "Error deleting files", "Delete selected")) return;
    // The Shift state never meant "for good": only the setting decides.
    static_cast<void>(permanentDelete);

    shell::RemovalRequest request;
    request.paths = selectedPaths(changes, selection);
    std::vector<std::size_t> keyRows;
    for (std::size_t index : selection.keys) {
        if (index >= changes.keys.size() || changes.keys[index].isPlaceholder()) continue;
        request.keys.push_back(changes.keys[index].fullKey());
        keyRows.push_back(index);
    }
    for (std::size_t index : selection.values)
        if (index < changes.values.size()) request.values.push_back(takeBackOf(changes.values[index]));
    request.installedBy = context.installedBy;
    request.choose = [&](const std::vector<std::string>& paths) {
        return chooseDeletions(context.ports.registry, context.inUse, paths);
    };
    undo::UndoRecorder record(context.ports, {"Changes", plannedLines(context, changes, selection)});
    const shell::RemovalAnswer answer = shell::removeThroughDoor(context.ports, request, record);
    if (!answer.recorded) return;
    dropVanishedFiles(context, changes);
    deleteLines(context, changes, selection);

    std::vector<std::size_t> deleted;
    for (std::size_t i = 0; i < keyRows.size(); ++i)
        if (answer.gone(request.keys[i])) deleted.push_back(keyRows[i]);
    eraseRows(changes.keys, std::move(deleted));
    std::vector<std::size_t> valuesBack;
    for (std::size_t index : selection.values)
        if (index < changes.values.size() &&
            answer.gone(shell::valueItem(changes.values[index].key, changes.values[index].name)))
            valuesBack.push_back(index);
    eraseRows(changes.values, std::move(valuesBack));
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

    shell::RemovalRequest request;
    request.paths = selectedPaths(changes, selection);
    request.moveTo = destination;
    request.errorTitle = "Error moving files";
    shell::NoJournal unrecorded;  // moved files stay within the user's reach
    static_cast<void>(shell::removeThroughDoor(context.ports, request, unrecorded));
    dropVanishedFiles(context, changes);
}

}  // namespace quillon::review
