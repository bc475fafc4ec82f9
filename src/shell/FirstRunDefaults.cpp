#include "shell/FirstRunDefaults.h"

#include <initializer_list>
#include <span>
#include <string_view>
#include <utility>

#include "shell/Folders.h"
#include "shell/KeyIgnoreList.h"
#include "shell/Settings.h"
#include "shell/modRegistry.h"

namespace quillon::shell {

namespace {

using Pairs = std::initializer_list<std::pair<std::string_view, std::string_view>>;

void writeValues(Registry& registry, std::string_view keyPath, Pairs values) {
    const KeyPtr key = createKey(registry, Hive::CurrentUser, keyPath);
    for (const auto& [name, text] : values) storeSetting(key.get(), name, text);
}

// "1" when the scheduler is to start with Windows. An entry the user emptied means they
// switched it off; a missing entry is written.
std::string ensureRunEntry(Registry& registry, const std::string& programFolder) {
    KeyPtr run = openKey(registry, Hive::CurrentUser, settings::RunKey);
    if (!run) run = createKey(registry, Hive::CurrentUser, settings::RunKey);
    RegValue existing;
    if (run && succeeded(run->queryValue(settings::SchedulerRunValue, existing)))
        return valueText(existing).empty() ? "0" : "1";
    storeSetting(run.get(), settings::SchedulerRunValue, programFolder + std::string(settings::SchedulerProgram));
    return "1";
}

void writeFileAssociation(Registry& registry, const std::string& programFolder) {
    using namespace std::string_literals;
    const std::string cls(settings::RemovalListClass);
    const KeyPtr root = openKey(registry, Hive::ClassesRoot, "");
    storeDefault(root.get(), settings::RemovalListExtension, cls);
    createKey(registry, Hive::ClassesRoot, cls);
    storeDefault(root.get(), cls + "\\DefaultIcon", programFolder + "uninst.ico");
    createKey(registry, Hive::ClassesRoot, cls + "\\Shell");
    createKey(registry, Hive::ClassesRoot, cls + "\\Shell\\Uninstall");
    storeDefault(root.get(), cls + "\\Shell\\Uninstall\\Command",
                 "\""s + programFolder + std::string(settings::MainProgram) + "\" \"%1\"");
}

// The parts of the per-user data folders that Windows and its components rewrite all the time.
// The folders themselves are not ignored: installers keep the Start menu and each program's
// settings there.
constexpr std::string_view ChangingAppDataParts[] = {
    "Microsoft\\Windows\\Themes\\", "Microsoft\\Office\\Recent\\", "Microsoft\\Protect\\",
    "Microsoft\\Crypto\\",         "Microsoft\\SystemCertificates\\", "Microsoft\\Internet Explorer\\UserData\\"};
constexpr std::string_view ChangingLocalAppDataParts[] = {
    "Microsoft\\Windows\\Explorer\\", "Microsoft\\Windows\\WebCache\\", "Microsoft\\Windows\\Caches\\",
    "CrashDumps\\", "D3DSCache\\"};

void appendParts(std::string& list, const std::string& folder, std::span<const std::string_view> parts) {
    if (folder.size() < 3) return;  // the shell has no such folder: "\" alone
    for (const std::string_view part : parts) list += folder + std::string(part) + settings::ListSeparator;
}

}  // namespace

std::string defaultFoldersToIgnore(Shell& shell, Desktop& desktop, FileSystem& files) {
    const std::string windows = specialFolder(shell, Csidl::Windows);
    const std::string sep(1, settings::ListSeparator);
    std::string list = windows + "Applog\\" + sep + specialFolder(shell, Csidl::Recent) + sep + temporaryFolder(shell) +
                       sep + specialFolder(shell, Csidl::InternetCache) + sep + specialFolder(shell, Csidl::Favorites) +
                       sep + specialFolder(shell, Csidl::Cookies) + sep;
    appendParts(list, specialFolder(shell, Csidl::AppData), ChangingAppDataParts);
    appendParts(list, specialFolder(shell, Csidl::LocalAppData), ChangingLocalAppDataParts);
    return list + browserCacheFolders(files, specialFolder(shell, Csidl::ProgramFiles)) + sep + windows +
           "Prefetch\\" + sep + historyFolder(shell, desktop) + sep;
}

void writeFirstRunDefaults(Registry& registry, const FirstRunFolders& folders) {
    namespace g = settings::general;
    namespace sc = settings::scanning;
    namespace sh = settings::scheduler;
    namespace cl = settings::sysclean;
    const std::string& program = folders.programFolder;
    const std::string& root = folders.windowsRoot;

    const std::string enabled = ensureRunEntry(registry, program);
    const std::string openSavePath = program + "Uninstall logs";

    writeValues(registry, settings::GeneralKey,
                {{g::DefaultPath, program}, {g::DeleteMode, "0"}, {g::DriveName, root}, {g::OpenSavePath, openSavePath}});
    writeValues(registry, settings::ScanningKey,
                {{sc::AutoUpdateDb, "1"}, {sc::AutoexecScan, "1"}, {sc::ConfigSysScan, "1"}, {sc::RegScan, "1"},
                 {sc::RegFullScan, "1"}, {sc::ScanMode, "0"}, {sc::SystemIniScan, "1"}, {sc::WinIniScan, "1"},
                 {sc::FoldersToIgnore, folders.foldersToIgnore}, {sc::ClassesScan, "1"},
                 {sc::KeysToIgnore, defaultKeysToIgnore()}});
    writeValues(registry, settings::SchedulerKey,
                {{sh::Enabled, enabled}, {sh::TempFiles, "1"}, {sh::TempFolders, "1"}, {sh::DLLFiles, "0"},
                 {sh::Defragmentor, "0"}, {sh::ScanDisk, "0"}, {sh::ChangesStartup, "0"}, {sh::SetupRan, "0"},
                 {sh::Drive, root}, {sh::DriveName, root}, {sh::Weekly, "2"}, {sh::Done, "0"},
                 {sh::SetupDetect, "1"}, {sh::OldDel, "0"}, {sh::OldDelDays, "7"}});
    writeValues(registry, settings::SysCleanKey,
                {{cl::AlsoScanFiles, ""}, {cl::AlsoScanFolders, ""}, {cl::BakFiles, "1"}, {cl::ChkFiles, "1"},
                 {cl::ChklistFiles, "1"}, {cl::DollarFiles, "1"}, {cl::FtsFiles, "1"}, {cl::GidFiles, "1"},
                 {cl::LogFiles, "1"}, {cl::MscreateFiles, "0"}, {cl::OldFiles, "1"}, {cl::PrevCompressedFiles, "1"},
                 {cl::TildeFiles, "1"}, {cl::TmpFiles, "1"}, {cl::RecycleBin, "0"}, {cl::CacheFolder, "0"},
                 {cl::TempFolder, "1"}, {cl::SameDateTime, "1"}, {cl::SameSize, "1"}, {cl::SkipSysbckup, "1"},
                 {cl::SkipZeroLength, "1"}});
    createKey(registry, Hive::CurrentUser, settings::RootKey);
    writeFileAssociation(registry, program);
}

}  // namespace quillon::shell
