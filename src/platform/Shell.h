#pragma once
// Shell port: special folders, the shell's file operation, delete at restart, the Recycle
// Bin, starting documents and the help engine.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Status.h"
#include "platform/WindowRef.h"

namespace quillon {

namespace Csidl {
inline constexpr int Favorites = 6;
inline constexpr int Recent = 8;
inline constexpr int AppData = 26;
inline constexpr int InternetCache = 32;
inline constexpr int Cookies = 33;
inline constexpr int History = 34;
inline constexpr int Windows = 36;
inline constexpr int System = 37;
inline constexpr int ProgramFiles = 38;
// The folders a removal must never take: the user's own and the system's.
inline constexpr int Programs = 2;
inline constexpr int Personal = 5;
inline constexpr int Startup = 7;
inline constexpr int SendTo = 9;
inline constexpr int StartMenu = 11;
inline constexpr int MyMusic = 13;
inline constexpr int MyVideo = 14;
inline constexpr int DesktopFolder = 16;
inline constexpr int Fonts = 20;
inline constexpr int Templates = 21;
inline constexpr int CommonStartMenu = 22;
inline constexpr int CommonPrograms = 23;
inline constexpr int CommonStartup = 24;
inline constexpr int CommonDesktop = 25;
inline constexpr int LocalAppData = 28;
inline constexpr int CommonAppData = 35;
inline constexpr int MyPictures = 39;
inline constexpr int Profile = 40;
inline constexpr int SystemX86 = 41;
inline constexpr int ProgramFilesX86 = 42;
inline constexpr int CommonFiles = 43;
inline constexpr int CommonFilesX86 = 44;
inline constexpr int CommonTemplates = 45;
inline constexpr int CommonDocuments = 46;
}  // namespace Csidl

namespace FileOpFlag {
inline constexpr std::uint32_t MultiDestFiles = 0x1;
inline constexpr std::uint32_t Silent = 0x4;
inline constexpr std::uint32_t NoConfirmation = 0x10;
inline constexpr std::uint32_t AllowUndo = 0x40;
inline constexpr std::uint32_t FilesOnly = 0x80;
inline constexpr std::uint32_t NoConfirmMkdir = 0x200;
inline constexpr std::uint32_t NoErrorUi = 0x400;
// Asks before destroying what the Recycle Bin cannot take, instead of destroying it silently.
inline constexpr std::uint32_t WantNukeWarning = 0x4000;
}  // namespace FileOpFlag

enum class FileOpKind { Move = 1, Copy = 2, Delete = 3, Rename = 4 };

struct FileOperation {
    FileOpKind kind = FileOpKind::Delete;
    std::vector<std::string> from;  // each path on its own; the adapter builds the NUL list
    std::string to;                 // empty for Delete
    std::uint32_t flags = 0;
    WindowRef owner = 0;
};

struct FileOpResult {
    Status status = Status::Ok;     // Ok when the operation succeeded
    bool aborted = false;           // the user cancelled
};

struct FileTypeInfo {
    std::string typeName;           // e.g. "Text Document"
    int iconIndex = -1;             // index in the system's small image list, -1 when none
};

// Flags of emptying the Recycle Bin.
namespace RecycleBinFlag {
inline constexpr std::uint32_t NoConfirmation = 0x1;
inline constexpr std::uint32_t NoProgressUi = 0x2;
inline constexpr std::uint32_t NoSound = 0x4;
}  // namespace RecycleBinFlag

namespace HelpCommand {
inline constexpr std::uint32_t Quit = 0x2;
inline constexpr std::uint32_t Key = 0x101;
inline constexpr std::uint32_t Finder = 0xB;
}  // namespace HelpCommand

namespace ShowCmd {
inline constexpr int Hide = 0;
inline constexpr int Normal = 1;
inline constexpr int Minimized = 2;
inline constexpr int Maximized = 3;
}  // namespace ShowCmd

class Shell {
public:
    virtual ~Shell() = default;

    // The shell's raw answer for a CSIDL (no trailing "\" added); non-Ok when it has none.
    virtual Status specialFolder(int csidl, std::string& path) = 0;
    // The system's temporary path, short form as the system gives it.
    virtual Status tempPath(std::string& path) = 0;
    virtual Status longPathName(std::string_view path, std::string& longPath) = 0;

    // PathTooLong, with nothing done, when a path is past MAX_PATH: the shell takes none.
    virtual FileOpResult fileOperation(const FileOperation& op) = 0;
    // Schedules a file for deletion at the next restart.
    virtual Status deleteAtRestart(std::string_view path) = 0;
    // root "" empties the Recycle Bin of every drive.
    virtual Status emptyRecycleBin(WindowRef owner, std::string_view root, std::uint32_t flags) = 0;

    // ShellExecute: verb "" is the default verb.
    virtual Status execute(WindowRef owner, std::string_view verb, std::string_view file,
                           std::string_view parameters, std::string_view folder, int show) = 0;
    virtual Status fileType(std::string_view path, FileTypeInfo& out) = 0;
    virtual Status help(WindowRef owner, std::string_view helpFile, std::uint32_t command,
                        std::string_view keyword) = 0;
};

}  // namespace quillon
