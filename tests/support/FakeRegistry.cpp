#include "support/FakeRegistry.h"

#include <algorithm>
#include <map>
#include <tuple>

#include "platform/TextCompare.h"

namespace quillon::fakes {

namespace detail {

// Names in the order Wine keeps them, by their case-folded form ("_" before letters); an entry
// keeps the spelling it was made with.
struct NoCase {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const { return toLowerAnsi(a) < toLowerAnsi(b); }
};

struct RegNode {
    std::map<std::string, std::shared_ptr<RegNode>, NoCase> children;
    std::map<std::string, RegValue, NoCase> values;
    bool readOnly = false;
    bool unopenable = false;
    bool unspellable = false;  // enumerated as '?'s, as the ANSI interface gives such a name
    bool refusesDelete = false;
    bool deleted = false;  // open handles to a deleted key see KeyDeleted
};

}  // namespace detail

namespace {

using detail::RegNode;
using NodePtr = std::shared_ptr<RegNode>;

constexpr const char* hiveNames[] = {"HKCR", "HKCU", "HKLM"};

// "HKCU\Path": the key's path below the top of the fake.
std::string fullPath(Hive hive, std::string_view path) {
    return hiveNames[static_cast<std::size_t>(hive)] + (path.empty() ? std::string() : "\\" + std::string(path));
}

std::vector<std::string> splitPath(std::string_view path) {
    std::vector<std::string> parts;
    for (std::size_t cut = 0; !path.empty(); path.remove_prefix(std::min(cut + 1, path.size()))) {
        cut = std::min(path.find('\\'), path.size());
        if (cut > 0) parts.emplace_back(path.substr(0, cut));
    }
    return parts;
}

// The key at `path` below `node`, or its parent when the last part is dropped.
NodePtr resolve(NodePtr node, std::string_view path, std::size_t dropLast = 0) {
    const std::vector<std::string> parts = splitPath(path);
    for (std::size_t i = 0; node && i + dropLast < parts.size(); ++i) {
        const auto it = node->children.find(parts[i]);
        node = it == node->children.end() ? nullptr : it->second;
    }
    return node;
}

// Walks `node` down `path`, making what is missing. With honourMarks no key is made below a
// read-only or unopenable one, and an existing target must be open for writing.
Status createPath(NodePtr& node, std::string_view path, bool honourMarks) {
    bool created = false;
    for (const std::string& part : splitPath(path)) {
        const bool missing = !node->children.contains(part);
        if (honourMarks && missing && (node->readOnly || node->unopenable)) return Status::AccessDenied;
        created = created || missing;
        node = node->children.try_emplace(part, missing ? std::make_shared<RegNode>() : nullptr).first->second;
    }
    return honourMarks && !created && (node->readOnly || node->unopenable) ? Status::AccessDenied : Status::Ok;
}

bool treeRefusesDelete(const RegNode& node) {
    return node.readOnly || node.unopenable || node.refusesDelete ||
           std::any_of(node.children.begin(), node.children.end(),
                       [](const auto& c) { return treeRefusesDelete(*c.second); });
}

void markTreeDeleted(RegNode& node) {
    node.deleted = true;
    for (const auto& c : node.children) markTreeDeleted(*c.second);
}

class FakeKey final : public RegistryKey {
public:
    FakeKey(NodePtr node, RegAccess access) : node_(std::move(node)), access_(access) {}

    Status queryValue(std::string_view name, RegValue& out) override {
        if (node_->deleted) return Status::KeyDeleted;
        const auto it = node_->values.find(name);
        if (it == node_->values.end()) return Status::FileNotFound;
        out = it->second;
        return Status::Ok;
    }

    Status setValue(std::string_view name, const RegValue& value) override {
        if (const Status s = checkWritable(); !succeeded(s)) return s;
        node_->values.insert_or_assign(std::string(name), value);
        return Status::Ok;
    }

    Status deleteValue(std::string_view name) override {
        if (const Status s = checkWritable(); !succeeded(s)) return s;
        return node_->values.erase(std::string(name)) == 0 ? Status::FileNotFound : Status::Ok;
    }

    Status queryDefaultValue(std::string_view subKey, std::string& text) override {
        if (node_->deleted) return Status::KeyDeleted;
        const NodePtr target = resolve(node_, subKey);
        if (!target) return Status::FileNotFound;
        if (target->unopenable) return Status::AccessDenied;
        const auto it = target->values.find("");
        text = it == target->values.end() ? std::string() : it->second.data;  // an unset default reads as ""
        return Status::Ok;
    }

    Status setDefaultValue(std::string_view subKey, std::string_view text) override {
        NodePtr target = node_;
        if (const Status s = checkWritable(); !succeeded(s)) return s;
        if (const Status s = createPath(target, subKey, true); !succeeded(s)) return s;
        // The text goes in as a C string: an embedded NUL ends it.
        target->values.insert_or_assign("", RegValue{RegType::Sz, std::string(text.substr(0, text.find('\0')))});
        return Status::Ok;
    }

    Status enumSubKey(std::uint32_t index, std::string& name) override {
        if (node_->deleted) return Status::KeyDeleted;
        if (index >= node_->children.size()) return Status::NoMoreItems;
        const auto& [childName, child] = *std::next(node_->children.begin(), index);
        name = child->unspellable ? std::string(childName.size(), '?') : childName;
        return Status::Ok;
    }

    Status enumValue(std::uint32_t index, std::string& name, RegValue& value) override {
        if (node_->deleted) return Status::KeyDeleted;
        if (index >= node_->values.size()) return Status::NoMoreItems;
        std::tie(name, value) = *std::next(node_->values.begin(), index);
        return Status::Ok;
    }

private:
    // The handle's access is checked before the key's state, as the system does.
    Status checkWritable() const {
        if (access_ == RegAccess::Read) return Status::AccessDenied;
        return node_->deleted ? Status::KeyDeleted : Status::Ok;
    }

    NodePtr node_;
    RegAccess access_;
};

}  // namespace

FakeRegistry::FakeRegistry() : top_(std::make_shared<RegNode>()) {
    for (const char* hive : hiveNames) top_->children.emplace(hive, std::make_shared<RegNode>());
}

std::shared_ptr<RegNode> FakeRegistry::setUp(Hive hive, std::string_view path) const {
    NodePtr node = top_;
    static_cast<void>(createPath(node, fullPath(hive, path), false));  // no marks, no failure
    return node;
}

void FakeRegistry::createKey(Hive hive, std::string_view path) { setUp(hive, path); }

void FakeRegistry::setValue(Hive hive, std::string_view path, std::string_view name, RegValue v) {
    setUp(hive, path)->values.insert_or_assign(std::string(name), std::move(v));
}

void FakeRegistry::setString(Hive hive, std::string_view path, std::string_view name, std::string_view text) {
    setValue(hive, path, name, RegValue{RegType::Sz, std::string(text)});
}

std::optional<std::string> FakeRegistry::stringValue(Hive hive, std::string_view path,
                                                     std::string_view name) const {
    const NodePtr node = resolve(top_, fullPath(hive, path));
    if (!node || !node->values.contains(name)) return std::nullopt;
    const RegValue& v = node->values.find(name)->second;
    return v.type == RegType::Sz || v.type == RegType::ExpandSz ? std::optional(v.data) : std::nullopt;
}

bool FakeRegistry::keyExists(Hive hive, std::string_view path) const {
    return resolve(top_, fullPath(hive, path)) != nullptr;
}

std::vector<std::string> FakeRegistry::valueNames(Hive hive, std::string_view path) const {
    std::vector<std::string> names;
    if (const NodePtr node = resolve(top_, fullPath(hive, path)))
        for (const auto& v : node->values) names.push_back(v.first);
    return names;
}

void FakeRegistry::markReadOnly(Hive hive, std::string_view path) { setUp(hive, path)->readOnly = true; }

void FakeRegistry::markUnspellable(Hive hive, std::string_view path) { setUp(hive, path)->unspellable = true; }

void FakeRegistry::markUnopenable(Hive hive, std::string_view path) { setUp(hive, path)->unopenable = true; }

void FakeRegistry::failDeleteTree(Hive hive, std::string_view path) { setUp(hive, path)->refusesDelete = true; }

Status FakeRegistry::open(Hive hive, std::string_view path, RegAccess access,
                          std::unique_ptr<RegistryKey>& out) {
    NodePtr node = resolve(top_, fullPath(hive, path));
    if (!node) return Status::FileNotFound;
    if (node->unopenable || (node->readOnly && access == RegAccess::ReadWrite)) return Status::AccessDenied;
    out = std::make_unique<FakeKey>(std::move(node), access);
    return Status::Ok;
}

Status FakeRegistry::create(Hive hive, std::string_view path, std::unique_ptr<RegistryKey>& out) {
    NodePtr node = top_;
    if (const Status s = createPath(node, fullPath(hive, path), true); !succeeded(s)) return s;
    out = std::make_unique<FakeKey>(std::move(node), RegAccess::ReadWrite);
    return Status::Ok;
}

Status FakeRegistry::deleteTree(Hive hive, std::string_view path) {
    // The hive itself is never deleted, whatever a caller's empty path would ask.
    if (splitPath(path).empty()) return Status::InvalidParameter;
    const NodePtr doomed = resolve(top_, fullPath(hive, path));
    if (!doomed) return Status::FileNotFound;
    if (treeRefusesDelete(*doomed)) return Status::AccessDenied;
    markTreeDeleted(*doomed);
    resolve(top_, fullPath(hive, path), 1)->children.erase(splitPath(path).back());
    return Status::Ok;
}

}  // namespace quillon::fakes
