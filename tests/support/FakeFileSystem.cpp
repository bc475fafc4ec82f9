#include "support/FakeFileSystem.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <unordered_set>

#include "platform/BufferedWriter.h"
#include "platform/LineReader.h"
#include "platform/TextCompare.h"

namespace quillon::fakes {

struct FakeFileSystem::Node {
    std::string name;
    std::string shortName;  // the 8.3 alias, empty when there is none
    bool folder = false;
    std::uint32_t attributes = 0;
    DateTime lastWrite;

    std::string content;
    std::optional<std::uint64_t> reportedSize;

    // Open handles, each kind with the access and sharing the Win32 adapter uses.
    int readers = 0;   // read, sharing read and write
    int writers = 0;   // write, sharing read
    bool held = false; // another program, sharing nothing

    std::vector<std::shared_ptr<Node>> children;  // creation order
    std::vector<std::string> listingOrder;
    bool refusesListing = false;
    // A listing gives this many entries ("." and ".." included), then breaks off with the status.
    std::optional<std::pair<std::size_t, Status>> listingBreaksOff;
    // A junction: paths through it, and its listing, lead to the target.
    bool junction = false;
    std::weak_ptr<Node> junctionTarget;
};

struct FakeFileSystem::Drive {
    char letter = 0;
    std::uint32_t type = DriveType::Fixed;
    std::string label;
    std::shared_ptr<Node> root;
};

// Where a path leads: the node when it exists, else why not; the folder that holds (or
// would hold) its last part.
struct FakeFileSystem::Lookup {
    Status status = Status::Ok;
    Drive* drive = nullptr;
    Node* parent = nullptr;
    std::shared_ptr<Node> node;
    std::string leaf;
    std::vector<std::string> keys;  // every part, case folded
};

namespace {

using Node = FakeFileSystem::Node;

namespace Access {
constexpr unsigned Read = 1;
constexpr unsigned Write = 2;
constexpr unsigned Delete = 4;
}  // namespace Access

char upperChar(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Names compare as the system compares them.
std::string key(std::string_view s) { return toLowerAnsi(s); }

// Only a backslash separates: the program never writes "/" in a path.
bool isSeparator(char c) { return c == '\\'; }

struct ParsedPath {
    bool valid = false;
    bool badName = false;  // a part holds a character no file name may hold
    char drive = 0;
    std::vector<std::string> parts;
    bool trailingSeparator = false;
};

ParsedPath parse(std::string_view s) {
    ParsedPath p;
    const bool letter = s.size() >= 2 && ((s[0] >= 'A' && s[0] <= 'Z') || (s[0] >= 'a' && s[0] <= 'z'));
    if (!letter || s[1] != ':' || (s.size() > 2 && !isSeparator(s[2]))) return p;
    p.drive = upperChar(s[0]);
    std::size_t i = 2;
    while (i < s.size()) {
        while (i < s.size() && isSeparator(s[i])) ++i;
        std::size_t j = i;
        while (j < s.size() && !isSeparator(s[j])) ++j;
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
        i = j;
    }
    p.trailingSeparator = !p.parts.empty() && isSeparator(s.back());
    p.valid = true;
    return p;
}

constexpr std::uint32_t settableAttributes = FileAttr::ReadOnly | FileAttr::Hidden | FileAttr::System |
                                             FileAttr::Archive | FileAttr::Normal | 0x100 | 0x1000 | 0x2000;

// What the system stores for a requested set: Normal only alone, Directory only on folders.
std::uint32_t storedAttributes(bool folder, std::uint32_t requested, std::uint32_t alsoKept = 0) {
    std::uint32_t a = requested & (settableAttributes | alsoKept);
    if (folder) return (a & ~FileAttr::Normal) | FileAttr::Directory;
    if (a & ~FileAttr::Normal) a &= ~FileAttr::Normal;
    return a != 0 ? a : FileAttr::Normal;
}

bool isOpen(const Node& n) { return n.held || n.readers > 0 || n.writers > 0; }

bool anyOpenBelow(const Node& n) {
    return isOpen(n) || std::any_of(n.children.begin(), n.children.end(),
                                    [](const auto& c) { return anyOpenBelow(*c); });
}

// Whether an open with this access and sharing is refused by the handles already open.
bool sharingConflict(const Node& n, unsigned access, unsigned share) {
    const auto clash = [&](unsigned openAccess, unsigned openShare) {
        return (access & ~openShare) != 0 || (openAccess & ~share) != 0;
    };
    return n.held || (n.readers > 0 && clash(Access::Read, Access::Read | Access::Write)) ||
           (n.writers > 0 && clash(Access::Write, Access::Read));
}

std::shared_ptr<Node> newNode(std::string name, bool folder, std::uint32_t attributes, DateTime when) {
    auto n = std::make_shared<Node>();
    n->name = std::move(name);
    n->folder = folder;
    n->attributes = storedAttributes(folder, attributes, FileAttr::ReparsePoint);
    n->lastWrite = when;
    return n;
}

std::shared_ptr<Node> childOf(const Node& folder, std::string_view name) {
    const std::string k = key(name);
    for (const auto& c : folder.children)
        if (key(c->name) == k || (!c->shortName.empty() && key(c->shortName) == k)) return c;
    return nullptr;
}

// Where a path through the node leads: a junction's target, or the node itself. Null for a
// junction whose target is gone.
std::shared_ptr<Node> through(const std::shared_ptr<Node>& node) {
    if (!node || !node->junction) return node;
    return node->junctionTarget.lock();
}

void attach(Node& folder, std::shared_ptr<Node> child) { folder.children.push_back(std::move(child)); }

void detach(Node& folder, const Node& child) {
    std::erase_if(folder.children, [&child](const auto& c) { return c.get() == &child; });
}

std::vector<const Node*> listingOrder(const Node& folder) {
    std::vector<const Node*> out;
    out.reserve(folder.children.size());
    std::unordered_set<const Node*> placed;
    for (const auto& name : folder.listingOrder) {
        const auto c = childOf(folder, name);
        if (c && placed.insert(c.get()).second) out.push_back(c.get());
    }
    for (const auto& c : folder.children)
        if (placed.empty() || !placed.contains(c.get())) out.push_back(c.get());
    return out;
}

FileInfo entryOf(const Node& n, std::string name) {
    return {std::move(name), n.attributes, n.folder ? 0 : n.reportedSize.value_or(n.content.size()), n.lastWrite,
            n.shortName};
}

// Keeps the node counted as open while the handle lives.
class OpenMark {
public:
    OpenMark(std::shared_ptr<Node> node, int Node::*counter) : node_(std::move(node)), counter_(counter) {
        ++((*node_).*counter_);
    }
    OpenMark(const OpenMark&) = delete;
    OpenMark& operator=(const OpenMark&) = delete;
    ~OpenMark() { --((*node_).*counter_); }

private:
    std::shared_ptr<Node> node_;
    int Node::*counter_;
};

class NodeSource final : public ByteSource {
public:
    NodeSource(const std::shared_ptr<Node>& node, std::optional<Status> failure)
        : node_(node), mark_(node, &Node::readers), failure_(failure) {}

    Status read(char* buffer, std::size_t capacity, std::size_t& got) override {
        got = 0;
        if (failure_) return *failure_;
        const std::string& c = node_->content;
        got = offset_ < c.size() ? std::min(capacity, c.size() - offset_) : 0;
        if (got > 0) std::memcpy(buffer, c.data() + offset_, got);
        offset_ += got;
        return Status::Ok;
    }

    Status seek(std::uint64_t offset) override {
        offset_ = static_cast<std::size_t>(offset);
        return Status::Ok;
    }

private:
    std::shared_ptr<Node> node_;
    OpenMark mark_;
    std::optional<Status> failure_;
    std::size_t offset_ = 0;
};

class NodeSink final : public ByteSink {
public:
    NodeSink(const std::shared_ptr<Node>& node, DateTime now, std::optional<Status> failure)
        : node_(node), now_(now), failure_(failure) {
        mark_.emplace(node, &Node::writers);
    }

    Status write(std::string_view bytes) override {
        if (failure_) return *failure_;
        node_->content.append(bytes);
        node_->reportedSize.reset();
        node_->lastWrite = now_;
        node_->attributes = storedAttributes(false, node_->attributes | FileAttr::Archive);
        return Status::Ok;
    }

    Status close() override {
        mark_.reset();
        return failure_.value_or(Status::Ok);
    }

private:
    std::shared_ptr<Node> node_;
    DateTime now_;
    std::optional<Status> failure_;
    std::optional<OpenMark> mark_;
};

class SnapshotListing final : public DirectoryListing {
public:
    SnapshotListing(std::vector<FileInfo> entries, Status end) : entries_(std::move(entries)), end_(end) {}
    bool next(FileInfo& entry) override {
        if (next_ >= entries_.size()) {
            ended_ = true;
            return false;
        }
        entry = entries_[next_++];
        return true;
    }
    Status status() const override { return ended_ ? end_ : Status::Ok; }

private:
    std::vector<FileInfo> entries_;
    Status end_;
    std::size_t next_ = 0;
    bool ended_ = false;
};

std::optional<Status> injectedFailure(const std::vector<std::pair<std::string, Status>>& rules,
                                      std::string_view path) {
    const std::string p = key(path);
    for (const auto& [prefix, status] : rules)
        if (p.starts_with(prefix)) return status;
    return std::nullopt;
}

}  // namespace

FakeFileSystem::FakeFileSystem() = default;
FakeFileSystem::~FakeFileSystem() = default;

// --- Lookup.

FakeFileSystem::Drive* FakeFileSystem::drive(char letter) const {
    const char l = upperChar(letter);
    for (const auto& d : drives_)
        if (d->letter == l) return d.get();
    return nullptr;
}

FakeFileSystem::Drive& FakeFileSystem::driveOrAdd(char letter) {
    if (Drive* d = drive(letter)) return *d;
    auto d = std::make_unique<Drive>();
    d->letter = upperChar(letter);
    d->root = newNode(std::string(1, d->letter) + ":", true, FileAttr::Directory, now_);
    drives_.push_back(std::move(d));
    return *drives_.back();
}

FakeFileSystem::Lookup FakeFileSystem::find(std::string_view path) const {
    Lookup r;
    const ParsedPath p = parse(path);
    r.drive = p.valid ? drive(p.drive) : nullptr;
    if (!r.drive) {
        r.status = Status::PathNotFound;
        return r;
    }
    if (p.badName) {
        r.status = Status::InvalidName;
        return r;
    }
    for (const auto& part : p.parts) r.keys.push_back(key(part));
    if (p.parts.empty()) {
        r.node = r.drive->root;
        return r;
    }
    Node* folder = r.drive->root.get();
    for (std::size_t i = 0; i + 1 < p.parts.size(); ++i) {
        const auto next = through(childOf(*folder, p.parts[i]));
        if (!next || !next->folder) {
            r.status = Status::PathNotFound;
            return r;
        }
        folder = next.get();
    }
    r.leaf = p.parts.back();
    r.node = childOf(*folder, r.leaf);
    if (r.node && p.trailingSeparator && !r.node->folder) {
        r.node.reset();
        r.status = Status::PathNotFound;
        return r;
    }
    r.parent = folder;
    if (!r.node) r.status = Status::FileNotFound;
    return r;
}

FakeFileSystem::Node& FakeFileSystem::existing(std::string_view path) const {
    const Lookup l = find(path);
    if (!l.node) throw std::invalid_argument("FakeFileSystem: nothing at " + std::string(path));
    return *l.node;
}

FakeFileSystem::Node& FakeFileSystem::ensureFolder(std::string_view path) {
    const ParsedPath p = parse(path);
    if (!p.valid || p.badName) throw std::invalid_argument("FakeFileSystem: bad path " + std::string(path));
    Node* folder = driveOrAdd(p.drive).root.get();
    for (const auto& part : p.parts) {
        auto next = childOf(*folder, part);
        if (!next) {
            next = newNode(part, true, FileAttr::Directory, now_);
            attach(*folder, next);
        } else if (!next->folder) {
            throw std::invalid_argument("FakeFileSystem: a file is in the way of " + std::string(path));
        }
        if (!(next = through(next))) throw std::invalid_argument("FakeFileSystem: a broken junction on " + std::string(path));
        folder = next.get();
    }
    return *folder;
}

// --- Staging.

void FakeFileSystem::addDrive(char letter, std::uint32_t driveType, std::string label) {
    Drive& d = driveOrAdd(letter);
    d.type = driveType;
    d.label = std::move(label);
}

void FakeFileSystem::addFolder(std::string_view path, std::uint32_t attributes) {
    Node& n = ensureFolder(path);
    n.attributes = storedAttributes(true, attributes, FileAttr::ReparsePoint);
}

void FakeFileSystem::addFile(std::string_view path, std::string_view content, std::uint32_t attributes,
                             DateTime lastWrite) {
    const ParsedPath p = parse(path);
    if (!p.valid || p.badName || p.parts.empty())
        throw std::invalid_argument("FakeFileSystem: bad file path " + std::string(path));
    const std::size_t cut = path.rfind('\\');
    Node& folder = ensureFolder(path.substr(0, cut + 1));
    const DateTime when = lastWrite == DateTime{} ? now_ : lastWrite;
    auto n = childOf(folder, p.parts.back());
    if (n && n->folder) throw std::invalid_argument("FakeFileSystem: a folder is at " + std::string(path));
    if (!n) {
        n = newNode(p.parts.back(), false, attributes, when);
        attach(folder, n);
    }
    n->attributes = storedAttributes(false, attributes, FileAttr::ReparsePoint);
    n->content = std::string(content);
    n->reportedSize.reset();
    n->lastWrite = when;
}

void FakeFileSystem::setFileSize(std::string_view path, std::uint64_t size) { existing(path).reportedSize = size; }

void FakeFileSystem::setLastWrite(std::string_view path, DateTime when) { existing(path).lastWrite = when; }

void FakeFileSystem::setListingOrder(std::string_view folder, std::vector<std::string> names) {
    existing(folder).listingOrder = std::move(names);
}

void FakeFileSystem::refuseListing(std::string_view folder) { existing(folder).refusesListing = true; }

void FakeFileSystem::failListingAfter(std::string_view folder, std::size_t entries, Status status) {
    existing(folder).listingBreaksOff = std::pair{entries, status};
}

void FakeFileSystem::addJunction(std::string_view path, std::string_view target) {
    const std::shared_ptr<Node> to = find(target).node;
    if (!to || !to->folder) throw std::invalid_argument("FakeFileSystem: no folder at " + std::string(target));
    const Lookup l = find(path);
    if (l.node || !l.parent) throw std::invalid_argument("FakeFileSystem: cannot make a junction at " + std::string(path));
    const auto junction = newNode(l.leaf, true, FileAttr::Directory | FileAttr::ReparsePoint, now_);
    junction->junction = true;
    junction->junctionTarget = to;
    attach(*l.parent, junction);
}

void FakeFileSystem::setShortName(std::string_view path, std::string shortName) {
    existing(path).shortName = std::move(shortName);
}

void FakeFileSystem::addOutsideCodePage(std::string_view folder, std::string listedName, std::string shortName,
                                        bool isFolder) {
    Node& parent = ensureFolder(folder);
    const auto n = newNode(std::move(listedName), isFolder, isFolder ? FileAttr::Directory : FileAttr::Archive, now_);
    n->shortName = std::move(shortName);
    attach(parent, n);
}

void FakeFileSystem::holdOpen(std::string_view path) { existing(path).held = true; }

void FakeFileSystem::release(std::string_view path) { existing(path).held = false; }

void FakeFileSystem::failWritesUnder(std::string_view pathPrefix, Status s) {
    failingWrites_.emplace_back(key(pathPrefix), s);
}

void FakeFileSystem::failReadsUnder(std::string_view pathPrefix, Status s) {
    failingReads_.emplace_back(key(pathPrefix), s);
}

void FakeFileSystem::failMovesTo(std::string_view pathPrefix, Status s) {
    failingMoves_.emplace_back(key(pathPrefix), s);
}

void FakeFileSystem::setNow(DateTime when) { now_ = when; }

// --- Inspection.

bool FakeFileSystem::exists(std::string_view path) const { return find(path).node != nullptr; }

std::optional<std::string> FakeFileSystem::content(std::string_view path) const {
    const Lookup l = find(path);
    if (!l.node || l.node->folder) return std::nullopt;
    return l.node->content;
}

std::optional<std::uint32_t> FakeFileSystem::attributes(std::string_view path) const {
    const Lookup l = find(path);
    if (!l.node) return std::nullopt;
    return l.node->attributes;
}

std::vector<std::string> FakeFileSystem::childNames(std::string_view folder) const {
    std::vector<std::string> names;
    for (const Node* c : listingOrder(existing(folder))) names.push_back(c->name);
    return names;
}

// --- FileSystem.

Status FakeFileSystem::list(std::string_view pattern, std::unique_ptr<DirectoryListing>& out) {
    out.reset();
    const std::size_t cut = pattern.rfind('\\');
    if (cut == std::string_view::npos) return Status::PathNotFound;
    // The program lists with these masks only; any other is refused so that a test notices.
    const std::string_view mask = pattern.substr(cut + 1);
    if (mask != "*" && mask != "*.*") return Status::InvalidName;
    const Lookup l = find(pattern.substr(0, cut + 1));
    if (l.status == Status::InvalidName) return l.status;
    const std::shared_ptr<Node> target = through(l.node);
    if (!target || !target->folder) return Status::PathNotFound;
    const Node& folder = *target;
    if (folder.refusesListing) return Status::AccessDenied;

    std::vector<FileInfo> entries;
    if (l.parent) entries = {entryOf(folder, "."), entryOf(*l.parent, "..")};
    for (const Node* c : listingOrder(folder)) entries.push_back(entryOf(*c, c->name));
    if (entries.empty()) return Status::FileNotFound;
    Status end = Status::Ok;
    if (folder.listingBreaksOff && folder.listingBreaksOff->first < entries.size()) {
        entries.resize(folder.listingBreaksOff->first);
        end = folder.listingBreaksOff->second;
    }
    out = std::make_unique<SnapshotListing>(std::move(entries), end);
    return Status::Ok;
}

Status FakeFileSystem::info(std::string_view path, FileInfo& out) {
    if (path.find_first_of("*?") != std::string_view::npos) return Status::InvalidName;
    const Lookup l = find(path);
    if (!l.node) return l.status;
    out = entryOf(*l.node, l.parent ? l.node->name : l.node->name + "\\");
    return Status::Ok;
}

Status FakeFileSystem::setAttributes(std::string_view path, std::uint32_t attributes) {
    const Lookup l = find(path);
    if (!l.node) return l.status;
    l.node->attributes = storedAttributes(l.node->folder, attributes, l.node->attributes & FileAttr::ReparsePoint);
    return Status::Ok;
}

Status FakeFileSystem::openExclusive(std::string_view path) {
    const Lookup l = find(path);
    if (!l.node) return l.status;
    if (l.node->folder) return Status::AccessDenied;
    if (sharingConflict(*l.node, Access::Read, 0)) return Status::SharingViolation;
    return Status::Ok;
}

Status FakeFileSystem::openRead(std::string_view path, std::unique_ptr<TextReader>& out) {
    out.reset();
    const Lookup l = find(path);
    if (!l.node) return l.status;
    if (l.node->folder) return Status::AccessDenied;
    if (sharingConflict(*l.node, Access::Read, Access::Read | Access::Write)) return Status::SharingViolation;
    out = std::make_unique<LineReader>(std::make_unique<NodeSource>(l.node, injectedFailure(failingReads_, path)));
    return Status::Ok;
}

Status FakeFileSystem::openWrite(std::string_view path, WriteMode mode, std::unique_ptr<TextWriter>& out) {
    out.reset();
    const Lookup l = find(path);
    std::shared_ptr<Node> node = l.node;
    if (!node) {
        if (!l.parent) return l.status;
        node = newNode(l.leaf, false, FileAttr::Archive, now_);
        attach(*l.parent, node);
    } else {
        if (node->folder || (node->attributes & FileAttr::ReadOnly)) return Status::AccessDenied;
        // Replacing a hidden or system file needs its attributes named again; we never do.
        if (mode == WriteMode::Create && (node->attributes & (FileAttr::Hidden | FileAttr::System)))
            return Status::AccessDenied;
        if (sharingConflict(*node, Access::Write, Access::Read)) return Status::SharingViolation;
        if (mode == WriteMode::Create) {
            node->content.clear();
            node->reportedSize.reset();
            node->attributes = FileAttr::Archive;
            node->lastWrite = now_;
        }
    }
    // Unbuffered, so that an injected failure shows at the write that meets it.
    out = std::make_unique<BufferedWriter>(
        std::make_unique<NodeSink>(node, now_, injectedFailure(failingWrites_, path)), 0);
    return Status::Ok;
}

Status FakeFileSystem::copyFile(std::string_view from, std::string_view to, bool replace) {
    const Lookup src = find(from);
    if (!src.node) return src.status;
    if (src.node->folder) return Status::AccessDenied;
    if (sharingConflict(*src.node, Access::Read, Access::Read)) return Status::SharingViolation;
    const Lookup dst = find(to);
    std::shared_ptr<Node> target = dst.node;
    if (!target) {
        if (!dst.parent) return dst.status;
    } else {
        if (!replace) return Status::FileExists;
        if (target->folder || (target->attributes & (FileAttr::Hidden | FileAttr::ReadOnly))) return Status::AccessDenied;
        if (sharingConflict(*target, Access::Write, 0)) return Status::SharingViolation;
    }
    if (!target) {
        target = newNode(dst.leaf, false, src.node->attributes, src.node->lastWrite);
        attach(*dst.parent, target);
    }
    target->content = src.node->content;
    target->reportedSize = src.node->reportedSize;
    target->attributes = src.node->attributes;
    target->lastWrite = src.node->lastWrite;
    return Status::Ok;
}

Status FakeFileSystem::moveFile(std::string_view from, std::string_view to, bool replace) {
    const Lookup src = find(from);
    if (!src.node) return src.status;
    const std::shared_ptr<Node> node = src.node;
    if (!src.parent) return Status::AccessDenied;
    if (node->folder && anyOpenBelow(*node)) return Status::AccessDenied;
    if (!node->folder && sharingConflict(*node, Access::Delete, Access::Read | Access::Write | Access::Delete))
        return Status::SharingViolation;
    if (const auto failure = injectedFailure(failingMoves_, to)) return *failure;
    const Lookup dst = find(to);
    if (!dst.node && !dst.parent) return dst.status;
    if (dst.node == node) {  // the same entry: a new spelling of its name
        node->name = dst.leaf;
        return Status::Ok;
    }
    if (dst.node) {
        if (!replace) return Status::AlreadyExists;
        if (dst.node->folder || node->folder || (dst.node->attributes & FileAttr::ReadOnly) || isOpen(*dst.node))
            return Status::AccessDenied;
    }
    if (node->folder) {
        if (dst.drive != src.drive) return Status::NotSameDevice;
        const bool intoItself = dst.keys.size() > src.keys.size() &&
                                std::equal(src.keys.begin(), src.keys.end(), dst.keys.begin());
        if (intoItself) return Status::AccessDenied;
    }
    detach(*src.parent, *node);
    if (dst.node) detach(*dst.parent, *dst.node);
    node->name = dst.leaf;
    attach(*dst.parent, node);
    return Status::Ok;
}

Status FakeFileSystem::deleteFile(std::string_view path) {
    const Lookup l = find(path);
    if (!l.node) return l.status;
    if (l.node->folder || (l.node->attributes & FileAttr::ReadOnly)) return Status::AccessDenied;
    if (sharingConflict(*l.node, Access::Delete, Access::Read | Access::Write | Access::Delete))
        return Status::SharingViolation;
    detach(*l.parent, *l.node);
    return Status::Ok;
}

Status FakeFileSystem::createFolder(std::string_view path) {
    const Lookup l = find(path);
    if (l.node) return Status::AlreadyExists;
    if (!l.parent) return l.status;
    attach(*l.parent, newNode(l.leaf, true, FileAttr::Directory, now_));
    return Status::Ok;
}

Status FakeFileSystem::removeFolder(std::string_view path) {
    const Lookup l = find(path);
    if (!l.node) return l.status;
    if (!l.node->folder || !l.parent || (l.node->attributes & FileAttr::ReadOnly)) return Status::AccessDenied;
    if (!l.node->children.empty()) return Status::DirNotEmpty;
    detach(*l.parent, *l.node);
    return Status::Ok;
}

std::uint32_t FakeFileSystem::driveType(std::string_view root) {
    const ParsedPath p = parse(root);
    const Drive* d = p.valid && p.parts.empty() ? drive(p.drive) : nullptr;
    return d ? d->type : DriveType::NoRootDir;
}

Status FakeFileSystem::volumeLabel(std::string_view root, std::string& label) {
    const ParsedPath p = parse(root);
    const Drive* d = p.valid ? drive(p.drive) : nullptr;
    if (!d || !p.parts.empty()) return Status::PathNotFound;
    label = d->label;
    return Status::Ok;
}

}  // namespace quillon::fakes
