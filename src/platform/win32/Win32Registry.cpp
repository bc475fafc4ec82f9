#include "platform/win32/Win32Registry.h"

#include <windows.h>
#include <shlwapi.h>

#include <algorithm>
#include <utility>

#include "platform/win32/Conversions.h"
#include "platform/win32/Handles.h"

namespace quillon::win32 {
namespace {

constexpr DWORD maxKeyNameLength = 255;
constexpr DWORD maxValueNameLength = 16383;
constexpr DWORD firstBufferSize = 256;

HKEY hiveKey(Hive hive) noexcept {
    switch (hive) {
        case Hive::ClassesRoot: return HKEY_CLASSES_ROOT;
        case Hive::CurrentUser: return HKEY_CURRENT_USER;
        case Hive::LocalMachine: return HKEY_LOCAL_MACHINE;
    }
    return HKEY_CURRENT_USER;
}

Status fromResult(LONG result) noexcept { return toStatus(static_cast<DWORD>(result)); }

bool isStringType(DWORD type) noexcept { return type == REG_SZ || type == REG_EXPAND_SZ; }

// The system stores a string with its terminator, but a writer may have left it out.
void dropTerminator(std::string& text) {
    if (!text.empty() && text.back() == '\0') text.pop_back();
}

// Calls `fetch(buffer, size)` until the data fits: a value may grow between the size the
// system reports and the read that follows, so ERROR_MORE_DATA is retried with the new size.
template <typename Fetch>
LONG readWhole(std::string& buffer, Fetch fetch) {
    buffer.resize(firstBufferSize);
    for (;;) {
        DWORD size = static_cast<DWORD>(buffer.size());
        const LONG result = fetch(buffer.data(), size);
        if (result == ERROR_MORE_DATA && size > buffer.size()) {
            buffer.resize(size);
            continue;
        }
        buffer.resize(result == ERROR_SUCCESS ? size : 0);
        return result;
    }
}

// Wine refuses an ANSI sub-key path longer than 260 characters (ERROR_MORE_DATA), though
// keys lie deeper than that: a longer path is opened in pieces, each relative to the last.
constexpr std::size_t longestPathPiece = 250;

// Wine checks no access on the key a relative open or create starts from (measured: none,
// enumerate, query and create-sub-key all work); Windows grants no handle for no access at all
// and wants create-sub-key where a key may be added, so each key passed through asks for that.
constexpr REGSAM passThroughOpen = KEY_ENUMERATE_SUB_KEYS;
constexpr REGSAM passThroughCreate = KEY_CREATE_SUB_KEY;

std::string_view dropLeadingSeparators(std::string_view path) {
    const std::size_t start = path.find_first_not_of('\\');
    return start == std::string_view::npos ? std::string_view{} : path.substr(start);
}

// As many whole components as fit a piece, or one component longer than that.
std::string_view takePiece(std::string_view& rest) {
    std::size_t cut = rest.size() <= longestPathPiece ? rest.size() : rest.rfind('\\', longestPathPiece);
    if (cut == 0 || cut == std::string_view::npos) cut = std::min(rest.find('\\', 1), rest.size());
    const std::string_view piece = rest.substr(0, cut);
    rest = dropLeadingSeparators(rest.substr(cut));
    return piece;
}

// step(parent, piece, access, key) opens or creates one piece. Short paths go in one call, so
// they meet the system's own rules unchanged.
template <typename Step>
LONG stepAlong(HKEY from, std::string_view path, REGSAM passThrough, REGSAM access, RegKey& out, Step step) {
    if (path.size() <= longestPathPiece) return step(from, z(path).c_str(), access, out);
    RegKey held;
    HKEY parent = from;
    std::string_view rest = path;
    for (;;) {
        const std::string piece = z(takePiece(rest));
        RegKey next;
        const LONG result = step(parent, piece.c_str(), rest.empty() ? access : passThrough, next);
        if (result != ERROR_SUCCESS) return result;
        if (rest.empty()) {
            out = std::move(next);
            return ERROR_SUCCESS;
        }
        held = std::move(next);
        parent = held.get();
    }
}

LONG openPath(HKEY from, std::string_view path, REGSAM access, RegKey& out) {
    return stepAlong(from, path, passThroughOpen, access, out,
                     [](HKEY parent, const char* piece, REGSAM sam, RegKey& key) {
                         return RegOpenKeyExA(parent, piece, 0, sam, key.out());
                     });
}

LONG createPath(HKEY from, std::string_view path, REGSAM access, RegKey& out) {
    return stepAlong(from, path, passThroughCreate, access, out,
                     [](HKEY parent, const char* piece, REGSAM sam, RegKey& key) {
                         return RegCreateKeyExA(parent, piece, 0, nullptr, REG_OPTION_NON_VOLATILE, sam, nullptr,
                                                key.out(), nullptr);
                     });
}

RegValue toRegValue(DWORD type, std::string data) {
    if (isStringType(type)) dropTerminator(data);
    return RegValue{type, std::move(data)};
}

class Win32RegistryKey final : public RegistryKey {
public:
    explicit Win32RegistryKey(RegKey key) noexcept : key_(std::move(key)) {}

    Status queryValue(std::string_view name, RegValue& out) override {
        const std::string valueName = z(name);
        DWORD type = REG_NONE;
        std::string data;
        const LONG result = readWhole(data, [&](char* buffer, DWORD& size) {
            return RegQueryValueExA(key_.get(), valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer),
                                    &size);
        });
        if (result == ERROR_SUCCESS) out = toRegValue(type, std::move(data));
        return fromResult(result);
    }

    Status setValue(std::string_view name, const RegValue& value) override {
        std::string data = value.data;
        if (isStringType(value.type)) data.push_back('\0');
        return fromResult(RegSetValueExA(key_.get(), z(name).c_str(), 0, value.type,
                                         reinterpret_cast<const BYTE*>(data.data()), static_cast<DWORD>(data.size())));
    }

    Status deleteValue(std::string_view name) override {
        return fromResult(RegDeleteValueA(key_.get(), z(name).c_str()));
    }

    Status queryDefaultValue(std::string_view subKey, std::string& text) override {
        RegKey deep;
        if (subKey.size() > longestPathPiece) {
            const LONG opened = openPath(key_.get(), subKey, KEY_QUERY_VALUE, deep);
            if (opened != ERROR_SUCCESS) return fromResult(opened);
        }
        const HKEY target = deep ? deep.get() : key_.get();
        const std::string sub = deep ? std::string() : z(subKey);
        std::string data;
        const LONG result = readWhole(data, [&](char* buffer, DWORD& size) {
            LONG length = static_cast<LONG>(size);
            const LONG r = RegQueryValueA(target, sub.empty() ? nullptr : sub.c_str(), buffer, &length);
            size = static_cast<DWORD>(length);
            return r;
        });
        if (result == ERROR_SUCCESS) {
            dropTerminator(data);
            text = std::move(data);
        }
        return fromResult(result);
    }

    Status setDefaultValue(std::string_view subKey, std::string_view text) override {
        RegKey deep;
        if (subKey.size() > longestPathPiece) {
            const LONG created = createPath(key_.get(), subKey, KEY_SET_VALUE, deep);
            if (created != ERROR_SUCCESS) return fromResult(created);
        }
        const HKEY target = deep ? deep.get() : key_.get();
        const std::string sub = deep ? std::string() : z(subKey);
        const std::string data = z(text);
        return fromResult(RegSetValueA(target, sub.empty() ? nullptr : sub.c_str(), REG_SZ, data.c_str(),
                                       static_cast<DWORD>(data.size())));
    }

    Status enumSubKey(std::uint32_t index, std::string& name) override {
        char buffer[maxKeyNameLength + 1];
        DWORD length = sizeof buffer;
        const LONG result = RegEnumKeyExA(key_.get(), index, buffer, &length, nullptr, nullptr, nullptr, nullptr);
        if (result == ERROR_SUCCESS) name.assign(buffer, length);
        return fromResult(result);
    }

    Status enumValue(std::uint32_t index, std::string& name, RegValue& value) override {
        // A name buffer of the largest size the system allows, so ERROR_MORE_DATA is about the data.
        std::string nameBuffer(maxValueNameLength + 1, '\0');
        DWORD nameLength = 0;
        DWORD type = REG_NONE;
        std::string data;
        const LONG result = readWhole(data, [&](char* buffer, DWORD& size) {
            nameLength = static_cast<DWORD>(nameBuffer.size());
            return RegEnumValueA(key_.get(), index, nameBuffer.data(), &nameLength, nullptr, &type,
                                 reinterpret_cast<BYTE*>(buffer), &size);
        });
        if (result == ERROR_SUCCESS) {
            nameBuffer.resize(nameLength);
            name = std::move(nameBuffer);
            value = toRegValue(type, std::move(data));
        }
        return fromResult(result);
    }

private:
    RegKey key_;
};

}  // namespace

Status Win32Registry::open(Hive hive, std::string_view path, RegAccess access, std::unique_ptr<RegistryKey>& out) {
    const REGSAM sam = access == RegAccess::Read ? KEY_READ : KEY_READ | KEY_WRITE;
    RegKey key;
    const LONG result = openPath(hiveKey(hive), path, sam, key);
    if (result != ERROR_SUCCESS) return fromResult(result);
    out = std::make_unique<Win32RegistryKey>(std::move(key));
    return Status::Ok;
}

Status Win32Registry::create(Hive hive, std::string_view path, std::unique_ptr<RegistryKey>& out) {
    RegKey key;
    const LONG result = createPath(hiveKey(hive), path, KEY_READ | KEY_WRITE, key);
    if (result != ERROR_SUCCESS) return fromResult(result);
    out = std::make_unique<Win32RegistryKey>(std::move(key));
    return Status::Ok;
}

Status Win32Registry::deleteTree(Hive hive, std::string_view path) {
    if (path.find_first_not_of('\\') == std::string_view::npos) return Status::InvalidParameter;
    return fromResult(static_cast<LONG>(SHDeleteKeyA(hiveKey(hive), z(path).c_str())));
}

}  // namespace quillon::win32
