#include "review/RemovalSafety.h"

#include "platform/TextCompare.h"

namespace quillon::review {
namespace {

std::string_view trimTrailingBackslashes(std::string_view path) {
    while (!path.empty() && path.back() == '\\') path.remove_suffix(1);
    return path;
}

bool isDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Each part between "\" is a real name: the shell would resolve ".", ".." and empty parts
// to somewhere else than the text says.
bool plainParts(std::string_view rest) {
    std::size_t start = 0;
    while (start <= rest.size()) {
        const std::size_t end = std::min(rest.find('\\', start), rest.size());
        const std::string_view part = rest.substr(start, end - start);
        if (part.empty() || part == "." || part == "..") return false;
        start = end + 1;
    }
    return true;
}

}  // namespace

bool itemExists(FileSystem& files, std::string_view path) {
    FileInfo info;
    return succeeded(files.info(path, info));
}

bool hasWildcard(std::string_view path) { return path.find_first_of("*?") != std::string_view::npos; }

RemovalGuard::RemovalGuard(Shell& shell) : shell_(shell) {
    for (int csidl : {Csidl::Windows, Csidl::System, Csidl::ProgramFiles}) {
        std::string folder;
        if (!succeeded(shell.specialFolder(csidl, folder))) continue;
        folder = std::string(trimTrailingBackslashes(folder.c_str()));
        if (!folder.empty()) protected_.push_back(std::move(folder));
    }
}

bool RemovalGuard::isProtected(std::string_view path) const {
    for (const auto& folder : protected_)
        if (equalsNoCase(path, folder)) return true;
    return false;
}

bool RemovalGuard::allowsPath(std::string_view path) const {
    if (hasWildcard(path) || path.find('/') != std::string_view::npos) return false;
    const std::string_view trimmed = trimTrailingBackslashes(path);
    if (trimmed.size() < 4 || !isDriveLetter(trimmed[0]) || trimmed.substr(1, 2) != ":\\") return false;
    if (!plainParts(trimmed.substr(3))) return false;
    if (isProtected(trimmed)) return false;
    // A short name such as PROGRA~1 may spell a protected folder.
    if (trimmed.find('~') != std::string_view::npos) {
        std::string longPath;
        if (succeeded(shell_.longPathName(trimmed, longPath)) && isProtected(trimTrailingBackslashes(longPath)))
            return false;
    }
    return true;
}

KeyEntry parseKeyEntry(std::string_view entry) {
    const std::size_t slash = entry.find('\\');
    const std::string_view hiveName = entry.substr(0, slash);
    const std::string_view rest = slash == std::string_view::npos ? std::string_view() : entry.substr(slash + 1);
    const bool user = startsWithNoCase(hiveName, "HKEY_CURRENT_USER");
    const std::string_view exact = user ? "HKEY_CURRENT_USER" : "HKEY_LOCAL_MACHINE";
    return {user ? Hive::CurrentUser : Hive::LocalMachine, std::string(trimTrailingBackslashes(rest)),
            hiveName.size() == exact.size() && startsWithNoCase(hiveName, exact)};
}

bool allowsKeyRemoval(std::string_view keyPath) {
    const std::size_t slash = keyPath.find('\\');
    return slash != std::string_view::npos && plainParts(keyPath);
}

}  // namespace quillon::review
