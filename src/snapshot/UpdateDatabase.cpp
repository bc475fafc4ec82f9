#include "snapshot/UpdateDatabase.h"

#include <cstdint>
#include <memory>

#include "platform/FileFault.h"
#include "shell/DriveList.h"
#include "shell/Settings.h"
#include "shell/modRegistry.h"
#include "snapshot/ConfigFiles.h"
#include "snapshot/FolderWalk.h"
#include "snapshot/RegistryWalk.h"
#include "snapshot/SnapshotFiles.h"

namespace quillon::snapshot {

namespace {

constexpr std::string_view DriveWorkFile = "dbstemp.qdb";
constexpr std::string_view HkcuWorkFile = "RegTemp.qdb";
constexpr std::string_view HklmWorkFile = "RegTemp2.qdb";
constexpr std::string_view HkcuValueWorkFile = "RegVal.qdb";
constexpr std::string_view HklmValueWorkFile = "RegVal2.qdb";
constexpr std::string_view LeftOutOfHklm = "SOFTWARE\\Classes";

std::string in(std::string_view folder, std::string_view name) { return std::string(folder) + std::string(name); }

UpdateOutcome writeFailed(UpdatePorts& ports) {
    ports.prompter.message({"The scan database could not be written. The previous database was kept.",
                            "Error updating database", MsgIcon::Exclamation, MsgButtons::Ok});
    return UpdateOutcome::WriteFailed;
}

UpdateOutcome snapshotDrive(UpdatePorts& ports, UpdateProgress& progress, std::string_view drive,
                            const UpdateFolders& folders) {
    const std::string work = in(folders.workFolder, DriveWorkFile);
    std::unique_ptr<TextWriter> out;
    if (!succeeded(ports.files.openWrite(work, WriteMode::Create, out))) return writeFailed(ports);
    const shell::WalkResult walked = walkFolderTree(ports.files, ports.run, progress, std::string(drive) + "\\", *out);
    const Status closed = out->close();
    out.reset();
    if (walked.end == shell::WalkEnd::Failed) {
        // A folder listed only in part must not become the snapshot: its missing files would
        // come back as new, that is, as things to delete.
        removeLeftover(ports.files, work);
        ports.prompter.message({faultSentence({FileFault::Action::Read, walked.failedFolder, walked.failure}) +
                                    " The previous database was kept.",
                                "Error updating database", MsgIcon::Exclamation, MsgButtons::Ok});
        return UpdateOutcome::WriteFailed;
    }
    if (!walked.completed()) {
        removeLeftover(ports.files, work);
        return UpdateOutcome::Cancelled;
    }
    if (!succeeded(closed) || !placeSnapshot(ports.shell, ports.files, work, shell::snapshotPath(folders.dataFolder, drive))) {
        removeLeftover(ports.files, work);
        return writeFailed(ports);
    }
    progress.driveCompleted();
    return UpdateOutcome::Completed;
}

// Missing files are not compared any more. A failed copy ends the update: the copy it would
// have replaced is gone, and the user is told which file it was.
UpdateOutcome copyConfigFiles(UpdatePorts& ports, UpdateProgress& progress, const UpdateFolders& folders) {
    progress.showStep("Updating System Files database...");
    ports.run.yield();
    constexpr std::uint32_t anyFile = FileAttr::Hidden | FileAttr::System | FileAttr::ReadOnly;
    for (const ConfigFile& file : ConfigFiles) {
        const std::string source = configFilePath(file, folders.windowsFolder, folders.windowsRoot);
        if (!existsWith(ports.files, source, anyFile)) {
            const shell::KeyPtr key = shell::createKey(ports.registry, Hive::CurrentUser, settings::ScanningKey);
            shell::storeSetting(key.get(), file.setting, "0");
            continue;
        }
        if (const auto fault = copyHidden(ports.shell, ports.files, source, in(folders.dataFolder, file.snapshot))) {
            ports.prompter.message({faultSentence(*fault) + " The database was not updated in full; run Update "
                                                            "database again once the file can be copied.",
                                    "Error updating database", MsgIcon::Exclamation, MsgButtons::Ok});
            return UpdateOutcome::WriteFailed;
        }
    }
    return UpdateOutcome::Completed;
}

UpdateOutcome snapshotRegistry(UpdatePorts& ports, UpdateProgress& progress, const UpdateFolders& folders) {
    progress.showStep("Updating Registry Information database...");
    ports.run.yield();
    const shell::KeyPtr scanning = shell::openKey(ports.registry, Hive::CurrentUser, settings::ScanningKey);
    const bool classes = shell::queryValue(scanning.get(), settings::scanning::ClassesScan) == "1";
    struct HiveWalk {
        Hive hive;
        std::string keys, values;
        std::string_view keySnapshot, valueSnapshot, leftOut;
    };
    const HiveWalk walks[] = {
        {Hive::CurrentUser, in(folders.workFolder, HkcuWorkFile), in(folders.workFolder, HkcuValueWorkFile),
         "hkcuReg.qdb", "hkcuVal.qdb", ""},
        {Hive::LocalMachine, in(folders.workFolder, HklmWorkFile), in(folders.workFolder, HklmValueWorkFile),
         "hklmReg.qdb", "hklmVal.qdb", classes ? "" : LeftOutOfHklm},
    };
    const auto dropAll = [&] {
        for (const HiveWalk& w : walks) {
            removeLeftover(ports.files, w.keys);
            removeLeftover(ports.files, w.values);
        }
    };
    for (const HiveWalk& w : walks) {
        const UpdateOutcome o =
            walkRegistry(ports.registry, ports.files, ports.run, w.hive, "", w.keys, w.leftOut, nullptr, w.values);
        if (o == UpdateOutcome::Completed) continue;
        dropAll();
        return o == UpdateOutcome::Cancelled ? o : writeFailed(ports);
    }
    for (const HiveWalk& w : walks) {
        if (!placeSnapshot(ports.shell, ports.files, w.keys, in(folders.dataFolder, w.keySnapshot))) {
            dropAll();
            return writeFailed(ports);
        }
        // An old value snapshot beside the new key list would report values that never changed.
        if (!placeSnapshot(ports.shell, ports.files, w.values, in(folders.dataFolder, w.valueSnapshot))) {
            removeLeftover(ports.files, in(folders.dataFolder, w.valueSnapshot));
            dropAll();
            return writeFailed(ports);
        }
    }
    return UpdateOutcome::Completed;
}

}  // namespace

UpdateOutcome runUpdateDatabase(UpdatePorts& ports, UpdateProgress& progress, std::string_view driveToken,
                                const UpdateFolders& folders) {
    for (const std::string& drive : shell::tokenDrives(driveToken)) {
        if (const UpdateOutcome o = snapshotDrive(ports, progress, drive, folders); o != UpdateOutcome::Completed)
            return o;
    }
    if (const UpdateOutcome o = copyConfigFiles(ports, progress, folders); o != UpdateOutcome::Completed) return o;
    return snapshotRegistry(ports, progress, folders);
}

}  // namespace quillon::snapshot
