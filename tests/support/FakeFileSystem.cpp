#include "support/FakeFileSystem.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

#include "platform/BufferedWriter.h"
#include "platform/LineReader.h"
#include "platform/TextCompare.h"

namespace quillon::fakes {

// Where a path leads: the entry when it exists, else why not.
struct FakeFileSystem::Lookup {
    Status status = Status::Ok;
    std::string key{};     // of the entry, or of the one the path would make
    std::string folder{};  // the key of the folder that holds it; empty for a root or a missing folder
    std::string leaf{};    // the last part as the path spells it
    std::shared_ptr<Entry> entry{};
};

namespace {

using Entry = FakeFileSystem::Entry;

// Names compare as the system compares them.
std::string key(std::string_view s) { return toLowerAnsi(s); }

struct ParsedPath {
    std::string root;      // "c:", empty when the path starts with no drive
    std::vector<std::string> parts;
    bool badName = false;  // a part holds a character no file name may hold
    bool trailingSeparator = false;
};

// Only a backslash separates: the program never writes "/" in a path.
ParsedPath parse(std::string_view s) {
    ParsedPath p;
    const bool drive = s.size() >= 2 && std::isalpha(static_cast<unsigned char>(s[0])) && s[1] == ':';
    if (!drive || (s.size() > 2 && s[2] != '\\')) return p;
    for (std::size_t i = 2, j = 2; i < s.size(); i = j) {
        while (i < s.size() && s[i] == '\\') ++i;
        for (j = i; j < s.size() && s[j] != '\\';) ++j;
        std::string_view part = s.substr(i, j - i);
        if (part == "..") {
            if (!p.parts.empty()) p.parts.pop_back();
        } else if (!part.empty() && part != ".") {
            // As Windows reads a path: the last part loses all its trailing dots and spaces,
            // any part followed by "\" one trailing dot.
            if (j == s.size()) {
                while (!part.empty() && (part.back() == '.' || part.back() == ' ')) part.remove_suffix(1);
            } else if (part.back() == '.') {
                part.remove_suffix(1);
            }
            if (!part.empty()) p.parts.emplace_back(part);
            if (part.find_first_of("*?\"<>|:") != std::string_view::npos) p.badName = true;
        }
    }
    p.root = {foldCase(s[0]), ':'};
    p.trailingSeparator = !p.parts.empty() && s.back() == '\\';
    return p;
}

// What the system stores for a requested set: Normal only alone, Directory only on folders.
std::uint32_t storedAttributes(bool folder, std::uint32_t requested) {
    const std::uint32_t a = requested & ~FileAttr::Directory;
    if (folder) return (a & ~FileAttr::Normal) | FileAttr::Directory;
    return (a & ~FileAttr::Normal) != 0 ? a & ~FileAttr::Normal : FileAttr::Normal;
}

FileInfo infoOf(const Entry& e, std::string name) {
    return {std::move(name), e.attributes, e.folder() ? 0 : e.reportedSize.value_or(e.content.size()), e.lastWrite,
            e.shortName};
}

// One open file: the source of a reader, or the sink of a writer, which counts until closed.
class OpenFile final : public ByteSource, public ByteSink {
public:
    OpenFile(std::shared_ptr<Entry> entry, std::optional<Status> failure, bool writer)
        : entry_(std::move(entry)), failure_(failure) {
        entry_->writers += writer ? 1 : 0;
    }

    Status read(char* buffer, std::size_t capacity, std::size_t& got) override {
        got = 0;
        if (failure_) return *failure_;
        got = entry_->content.copy(buffer, capacity, std::min(offset_, entry_->content.size()));
        offset_ += got;
        return Status::Ok;
    }

    Status seek(std::uint64_t offset) override {
        offset_ = static_cast<std::size_t>(offset);
        return Status::Ok;
    }

    Status write(std::string_view bytes) override {
        if (failure_) return *failure_;
        entry_->content.append(bytes);
        return Status::Ok;
    }

    Status close() override {  // a writer's, once
        --entry_->writers;
        return failure_.value_or(Status::Ok);
    }

private:
    std::shared_ptr<Entry> entry_;
    std::optional<Status> failure_;
    std::size_t offset_ = 0;
};

class SnapshotListing final : public DirectoryListing {
public:
    SnapshotListing(std::vector<FileInfo> entries, Status end) : entries_(std::move(entries)), end_(end) {}
    bool next(FileInfo& entry) override {
        if (next_ == entries_.size()) return false;
        entry = entries_[next_++];
        return true;
    }
    // A listing is over, normally or not, once its last entry has gone out.
    Status status() const override { return next_ == entries_.size() ? end_ : Status::Ok; }

private:
    std::vector<FileInfo> entries_;
    Status end_;
    std::size_t next_ = 0;
};

std::optional<Status> injectedFailure(const std::vector<std::pair<std::string, Status>>& rules,
                                      std::string_view path) {
    const std::string p = key(path);
    for (const auto& [prefix, status] : rules)
        if (p.starts_with(prefix)) return status;
    return std::nullopt;
}

}  // namespace

FakeFileSystem::Lookup FakeFileSystem::find(std::string_view path) const {
    const ParsedPath p = parse(path);
    if (!drives_.contains(p.root)) return {.status = Status::PathNotFound};
    if (p.badName) return {.status = Status::InvalidName};
    Lookup r{.key = p.root};
    for (std::size_t i = 0; i < p.parts.size(); ++i) {
        r.folder = r.key;
        r.key += "\\" + key(p.parts[i]);
        if (i + 1 == p.parts.size()) break;
        const auto e = get(r.key);
        if (e && !e->junctionTo.empty()) r.key = e->junctionTo;
        if (!e || !e->folder() || !entries_.contains(r.key)) return {.status = Status::PathNotFound};
    }
    r.entry = get(r.key);
    if (r.entry && p.trailingSeparator && !r.entry->folder()) return {.status = Status::PathNotFound};  // "file.txt\"
    if (!r.entry) r.status = Status::FileNotFound;
    if (!p.parts.empty()) r.leaf = p.parts.back();
    return r;
}

std::shared_ptr<Entry> FakeFileSystem::get(const std::string& key) const {
    const auto it = entries_.find(key);
    return it == entries_.end() ? nullptr : it->second;
}

Entry& FakeFileSystem::existing(std::string_view path) const {
    const Lookup l = find(path);
    if (!l.entry) throw std::invalid_argument("FakeFileSystem: nothing at " + std::string(path));
    return *l.entry;
}

std::string FakeFileSystem::ensureFolder(std::string_view path) {
    const ParsedPath p = parse(path);
    if (p.root.empty() || p.badName) throw std::invalid_argument("FakeFileSystem: bad path " + std::string(path));
    if (!drives_.contains(p.root)) addDrive(p.root[0]);
    std::string at = p.root;
    for (const auto& part : p.parts) {
        at += "\\" + key(part);
        const auto e = entries_.contains(at) ? get(at) : add(at, part, FileAttr::Directory);
        if (!e->folder()) throw std::invalid_argument("FakeFileSystem: a file is in the way of " + std::string(path));
        if (!e->junctionTo.empty()) at = e->junctionTo;
    }
    return at;
}

std::shared_ptr<Entry> FakeFileSystem::add(const std::string& key, std::string name, std::uint32_t attributes) {
    const bool folder = attributes & FileAttr::Directory;
    return entries_[key] = std::make_shared<Entry>(Entry{.name = std::move(name),
                                                         .attributes = storedAttributes(folder, attributes),
                                                         .lastWrite = now_,
                                                         .order = ++made_});
}

std::vector<std::shared_ptr<Entry>> FakeFileSystem::children(const std::string& folderKey) const {
    std::vector<std::shared_ptr<Entry>> found;
    const std::string prefix = folderKey + "\\";
    for (auto it = entries_.lower_bound(prefix); it != entries_.end() && it->first.starts_with(prefix); ++it)
        if (it->first.find('\\', prefix.size()) == std::string::npos) found.push_back(it->second);
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a->order < b->order; });
    return found;
}

void FakeFileSystem::addDrive(char letter, std::uint32_t driveType, std::string label) {
    const std::string root = {foldCase(letter), ':'};
    drives_[root] = {driveType, std::move(label)};
    if (!entries_.contains(root))
        add(root, {static_cast<char>(std::toupper(static_cast<unsigned char>(letter))), ':'}, FileAttr::Directory);
}

void FakeFileSystem::addFolder(std::string_view path, std::uint32_t attributes) {
    get(ensureFolder(path))->attributes = storedAttributes(true, attributes);
}

void FakeFileSystem::addFile(std::string_view path, std::string_view content, std::uint32_t attributes,
                             DateTime lastWrite) {
    ensureFolder(path.substr(0, path.rfind('\\') + 1));
    const Lookup l = find(path);
    if (l.folder.empty() || (l.entry && l.entry->folder()))
        throw std::invalid_argument("FakeFileSystem: no file can be at " + std::string(path));
    const auto e = l.entry ? l.entry : add(l.key, l.leaf, 0);
    e->attributes = storedAttributes(false, attributes);
    e->content = std::string(content);
    e->reportedSize.reset();
    e->lastWrite = lastWrite == DateTime{} ? now_ : lastWrite;
}

void FakeFileSystem::addJunction(std::string_view path, std::string_view target) {
    const Lookup to = find(target);
    const Lookup l = find(path);
    if (!to.entry || !to.entry->folder() || l.entry || l.folder.empty())
        throw std::invalid_argument("FakeFileSystem: no junction to " + std::string(target) + " can be at " +
                                    std::string(path));
    add(l.key, l.leaf, FileAttr::Directory | FileAttr::ReparsePoint)->junctionTo = to.key;
}

// Keyed by the short name, so that only it reaches the entry; without one, by a key no path gives.
void FakeFileSystem::addOutsideCodePage(std::string_view folder, std::string listedName, std::string shortName,
                                        bool isFolder) {
    const std::string unique = shortName.empty() ? listedName + std::to_string(made_) : shortName;
    const std::string at = ensureFolder(folder) + "\\" + key(unique);
    add(at, std::move(listedName), isFolder ? FileAttr::Directory : FileAttr::Archive)->shortName = std::move(shortName);
}

void FakeFileSystem::failWritesUnder(std::string_view prefix, Status s) { failingWrites_.emplace_back(key(prefix), s); }

void FakeFileSystem::failReadsUnder(std::string_view prefix, Status s) { failingReads_.emplace_back(key(prefix), s); }

void FakeFileSystem::failMovesTo(std::string_view prefix, Status s) { failingMoves_.emplace_back(key(prefix), s); }

bool FakeFileSystem::exists(std::string_view path) const { return find(path).entry != nullptr; }

std::optional<std::string> FakeFileSystem::content(std::string_view path) const {
    const auto e = find(path).entry;
    return e && !e->folder() ? std::optional(e->content) : std::nullopt;
}

std::optional<std::uint32_t> FakeFileSystem::attributes(std::string_view path) const {
    const auto e = find(path).entry;
    return e ? std::optional(e->attributes) : std::nullopt;
}

std::vector<std::string> FakeFileSystem::childNames(std::string_view folder) const {
    std::vector<std::string> names;
    for (const auto& e : children(find(folder).key)) names.push_back(e->name);
    return names;
}

Status FakeFileSystem::list(std::string_view pattern, std::unique_ptr<DirectoryListing>& out) {
    out.reset();
    const std::size_t cut = pattern.rfind('\\');
    if (cut == std::string_view::npos) return Status::PathNotFound;
    // The program lists with these masks only; any other is refused so that a test notices.
    const std::string_view mask = pattern.substr(cut + 1);
    if (mask != "*" && mask != "*.*") return Status::InvalidName;
    const Lookup l = find(pattern.substr(0, cut + 1));
    if (l.status == Status::InvalidName) return l.status;
    const std::string at = l.entry && !l.entry->junctionTo.empty() ? l.entry->junctionTo : l.key;
    const auto folder = get(at);
    if (!folder || !folder->folder()) return Status::PathNotFound;
    if (folder->refusesListing) return Status::AccessDenied;

    std::vector<FileInfo> entries;
    if (!l.folder.empty()) entries = {infoOf(*folder, "."), infoOf(*get(l.folder), "..")};
    for (const auto& e : children(at)) entries.push_back(infoOf(*e, e->name));
    if (entries.empty()) return Status::FileNotFound;
    Status end = Status::Ok;
    if (folder->listingBreaksOff && folder->listingBreaksOff->first < entries.size()) {
        entries.resize(folder->listingBreaksOff->first);
        end = folder->listingBreaksOff->second;
    }
    out = std::make_unique<SnapshotListing>(std::move(entries), end);
    return Status::Ok;
}

Status FakeFileSystem::info(std::string_view path, FileInfo& out) {
    const Lookup l = find(path);
    if (!l.entry) return l.status;
    out = infoOf(*l.entry, l.folder.empty() ? l.entry->name + "\\" : l.entry->name);
    return Status::Ok;
}

Status FakeFileSystem::setAttributes(std::string_view path, std::uint32_t attributes) {
    const Lookup l = find(path);
    if (!l.entry) return l.status;
    l.entry->attributes =
        storedAttributes(l.entry->folder(), attributes | (l.entry->attributes & FileAttr::ReparsePoint));
    return Status::Ok;
}

Status FakeFileSystem::openExclusive(std::string_view path) {
    const Lookup l = find(path);
    if (!l.entry) return l.status;
    if (l.entry->folder()) return Status::AccessDenied;
    return l.entry->held || l.entry->writers > 0 ? Status::SharingViolation : Status::Ok;
}

Status FakeFileSystem::openRead(std::string_view path, std::unique_ptr<TextReader>& out) {
    out.reset();
    const Lookup l = find(path);
    if (!l.entry) return l.status;
    if (l.entry->folder()) return Status::AccessDenied;
    if (l.entry->held) return Status::SharingViolation;
    out = std::make_unique<LineReader>(
        std::make_unique<OpenFile>(l.entry, injectedFailure(failingReads_, path), false));
    return Status::Ok;
}

Status FakeFileSystem::openWrite(std::string_view path, WriteMode mode, std::unique_ptr<TextWriter>& out) {
    out.reset();
    const Lookup l = find(path);
    if (!l.entry && l.folder.empty()) return l.status;
    const auto entry = l.entry ? l.entry : add(l.key, l.leaf, FileAttr::Archive);
    if (entry->folder() || (entry->attributes & FileAttr::ReadOnly)) return Status::AccessDenied;
    // Replacing a hidden or system file needs its attributes named again; we never do.
    if (mode == WriteMode::Create && (entry->attributes & (FileAttr::Hidden | FileAttr::System)))
        return Status::AccessDenied;
    if (mode == WriteMode::Create) entry->content.clear();
    entry->reportedSize.reset();
    entry->lastWrite = now_;
    // Unbuffered, so that an injected failure shows at the write that meets it.
    out = std::make_unique<BufferedWriter>(
        std::make_unique<OpenFile>(entry, injectedFailure(failingWrites_, path), true), 0);
    return Status::Ok;
}

Status FakeFileSystem::copyFile(std::string_view from, std::string_view to, bool replace) {
    const Lookup src = find(from);
    const Lookup dst = find(to);
    if (!src.entry) return src.status;
    if (src.entry->folder()) return Status::AccessDenied;
    if (src.entry->held) return Status::SharingViolation;
    if (const auto failure = injectedFailure(failingReads_, from)) return *failure;
    if (const auto failure = injectedFailure(failingWrites_, to)) return *failure;
    if (!dst.entry && dst.folder.empty()) return dst.status;
    if (dst.entry && !replace) return Status::FileExists;
    auto copy = std::make_shared<Entry>(*src.entry);
    copy->name = dst.entry ? dst.entry->name : dst.leaf;
    copy->order = dst.entry ? dst.entry->order : ++made_;
    copy->shortName.clear();
    copy->writers = 0;
    entries_[dst.key] = std::move(copy);
    return Status::Ok;
}

// Files only: the program moves folders through the shell, which moves what they hold.
Status FakeFileSystem::moveFile(std::string_view from, std::string_view to, bool replace) {
    const Lookup src = find(from);
    if (!src.entry) return src.status;
    if (src.entry->folder()) return Status::AccessDenied;
    if (const auto failure = injectedFailure(failingMoves_, to)) return *failure;
    const Lookup dst = find(to);
    if (!dst.entry && dst.folder.empty()) return dst.status;
    if (dst.entry && dst.entry != src.entry) {
        if (!replace) return Status::AlreadyExists;
        if (dst.entry->folder() || (dst.entry->attributes & FileAttr::ReadOnly) || dst.entry->held)
            return Status::AccessDenied;
    }
    entries_.erase(src.key);
    src.entry->name = dst.leaf;
    src.entry->order = ++made_;
    entries_[dst.key] = src.entry;
    return Status::Ok;
}

Status FakeFileSystem::deleteFile(std::string_view path) {
    const Lookup l = find(path);
    if (!l.entry) return l.status;
    if (l.entry->folder() || (l.entry->attributes & FileAttr::ReadOnly)) return Status::AccessDenied;
    entries_.erase(l.key);
    return Status::Ok;
}

Status FakeFileSystem::createFolder(std::string_view path) {
    const Lookup l = find(path);
    if (l.entry) return Status::AlreadyExists;
    if (l.folder.empty()) return l.status;
    add(l.key, l.leaf, FileAttr::Directory);
    return Status::Ok;
}

Status FakeFileSystem::removeFolder(std::string_view path) {
    const Lookup l = find(path);
    if (!l.entry) return l.status;
    if (!l.entry->folder() || l.folder.empty() || (l.entry->attributes & FileAttr::ReadOnly))
        return Status::AccessDenied;
    if (!children(l.key).empty()) return Status::DirNotEmpty;
    entries_.erase(l.key);
    return Status::Ok;
}

std::uint32_t FakeFileSystem::driveType(std::string_view root) {
    const ParsedPath p = parse(root);
    const auto d = p.parts.empty() ? drives_.find(p.root) : drives_.end();
    return d != drives_.end() ? d->second.first : DriveType::NoRootDir;
}

Status FakeFileSystem::volumeLabel(std::string_view root, std::string& label) {
    const ParsedPath p = parse(root);
    const auto d = p.parts.empty() ? drives_.find(p.root) : drives_.end();
    if (d == drives_.end()) return Status::PathNotFound;
    label = d->second.second;
    return Status::Ok;
}

}  // namespace quillon::fakes
