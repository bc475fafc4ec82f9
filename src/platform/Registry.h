#pragma once
// Registry port. Names of keys and values are compared without regard to case; paths are
// relative to a hive and use "\" between parts, without a leading "\".
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/Status.h"

namespace quillon {

enum class Hive { ClassesRoot, CurrentUser, LocalMachine };
enum class RegAccess { ReadWrite, Read };

namespace RegType {
inline constexpr std::uint32_t None = 0;
inline constexpr std::uint32_t Sz = 1;
inline constexpr std::uint32_t ExpandSz = 2;
inline constexpr std::uint32_t Binary = 3;
inline constexpr std::uint32_t Dword = 4;
inline constexpr std::uint32_t DwordBigEndian = 5;
inline constexpr std::uint32_t Link = 6;
inline constexpr std::uint32_t MultiSz = 7;
inline constexpr std::uint32_t Qword = 11;
}  // namespace RegType

// A value as stored. For the string types (Sz, ExpandSz) `data` is the text in UTF-8 without
// its terminating NUL; for MultiSz the strings in UTF-8, each with its NUL, as stored (the
// registry holds all three in UTF-16); for every other type it is the raw bytes.
struct RegValue {
    std::uint32_t type = RegType::None;
    std::string data;
    friend bool operator==(const RegValue&, const RegValue&) = default;
};

// A key named by its hive and its path below it.
struct KeyPath {
    Hive hive = Hive::LocalMachine;
    std::string path;
};

// An open key; closed when destroyed.
class RegistryKey {
public:
    virtual ~RegistryKey() = default;

    // name "" is the default (unnamed) value. Values of any length are returned whole.
    virtual Status queryValue(std::string_view name, RegValue& out) = 0;
    virtual Status setValue(std::string_view name, const RegValue& value) = 0;
    virtual Status deleteValue(std::string_view name) = 0;

    // The default value of a sub-key (subKey "" = this key); setting creates the sub-key.
    virtual Status queryDefaultValue(std::string_view subKey, std::string& text) = 0;
    virtual Status setDefaultValue(std::string_view subKey, std::string_view text) = 0;

    // Sub-keys and values by index, in the registry's own order: NoMoreItems past the end,
    // MoreData when a key name does not fit 255 characters.
    virtual Status enumSubKey(std::uint32_t index, std::string& name) = 0;
    virtual Status enumValue(std::uint32_t index, std::string& name, RegValue& value) = 0;
};

class Registry {
public:
    virtual ~Registry() = default;

    // path "" opens the hive itself.
    virtual Status open(Hive hive, std::string_view path, RegAccess access,
                        std::unique_ptr<RegistryKey>& out) = 0;
    // Creates the key and any missing parents, or opens it when it exists.
    virtual Status create(Hive hive, std::string_view path, std::unique_ptr<RegistryKey>& out) = 0;
    // Deletes the key with everything below it.
    virtual Status deleteTree(Hive hive, std::string_view path) = 0;
};

}  // namespace quillon
