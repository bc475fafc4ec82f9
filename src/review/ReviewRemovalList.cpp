#include "review/ReviewRemovalList.h"

#include "detection/RegistryFileNames.h"
#include "detection/ScanFiles.h"
#include "review/ChangesFileNames.h"
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
    ConversionReport report;
    const bool converted = convertRemovalList(ports.files, ports.run, list.path, workFolder, &report);
    if (!converted || report.fault) {
        // Half a list would show as the whole of it, and its write-back would drop the rest.
        const std::string folder(workFolder);
        for (const std::string& path : {detection::changesPath(folder), folder + std::string(changes_files::SysChanges),
                                        folder + std::string(detection::registry_files::HkcuChanges),
                                        folder + std::string(detection::registry_files::HklmChanges)})
            ports.files.deleteFile(path);
        const std::string why = report.fault ? faultSentence(*report.fault) : "Quillon could not convert the list.";
        ports.prompter.message({why + " The removal list was not opened and is unchanged.", "Error opening removal list",
                                MsgIcon::Exclamation, MsgButtons::Ok});
        return std::nullopt;
    }
    list.keptAside = std::move(report.passedOver);

    list.fileName = list.path.substr(list.path.rfind('\\') + 1);
    FileInfo info;
    if (succeeded(ports.files.info(list.path, info)))
        list.fileDate = ports.clock.shortDate(info.lastWrite) + " " + ports.clock.timeText(info.lastWrite);
    return list;
}

}  // namespace quillon::review
