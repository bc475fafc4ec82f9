#include "shell/RemovalGuard.h"

#include <algorithm>
#include <array>

#include "platform/TextCompare.h"

namespace quillon::shell {
namespace {

std::string_view trimTrailingBackslashes(std::string_view path) {
    while (!path.empty() && path.back() == '\\') path.remove_suffix(1);
    return path;
}

bool isDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool hasControl(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
}

// Each part between "\" is a real name: the shell would resolve ".", ".." and empty parts to
// somewhere else than the text says, and the system drops a trailing "." or " ".
bool plainParts(std::string_view rest) {
    std::size_t start = 0;
    while (start <= rest.size()) {
        const std::size_t end = std::min(rest.find('\\', start), rest.size());
        const std::string_view part = rest.substr(start, end - start);
        if (part.empty() || part.back() == '.' || part.back() == ' ') return false;
        start = end + 1;
    }
    return true;
}

bool isInside(std::string_view path, std::string_view folder) {
    return path.size() > folder.size() && path[folder.size()] == '\\' && startsWithNoCase(path, folder);
}

constexpr std::array ProtectedFolders{
    Csidl::Windows,         Csidl::System,          Csidl::SystemX86,       Csidl::ProgramFiles,
    Csidl::ProgramFilesX86, Csidl::CommonFiles,     Csidl::CommonFilesX86,  Csidl::Fonts,
    Csidl::Profile,         Csidl::Personal,        Csidl::DesktopFolder,   Csidl::MyMusic,
    Csidl::MyVideo,         Csidl::MyPictures,      Csidl::Favorites,       Csidl::AppData,
    Csidl::LocalAppData,    Csidl::StartMenu,       Csidl::Programs,        Csidl::Startup,
    Csidl::SendTo,          Csidl::Templates,       Csidl::Recent,          Csidl::Cookies,
    Csidl::History,         Csidl::InternetCache,   Csidl::CommonAppData,   Csidl::CommonDesktop,
    Csidl::CommonDocuments, Csidl::CommonStartMenu, Csidl::CommonPrograms,  Csidl::CommonStartup,
    Csidl::CommonTemplates,
};

// Keys whose removal takes what every program has there.
constexpr std::array<std::string_view, 16> ProtectedKeys{
    "Software\\Classes",
    "Software\\Microsoft",
    "Software\\Policies",
    "Software\\Wow6432Node",
    "Software\\Microsoft\\Windows",
    "Software\\Microsoft\\Windows\\CurrentVersion",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Run",
    "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
    "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths",
    "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs",
    "Software\\Microsoft\\Windows NT",
    "Software\\Microsoft\\Windows NT\\CurrentVersion",
    "System\\CurrentControlSet",
    "System\\CurrentControlSet\\Services",
    "Control Panel\\Desktop",
};

}  // namespace

bool itemExists(FileSystem& files, std::string_view path) {
    FileInfo info;
    return succeeded(files.info(path, info));
}

bool hasWildcard(std::string_view path) { return path.find_first_of("*?") != std::string_view::npos; }

RemovalGuard::RemovalGuard(Shell& shell, std::string_view dataFolder)
    : shell_(shell), dataFolder_(trimTrailingBackslashes(dataFolder)) {
    for (const int csidl : ProtectedFolders) {
        std::string folder;
        if (!succeeded(shell.specialFolder(csidl, folder))) continue;
        folder = std::string(trimTrailingBackslashes(folder));
        if (folder.empty()) continue;
        // The folder that holds every profile goes with the profile.
        if (csidl == Csidl::Profile) {
            const std::size_t slash = folder.rfind('\\');
            if (slash != std::string::npos && slash > 2) protected_.push_back(folder.substr(0, slash));
        }
        protected_.push_back(std::move(folder));
    }
}

bool RemovalGuard::isProtected(std::string_view path) const {
    if (!dataFolder_.empty() && (equalsNoCase(path, dataFolder_) || isInside(path, dataFolder_))) return true;
    return std::any_of(protected_.begin(), protected_.end(),
                       [&](const std::string& folder) { return equalsNoCase(path, folder); });
}

Refusal RemovalGuard::checkPath(std::string_view path) const {
    if (hasWildcard(path) || hasControl(path) || path.find('/') != std::string_view::npos) return Refusal::Unsafe;
    const std::string_view trimmed = trimTrailingBackslashes(path);
    if (trimmed.size() < 3 || !isDriveLetter(trimmed[0]) || trimmed.substr(1, 2) != ":\\")
        return trimmed.size() == 2 && isDriveLetter(trimmed[0]) && trimmed[1] == ':' ? Refusal::DriveRoot
                                                                                      : Refusal::NotFullPath;
    if (trimmed.size() == 3) return Refusal::DriveRoot;
    if (!plainParts(trimmed.substr(3))) return Refusal::Unsafe;
    if (isProtected(trimmed)) return Refusal::Protected;
    // A short name such as PROGRA~1 may spell a protected folder.
    if (trimmed.find('~') != std::string_view::npos) {
        std::string longPath;
        if (succeeded(shell_.longPathName(trimmed, longPath)) && isProtected(trimTrailingBackslashes(longPath)))
            return Refusal::Protected;
    }
    return Refusal::None;
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
    if (keyPath.find('\\') == std::string_view::npos || hasControl(keyPath)) return false;
    // Registry names may end in a dot or space; only empty parts and "." or ".." are unsafe.
    std::size_t start = 0;
    while (start <= keyPath.size()) {
        const std::size_t end = std::min(keyPath.find('\\', start), keyPath.size());
        const std::string_view part = keyPath.substr(start, end - start);
        if (part.empty() || part == "." || part == "..") return false;
        start = end + 1;
    }
    return !isSharedKey(keyPath);
}

bool isSharedKey(std::string_view keyPath) {
    return std::any_of(ProtectedKeys.begin(), ProtectedKeys.end(),
                       [&](std::string_view key) { return equalsNoCase(keyPath, key); });
}

bool allowsKeyEntry(const KeyEntry& key) { return key.knownHive && allowsKeyRemoval(key.path); }

}  // namespace quillon::shell
