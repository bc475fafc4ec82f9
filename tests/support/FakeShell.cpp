#include "support/FakeShell.h"

#include <algorithm>

#include "platform/TextCompare.h"
#include "platform/Utf16.h"

namespace quillon::fakes {

namespace {

constexpr int GenericFileIcon = 0;
constexpr int FolderIcon = 3;

// "C:\Dir\" names the folder "C:\Dir"; a drive root keeps its "\".
std::string withoutBackslash(std::string_view path) {
    std::string p(path);
    while (p.size() > 3 && p.back() == '\\') p.pop_back();
    return p;
}

std::string nameOf(std::string_view path) {
    const auto slash = path.rfind('\\');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string parentOf(std::string_view path) {
    const auto slash = path.rfind('\\');
    if (slash == std::string_view::npos) return {};
    return std::string(path.substr(0, slash == 2 ? 3 : slash));  // "C:\x" -> "C:\"
}

std::string join(std::string_view folder, std::string_view name) {
    std::string out(folder);
    if (!out.ends_with('\\')) out += '\\';
    return out + std::string(name);
}

// A drive path or a UNC path must exist; anything else (a URL, a program found on the
// search path) is the system's business.
bool namesAFile(std::string_view file) {
    return (file.size() >= 3 && file[1] == ':' && file[2] == '\\') || file.starts_with("\\\\");
}

// The UTF-16 units of UTF-8 text.
std::size_t utf16Length(std::string_view text) { return utf16leBytes(text).size() / 2; }

// "?" matches one character and "*" any run, without regard to case, as the shell matches.
bool matches(std::string_view name, std::string_view mask) {
    if (mask.empty()) return name.empty();
    std::size_t inName = 0;
    if (mask[0] == '*')
        return matches(name, mask.substr(1)) || (!name.empty() && (nextCodePoint(name, inName), matches(name.substr(inName), mask)));
    if (name.empty()) return false;
    std::size_t inMask = 0;
    const char32_t wanted = nextCodePoint(mask, inMask);
    const char32_t found = nextCodePoint(name, inName);
    return (wanted == '?' || upperCase(wanted) == upperCase(found)) &&
           matches(name.substr(inName), mask.substr(inMask));
}

}  // namespace

void FakeShell::setTempPath(std::string shortForm, std::string longForm) {
    shortToLong_.emplace_back(withoutBackslash(shortForm), withoutBackslash(longForm));
    tempShort_ = std::move(shortForm);
}

Status FakeShell::specialFolder(int csidl, std::string& path) {
    const auto it = folders_.find(csidl);
    if (it == folders_.end()) return Status::FileNotFound;
    path = it->second;
    return Status::Ok;
}

Status FakeShell::longPathName(std::string_view path, std::string& longPath) {
    std::string result(path);
    for (const auto& [shortForm, longForm] : shortToLong_) {
        if (startsWithNoCase(path, shortForm) &&
            (path.size() == shortForm.size() || path[shortForm.size()] == '\\')) {
            result = longForm + std::string(path.substr(shortForm.size()));
            break;
        }
    }
    if (!files_.exists(withoutBackslash(result))) return Status::FileNotFound;
    longPath = std::move(result);
    return Status::Ok;
}

bool FakeShell::isFolder(const std::string& path) const {
    const auto attributes = files_.attributes(path);
    return attributes && (*attributes & FileAttr::Directory);
}

// Folders are emptied in listing order; the first item that cannot go ends the deletion and
// leaves it and whatever was not reached yet.
Status FakeShell::removeItem(const std::string& path) {
    if (!files_.exists(path)) return Status::FileNotFound;
    // A junction or symbolic link goes as a link: what it leads to stays.
    if (const auto attributes = files_.attributes(path); attributes && (*attributes & FileAttr::ReparsePoint))
        return files_.removeFolder(path);
    if (isFolder(path)) {
        for (const auto& child : files_.childNames(path))
            if (const Status s = removeItem(join(path, child)); !succeeded(s)) return s;
        return files_.removeFolder(path);
    }
    if (files_.openExclusive(path) == Status::SharingViolation) return Status::SharingViolation;
    // The shell deletes read-only files without complaint once confirmation is off.
    if (const auto attributes = files_.attributes(path); attributes && (*attributes & FileAttr::ReadOnly))
        static_cast<void>(files_.setAttributes(path, *attributes & ~FileAttr::ReadOnly));  // best effort: the attributes are not what the data depends on
    return files_.deleteFile(path);
}

// A folder is copied or moved item by item, and a moved one goes once it is empty.
Status FakeShell::transferItem(const std::string& from, const std::string& to, bool move) {
    if (!isFolder(from)) return move ? files_.moveFile(from, to, true) : files_.copyFile(from, to, true);
    if (!files_.exists(to)) files_.addFolder(to);
    for (const auto& child : files_.childNames(from))
        if (const Status s = transferItem(join(from, child), join(to, child), move); !succeeded(s)) return s;
    return move ? files_.removeFolder(from) : Status::Ok;
}

// Copy, move and rename. The destination is a folder to put the items in when it ends in
// "\", already is a folder, or receives several items; otherwise it is the new path of the
// one item. Missing folders on the way are created; an existing file is replaced.
Status FakeShell::transfer(const FileOperation& op) {
    const std::string to = withoutBackslash(op.to);
    const bool intoFolder = op.kind != FileOpKind::Rename &&
                            (op.to.ends_with('\\') || isFolder(to) || op.from.size() > 1);
    for (const auto& item : op.from) {
        const std::string from = withoutBackslash(item);
        if (!files_.exists(from)) return Status::FileNotFound;
        const std::string target = intoFolder ? join(to, nameOf(from)) : to;
        const std::string parent = parentOf(target);
        if (!parent.empty() && !files_.exists(parent)) files_.addFolder(parent);
        if (const Status s = transferItem(from, target, op.kind != FileOpKind::Copy); !succeeded(s)) return s;
    }
    return Status::Ok;
}

// What the shell makes of the paths it is handed: each ends at its first NUL, and what follows
// is read as one more path; a wildcard in the last part stands for every entry it matches.
std::vector<std::string> FakeShell::expand(const FileOperation& op) const {
    std::vector<std::string> paths;
    for (const auto& item : op.from) {
        std::size_t start = 0;
        while (start < item.size()) {
            const std::size_t end = std::min(item.find('\0', start), item.size());
            const std::string path = withoutBackslash(item.substr(start, end - start));
            start = end + 1;
            if (path.empty()) continue;
            const std::string mask = nameOf(path);
            if (mask.find_first_of("*?") == std::string::npos) {
                paths.push_back(path);
                continue;
            }
            const std::string parent = parentOf(path);
            for (const auto& child : files_.childNames(parent))
                if (matches(child, mask) && !((op.flags & FileOpFlag::FilesOnly) && isFolder(join(parent, child))))
                    paths.push_back(join(parent, child));
        }
    }
    return paths;
}

FileOpResult FakeShell::fileOperation(const FileOperation& op) {
    operations_.push_back(op);
    if (std::exchange(cancelNext_, false)) return {Status::Cancelled, true};
    constexpr std::size_t maxPath = 260;
    if (utf16Length(op.to) >= maxPath ||
        std::any_of(op.from.begin(), op.from.end(), [](const auto& p) { return utf16Length(p) >= maxPath; }))
        return {Status::PathTooLong, false};

    FileOperation expanded = op;
    expanded.from = expand(op);
    if (op.kind != FileOpKind::Delete) return {transfer(expanded), false};
    // Items go one after the other; the first failure ends the operation.
    for (const auto& path : expanded.from) {
        FileInfo info;
        if ((op.flags & FileOpFlag::AllowUndo) && recycleBinLimit_ && succeeded(files_.info(path, info)) &&
            info.size > *recycleBinLimit_) {
            // Too large for the Recycle Bin: the shell asks first (the fake user says no), or
            // without that flag destroys it.
            if (op.flags & FileOpFlag::WantNukeWarning) return {Status::Cancelled, true};
            if (const Status s = removeItem(path); !succeeded(s)) return {s, false};
            continue;
        }
        if (const Status s = removeItem(path); !succeeded(s)) return {s, false};
        if (op.flags & FileOpFlag::AllowUndo) recycled_.push_back(path);
    }
    return {};
}

Status FakeShell::execute(WindowRef, std::string_view, std::string_view file, std::string_view, std::string_view,
                          int) {
    return namesAFile(file) && !files_.exists(withoutBackslash(file)) ? Status::FileNotFound : Status::Ok;
}

Status FakeShell::fileType(std::string_view path, FileTypeInfo& out) {
    const std::string p = withoutBackslash(path);
    if (!files_.exists(p)) return Status::FileNotFound;
    out = isFolder(p) ? FileTypeInfo{"File Folder", FolderIcon} : FileTypeInfo{"File", GenericFileIcon};
    return Status::Ok;
}

}  // namespace quillon::fakes
