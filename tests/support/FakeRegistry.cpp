#include "support/FakeRegistry.h"

#include <algorithm>
#include <array>
#include <map>
#include <utility>

#include "platform/TextCompare.h"

namespace quillon::fakes {

namespace detail {

struct RegNamedValue {
    std::string name;
    RegValue value;
};

// Both maps are keyed by the case-folded name (ASCII in lower case): Wine orders names that
// way ("_" before letters).
struct RegNode {
    std::string name;
    std::map<std::string, std::shared_ptr<RegNode>> children;
    std::map<std::string, RegNamedValue> values;
    bool readOnly = false;
    bool unopenable = false;
    bool unspellable = false;  // enumerated as '?'s, as the ANSI interface gives such a name
    bool refusesDelete = false;
    bool deleted = false;  // open handles to a deleted key see KeyDeleted
};

struct RegistryModel {
    std::array<std::shared_ptr<RegNode>, 3> roots{std::make_shared<RegNode>(), std::make_shared<RegNode>(),
                                                  std::make_shared<RegNode>()};
    std::vector<std::string> log;

    const std::shared_ptr<RegNode>& root(Hive hive) const { return roots[static_cast<std::size_t>(hive)]; }
};

}  // namespace detail

namespace {

using detail::RegistryModel;
using detail::RegNamedValue;
using detail::RegNode;
using NodePtr = std::shared_ptr<RegNode>;

std::string lowered(std::string_view name) { return toLowerAnsi(name); }

std::vector<std::string_view> splitPath(std::string_view path) {
    std::vector<std::string_view> parts;
    while (!path.empty()) {
        const std::size_t cut = path.find('\\');
        const std::string_view part = path.substr(0, cut);
        if (!part.empty()) parts.push_back(part);
        if (cut == std::string_view::npos) break;
        path.remove_prefix(cut + 1);
    }
    return parts;
}

std::string joinPath(std::string_view head, std::string_view tail) {
    if (head.empty()) return std::string(tail);
    if (tail.empty()) return std::string(head);
    std::string joined(head);
    joined += '\\';
    joined += tail;
    return joined;
}

std::string hiveName(Hive hive) {
    switch (hive) {
        case Hive::ClassesRoot: return "HKCR";
        case Hive::CurrentUser: return "HKCU";
        case Hive::LocalMachine: return "HKLM";
    }
    return "?";
}

std::string logLine(std::string_view verb, Hive hive, std::string_view path) {
    std::string line(verb);
    line += ' ';
    line += hiveName(hive);
    if (!path.empty()) {
        line += '\\';
        line += path;
    }
    return line;
}

NodePtr child(const RegNode& node, std::string_view name) {
    const auto it = node.children.find(lowered(name));
    return it == node.children.end() ? nullptr : it->second;
}

NodePtr addChild(RegNode& node, std::string_view name) {
    auto child = std::make_shared<RegNode>();
    child->name = std::string(name);
    node.children.emplace(lowered(name), child);
    return child;
}

NodePtr resolve(NodePtr node, std::string_view path) {
    for (std::string_view part : splitPath(path)) {
        node = child(*node, part);
        if (!node) return nullptr;
    }
    return node;
}

// Creates what is missing of `path` below `node`. With honourMarks a new key cannot be made
// below a read-only or unopenable one, and an existing target must be open for writing.
Status createPath(NodePtr node, std::string_view path, bool honourMarks, NodePtr& out, bool& created) {
    created = false;
    for (std::string_view part : splitPath(path)) {
        NodePtr next = child(*node, part);
        if (!next) {
            if (honourMarks && (node->readOnly || node->unopenable)) return Status::AccessDenied;
            next = addChild(*node, part);
            created = true;
        }
        node = std::move(next);
    }
    if (honourMarks && !created && (node->readOnly || node->unopenable)) return Status::AccessDenied;
    out = std::move(node);
    return Status::Ok;
}

NodePtr createForSetUp(const RegistryModel& model, Hive hive, std::string_view path) {
    NodePtr node;
    bool created = false;
    static_cast<void>(createPath(model.root(hive), path, false, node, created));  // set-up of a path known to be valid
    return node;
}

const RegNamedValue* findValue(const RegNode& node, std::string_view name) {
    const auto it = node.values.find(lowered(name));
    return it == node.values.end() ? nullptr : &it->second;
}

void putValue(RegNode& node, std::string_view name, RegValue value) {
    // The first spelling of the name stays.
    const auto [it, added] = node.values.try_emplace(lowered(name), RegNamedValue{std::string(name), value});
    if (!added) it->second.value = std::move(value);
}

bool treeRefusesDelete(const RegNode& node) {
    if (node.readOnly || node.unopenable || node.refusesDelete) return true;
    return std::any_of(node.children.begin(), node.children.end(),
                       [](const auto& c) { return treeRefusesDelete(*c.second); });
}

void markTreeDeleted(RegNode& node) {
    node.deleted = true;
    for (const auto& c : node.children) markTreeDeleted(*c.second);
}

class FakeKey final : public RegistryKey {
public:
    FakeKey(std::shared_ptr<RegistryModel> model, NodePtr node, Hive hive, std::string path, RegAccess access)
        : model_(std::move(model)), node_(std::move(node)), hive_(hive), path_(std::move(path)), access_(access) {}

    Status queryValue(std::string_view name, RegValue& out) override {
        if (node_->deleted) return Status::KeyDeleted;
        const RegNamedValue* found = findValue(*node_, name);
        if (!found) return Status::FileNotFound;
        out = found->value;
        return Status::Ok;
    }

    Status setValue(std::string_view name, const RegValue& value) override {
        if (const Status s = checkWritable(); !succeeded(s)) return s;
        putValue(*node_, name, value);
        // An empty (default) value name still gets its separator: "set HKCU\Key\".
        model_->log.push_back(logLine("set", hive_, path_) + '\\' + std::string(name));
        return Status::Ok;
    }

    Status deleteValue(std::string_view name) override {
        if (const Status s = checkWritable(); !succeeded(s)) return s;
        if (node_->values.erase(lowered(name)) == 0) return Status::FileNotFound;
        model_->log.push_back(logLine("delete", hive_, joinPath(path_, name)));
        return Status::Ok;
    }

    Status queryDefaultValue(std::string_view subKey, std::string& text) override {
        if (node_->deleted) return Status::KeyDeleted;
        const NodePtr target = resolve(node_, subKey);
        if (!target) return Status::FileNotFound;
        if (target->unopenable) return Status::AccessDenied;
        const RegNamedValue* found = findValue(*target, "");
        text = found ? found->value.data : std::string();  // an unset default reads as ""
        return Status::Ok;
    }

    Status setDefaultValue(std::string_view subKey, std::string_view text) override {
        if (const Status s = checkWritable(); !succeeded(s)) return s;
        NodePtr target;
        bool created = false;
        if (const Status s = createPath(node_, subKey, true, target, created); !succeeded(s)) return s;
        // The text goes in as a C string: an embedded NUL ends it.
        putValue(*target, "", RegValue{RegType::Sz, std::string(text.substr(0, text.find('\0')))});
        model_->log.push_back(logLine("default", hive_, joinPath(path_, subKey)));
        return Status::Ok;
    }

    Status enumSubKey(std::uint32_t index, std::string& name) override {
        if (node_->deleted) return Status::KeyDeleted;
        if (index >= node_->children.size()) return Status::NoMoreItems;
        const auto& child = *std::next(node_->children.begin(), index)->second;
        name = child.unspellable ? std::string(child.name.size(), '?') : child.name;
        return Status::Ok;
    }

    Status enumValue(std::uint32_t index, std::string& name, RegValue& value) override {
        if (node_->deleted) return Status::KeyDeleted;
        if (index >= node_->values.size()) return Status::NoMoreItems;
        const RegNamedValue& found = std::next(node_->values.begin(), index)->second;
        name = found.name;
        value = found.value;
        return Status::Ok;
    }

private:
    // The handle's access is checked before the key's state, as the system does.
    Status checkWritable() const {
        if (access_ == RegAccess::Read) return Status::AccessDenied;
        if (node_->deleted) return Status::KeyDeleted;
        return Status::Ok;
    }

    std::shared_ptr<RegistryModel> model_;
    NodePtr node_;
    Hive hive_;
    std::string path_;
    RegAccess access_;
};

}  // namespace

FakeRegistry::FakeRegistry() : model_(std::make_shared<detail::RegistryModel>()) {}
FakeRegistry::~FakeRegistry() = default;

void FakeRegistry::createKey(Hive hive, std::string_view path) { createForSetUp(*model_, hive, path); }

void FakeRegistry::setValue(Hive hive, std::string_view path, std::string_view name, RegValue v) {
    putValue(*createForSetUp(*model_, hive, path), name, std::move(v));
}

void FakeRegistry::setString(Hive hive, std::string_view path, std::string_view name, std::string_view text) {
    setValue(hive, path, name, RegValue{RegType::Sz, std::string(text)});
}

std::optional<std::string> FakeRegistry::stringValue(Hive hive, std::string_view path, std::string_view name) const {
    const NodePtr node = resolve(model_->root(hive), path);
    const RegNamedValue* found = node ? findValue(*node, name) : nullptr;
    if (!found || (found->value.type != RegType::Sz && found->value.type != RegType::ExpandSz)) return std::nullopt;
    return found->value.data;
}

bool FakeRegistry::keyExists(Hive hive, std::string_view path) const {
    return resolve(model_->root(hive), path) != nullptr;
}

std::vector<std::string> FakeRegistry::valueNames(Hive hive, std::string_view path) const {
    std::vector<std::string> names;
    if (const NodePtr node = resolve(model_->root(hive), path)) {
        for (const auto& v : node->values) names.push_back(v.second.name);
    }
    return names;
}

void FakeRegistry::markReadOnly(Hive hive, std::string_view path) {
    createForSetUp(*model_, hive, path)->readOnly = true;
}

void FakeRegistry::markUnspellable(Hive hive, std::string_view path) {
    createForSetUp(*model_, hive, path)->unspellable = true;
}

void FakeRegistry::markUnopenable(Hive hive, std::string_view path) {
    createForSetUp(*model_, hive, path)->unopenable = true;
}

void FakeRegistry::failDeleteTree(Hive hive, std::string_view path) {
    createForSetUp(*model_, hive, path)->refusesDelete = true;
}

const std::vector<std::string>& FakeRegistry::writeLog() const { return model_->log; }

void FakeRegistry::clearWriteLog() { model_->log.clear(); }

Status FakeRegistry::open(Hive hive, std::string_view path, RegAccess access, std::unique_ptr<RegistryKey>& out) {
    NodePtr node = resolve(model_->root(hive), path);
    if (!node) return Status::FileNotFound;
    if (node->unopenable || (node->readOnly && access == RegAccess::ReadWrite)) return Status::AccessDenied;
    out = std::make_unique<FakeKey>(model_, std::move(node), hive, std::string(path), access);
    return Status::Ok;
}

Status FakeRegistry::create(Hive hive, std::string_view path, std::unique_ptr<RegistryKey>& out) {
    NodePtr node;
    bool created = false;
    if (const Status s = createPath(model_->root(hive), path, true, node, created); !succeeded(s)) return s;
    if (created) model_->log.push_back(logLine("create", hive, path));
    out = std::make_unique<FakeKey>(model_, std::move(node), hive, std::string(path), RegAccess::ReadWrite);
    return Status::Ok;
}

Status FakeRegistry::deleteTree(Hive hive, std::string_view path) {
    // The hive itself is never deleted, whatever a caller's empty path would ask.
    const std::vector<std::string_view> parts = splitPath(path);
    if (parts.empty()) return Status::InvalidParameter;
    NodePtr parent = model_->root(hive);
    for (std::size_t i = 0; parent && i + 1 < parts.size(); ++i) parent = child(*parent, parts[i]);
    if (!parent) return Status::FileNotFound;
    const auto it = parent->children.find(lowered(parts.back()));
    if (it == parent->children.end()) return Status::FileNotFound;
    if (treeRefusesDelete(*it->second)) return Status::AccessDenied;
    markTreeDeleted(*it->second);
    parent->children.erase(it);
    model_->log.push_back(logLine("deltree", hive, path));
    return Status::Ok;
}

}  // namespace quillon::fakes
