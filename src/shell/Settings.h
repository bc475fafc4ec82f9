#pragma once
// Names of every setting: the keys under HKEY_CURRENT_USER and their values. All values are
// REG_SZ; a flag is "1" or "0".
#include <string_view>

namespace quillon::settings {

// Items of every list kept in one string are each followed by this character.
inline constexpr char ListSeparator = '\x7f';

inline constexpr std::string_view RootKey = "Software\\Quillon";
inline constexpr std::string_view GeneralKey = "Software\\Quillon\\General";
inline constexpr std::string_view ScanningKey = "Software\\Quillon\\Scanning";
inline constexpr std::string_view SchedulerKey = "Software\\Quillon\\Scheduler";
inline constexpr std::string_view SysCleanKey = "Software\\Quillon\\Sys Clean";

inline constexpr std::string_view RunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr std::string_view SchedulerRunValue = "Quillon Scheduler";
inline constexpr std::string_view SchedulerProgram = "Quillon Scheduler.exe";
inline constexpr std::string_view MainProgram = "Quillon.exe";

namespace general {
inline constexpr std::string_view DefaultPath = "DefaultPath";
inline constexpr std::string_view DeleteMode = "DeleteMode";
inline constexpr std::string_view DriveName = "DriveName";
inline constexpr std::string_view OpenSavePath = "OpenSavePath";
inline constexpr std::string_view SavedForDeletion = "SavedForDeletion";
}  // namespace general

namespace scanning {
inline constexpr std::string_view AutoUpdateDb = "AutoUpdateDb";
inline constexpr std::string_view ScanMode = "ScanMode";
inline constexpr std::string_view RegScan = "RegScan";
inline constexpr std::string_view RegFullScan = "RegFullScan";
inline constexpr std::string_view WinIniScan = "WinIniScan";
inline constexpr std::string_view SystemIniScan = "SystemIniScan";
inline constexpr std::string_view AutoexecScan = "AutoexecScan";
inline constexpr std::string_view ConfigSysScan = "ConfigSysScan";
inline constexpr std::string_view FoldersToIgnore = "FoldersToIgnore";
inline constexpr std::string_view ClassesScan = "ClassesScan";
inline constexpr std::string_view KeysToIgnore = "KeysToIgnore";
}  // namespace scanning

namespace scheduler {
inline constexpr std::string_view Enabled = "Enabled";
inline constexpr std::string_view SetupDetect = "SetupDetect";
inline constexpr std::string_view SetupRan = "SetupRan";
inline constexpr std::string_view ChangesStartup = "ChangesStartup";
inline constexpr std::string_view EveryDay = "EveryDay";
inline constexpr std::string_view Weekly = "Weekly";
inline constexpr std::string_view Monthly = "Monthly";
inline constexpr std::string_view Done = "Done";
inline constexpr std::string_view TempFiles = "TempFiles";
inline constexpr std::string_view TempFolders = "TempFolders";
inline constexpr std::string_view DLLFiles = "DLLFiles";
inline constexpr std::string_view ScanDisk = "ScanDisk";
inline constexpr std::string_view Defragmentor = "Defragmentor";
inline constexpr std::string_view Drive = "Drive";
inline constexpr std::string_view DriveName = "DriveName";
inline constexpr std::string_view OldDel = "OldDel";
inline constexpr std::string_view OldDelDays = "OldDelDays";
inline constexpr std::string_view WindowsToIgnore = "WindowsToIgnore";
inline constexpr std::string_view WindowsToIgnoreInfo = "WindowsToIgnoreInfo";
}  // namespace scheduler

namespace sysclean {
inline constexpr std::string_view AlsoScanFiles = "AlsoScanFiles";
inline constexpr std::string_view AlsoScanFolders = "AlsoScanFolders";
inline constexpr std::string_view BakFiles = "Bak files";
inline constexpr std::string_view ChkFiles = "Chk files";
inline constexpr std::string_view ChklistFiles = "Chklist files";
inline constexpr std::string_view DollarFiles = "Dollar files";
inline constexpr std::string_view FtsFiles = "Fts files";
inline constexpr std::string_view GidFiles = "Gid files";
inline constexpr std::string_view LogFiles = "Log files";
inline constexpr std::string_view MscreateFiles = "Mscreate files";
inline constexpr std::string_view OldFiles = "Old files";
inline constexpr std::string_view PrevCompressedFiles = "PrevCompressed Files";
inline constexpr std::string_view TildeFiles = "Tidle files";
inline constexpr std::string_view TmpFiles = "Tmp files";
inline constexpr std::string_view RecycleBin = "RecycleBin";
inline constexpr std::string_view CacheFolder = "CacheFolder";
inline constexpr std::string_view TempFolder = "TempFolder";
inline constexpr std::string_view SameDateTime = "Same Date Time";
inline constexpr std::string_view SameSize = "Same Size";
inline constexpr std::string_view SkipSysbckup = "Skip Sysbckup";
inline constexpr std::string_view SkipZeroLength = "Skip Zero Length";
// Not written at first run: "1" shows the duplicate-file and unused-DLL scans.
inline constexpr std::string_view ShowAllScans = "ShowAllScans";
}  // namespace sysclean

// The removal-list file type registered under HKEY_CLASSES_ROOT.
inline constexpr std::string_view RemovalListExtension = ".qdf";
inline constexpr std::string_view RemovalListClass = "QuillonUninstall";

}  // namespace quillon::settings
