#include "shell/Folders.h"

#include <memory>

#include "shell/Settings.h"
#include "shell/TreeWalk.h"

namespace quillon::shell {

std::string withBackslash(std::string_view folder) {
    std::string out(folder);
    if (out.empty() || out.back() != '\\') out += '\\';
    return out;
}

namespace {

std::string cutAtNul(std::string text) {
    const auto nul = text.find('\0');
    if (nul != std::string::npos) text.resize(nul);
    return text;
}

}  // namespace

std::string specialFolder(Shell& shell, int csidl) {
    std::string path;
    if (!succeeded(shell.specialFolder(csidl, path))) path.clear();
    return withBackslash(cutAtNul(std::move(path)));
}

std::string historyFolder(Shell& shell, Desktop& desktop) {
    return desktop.isNtFamily() ? specialFolder(shell, Csidl::History) : std::string();
}

std::string windowsRoot(Shell& shell) {
    return specialFolder(shell, Csidl::Windows).substr(0, 3);
}

std::string temporaryFolder(Shell& shell) {
    std::string shortForm;
    if (!succeeded(shell.tempPath(shortForm))) shortForm.clear();
    shortForm = withBackslash(cutAtNul(std::move(shortForm)));
    std::string longForm;
    if (!succeeded(shell.longPathName(shortForm, longForm))) return shortForm;
    longForm = cutAtNul(std::move(longForm));
    return longForm.empty() ? shortForm : withBackslash(longForm);
}

std::string browserCacheFolders(FileSystem& files, std::string_view programFilesFolder) {
    // One folder per profile; a linked profile folder is left out, or its cache would be
    // scanned (and cleaned) through the link.
    struct Profiles final : WalkRules {
        WalkStep handOn(const std::string& users, const FileInfo& profile) {
            result.append(users).append(profile.name).append("\\cache\\") += settings::ListSeparator;
            return WalkStep::Skip;
        }
        std::string result;
    } profiles;
    // One folder's listing: nothing to yield for.
    struct NoYield final : RunContext {
        void yield() override {}
        bool stopRequested() const override { return false; }
    } run;
    const WalkOptions options{WalkOrder::ListingOrder, YieldAt::Never, false, HandOn::Folders};
    (void)walkTree(files, run, std::string(programFilesFolder) + "Netscape\\Users\\", options, profiles);
    return profiles.result;
}

std::string chooseWorkFolder(FileSystem& files, std::string_view root, std::string_view tempFolder) {
    const std::string probe = std::string(root) + "~quillon.probe";
    std::unique_ptr<TextWriter> writer;
    if (succeeded(files.openWrite(probe, WriteMode::Create, writer))) {
        const bool written = succeeded(writer->close());
        writer.reset();
        const bool removed = succeeded(files.deleteFile(probe));
        if (written && removed) return std::string(root);
    }
    return std::string(tempFolder);
}

bool folderExists(FileSystem& files, std::string_view path) {
    std::string_view folder = path;
    if (folder.size() > 3 && folder.back() == '\\') folder.remove_suffix(1);
    if (folder.size() == 3 && folder[1] == ':' && folder[2] == '\\')
        return files.driveType(folder) > DriveType::NoRootDir;
    if (folder.size() == 2 && folder[1] == ':') return files.driveType(std::string(folder) + "\\") > DriveType::NoRootDir;
    FileInfo info;
    return succeeded(files.info(folder, info)) && (info.attributes & FileAttr::Directory);
}

std::string nameOf(std::string_view path) {
    while (path.ends_with('\\')) path.remove_suffix(1);
    const std::size_t slash = path.rfind('\\');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string programFolder(Desktop& desktop) {
    const std::string path = desktop.programPath();
    const auto slash = path.rfind('\\');
    return slash == std::string::npos ? std::string("\\") : path.substr(0, slash + 1);
}

}  // namespace quillon::shell
