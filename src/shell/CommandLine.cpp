#include "shell/CommandLine.h"

namespace quillon::shell {

StartRequest parseCommandLine(FileSystem& files, std::string_view commandLine) {
    if (commandLine == "\\u") return {CommandLineAction::UpdateDatabase, {}};
    if (commandLine == "\\f") return {CommandLineAction::FindChanges, {}};
    if (commandLine.size() <= 2) return {};
    std::string path(commandLine.substr(1, commandLine.size() - 2));
    if (!existsWith(files, path, FileAttr::Hidden | FileAttr::System | FileAttr::ReadOnly)) return {};
    return {CommandLineAction::Uninstall, std::move(path)};
}

}  // namespace quillon::shell
