#pragma once
// Where things are: the special folders, the temporary folder, the browser cache folders and
// the work folder. Every folder text ends in "\".
#include <string>
#include <string_view>

#include "platform/Desktop.h"
#include "platform/FileSystem.h"
#include "platform/Shell.h"

namespace quillon::shell {

// The shell's folder for a CSIDL with "\" appended; "\" alone when the shell has none.
std::string specialFolder(Shell& shell, int csidl);
// The History folder exists on the NT family only; elsewhere the empty text.
std::string historyFolder(Shell& shell, Desktop& desktop);

// The root of the drive that holds Windows ("C:\"): where autoexec.bat and config.sys live.
std::string windowsRoot(Shell& shell);
// The system's temporary folder in its long form (the short form when there is none).
std::string temporaryFolder(Shell& shell);
// Each user profile's cache folder of the older web browser, each followed by the list
// separator; empty when there are none.
std::string browserCacheFolders(FileSystem& files, std::string_view programFilesFolder);

// Where work files go: the Windows drive's root when a file can be created there, else the
// temporary folder (a standard user may not write to the root on the NT family).
std::string chooseWorkFolder(FileSystem& files, std::string_view root, std::string_view tempFolder);

// The program folder: the folder of the running program file, with "\".
std::string programFolder(Desktop& desktop);

// A folder of that name exists (hidden and system folders count); a trailing "\" is allowed.
bool folderExists(FileSystem& files, std::string_view path);

// Appends "\" when the text does not end in one.
std::string withBackslash(std::string_view folder);

// The last part of a path ("C:\App\" gives "App").
std::string nameOf(std::string_view path);

}  // namespace quillon::shell
