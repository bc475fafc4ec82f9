#include "review/ReviewRemovalList.h"

#include "review/ConvertRemovalList.h"
#include "review/RemovalListDialog.h"
#include "review/RemovalListFormat.h"
#include "shell/Settings.h"
#include "shell/modRegistry.h"

namespace quillon::review {

std::optional<ReviewedList> openRemovalListForReview(ReviewPorts& ports, std::string_view workFolder) {
    const auto chosen = ports.prompter.openFile(removalListDialog(ports.registry));
    if (!chosen || chosen->empty()) return std::nullopt;

    ReviewedList list;
    list.path = *chosen;
    convertRemovalList(ports.files, ports.run, list.path, workFolder);

    list.fileName = list.path.substr(list.path.rfind('\\') + 1);
    FileInfo info;
    if (succeeded(ports.files.info(list.path, info)))
        list.fileDate = ports.clock.shortDate(info.lastWrite) + " " + ports.clock.timeText(info.lastWrite);
    return list;
}

}  // namespace quillon::review
