#include "shell/CommandLine.h"

namespace quillon::shell {

namespace {

// A path typed without quotes keeps its blanks: the whole tail is the path.
std::string_view unquoted(std::string_view text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') return text.substr(1, text.size() - 2);
    return text;
}

}  // namespace

StartRequest parseCommandLine(FileSystem& files, std::string_view commandLine) {
    if (commandLine == "\\u") return {CommandLineAction::UpdateDatabase, {}};
    if (commandLine == "\\f") return {CommandLineAction::FindChanges, {}};
    std::string path(unquoted(commandLine));
    if (path.empty() || !existsWith(files, path, FileAttr::Hidden | FileAttr::System | FileAttr::ReadOnly)) return {};
    return {CommandLineAction::Uninstall, std::move(path)};
}

}  // namespace quillon::shell
