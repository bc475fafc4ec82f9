#pragma once
// In-memory registry that behaves like the system's (as the contract suite measures it), plus
// set-up helpers and access failures on chosen keys.
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Registry.h"

namespace quillon::fakes {

namespace detail {
struct RegNode;
}

// Names are compared without regard to case, as TextCompare compares them; a key or value keeps the spelling
// it was created with. Sub-keys and values both come in name order, as Wine keeps them.
// Keys handed out hold their key's node, so they stay valid after the FakeRegistry is gone.
class FakeRegistry final : public Registry {
public:
    FakeRegistry();
    FakeRegistry(const FakeRegistry&) = delete;
    FakeRegistry& operator=(const FakeRegistry&) = delete;

    // Set-up and inspection: paths "A\B\C" below the hive, no access checks.
    void createKey(Hive hive, std::string_view path);  // parents created too
    void setValue(Hive hive, std::string_view path, std::string_view name, RegValue v);  // creates the key
    void setString(Hive hive, std::string_view path, std::string_view name, std::string_view text);
    // Only for the string types (Sz, ExpandSz); nullopt for a missing or non-string value.
    std::optional<std::string> stringValue(Hive hive, std::string_view path, std::string_view name) const;
    bool keyExists(Hive hive, std::string_view path) const;
    std::vector<std::string> valueNames(Hive hive, std::string_view path) const;  // stored order

    // Access failures; each creates the key when it is missing. A read-only key opens only for
    // Read, refuses create() and deleteTree(), and no new sub-key can be made below it. An
    // unopenable key refuses every open but is still enumerated by its parent. Either one, or
    // failDeleteTree, anywhere inside a tree makes deleteTree of that tree fail AccessDenied
    // with nothing deleted.
    void markReadOnly(Hive hive, std::string_view path);
    void markUnopenable(Hive hive, std::string_view path);
    // Enumerated by its parent with '?' for each character, a name no open finds.
    void markUnspellable(Hive hive, std::string_view path);
    void failDeleteTree(Hive hive, std::string_view path);

    Status open(Hive hive, std::string_view path, RegAccess access,
                std::unique_ptr<RegistryKey>& out) override;
    Status create(Hive hive, std::string_view path, std::unique_ptr<RegistryKey>& out) override;
    Status deleteTree(Hive hive, std::string_view path) override;

private:
    std::shared_ptr<detail::RegNode> setUp(Hive hive, std::string_view path) const;  // made when missing

    std::shared_ptr<detail::RegNode> top_;  // the hives, as "HKCU" and the like
};

}  // namespace quillon::fakes
