#include "platform/win32/Win32Registry.h"

#include <windows.h>
#include <shlwapi.h>

#include <algorithm>
#include <utility>

#include "platform/Utf16.h"
#include "platform/win32/Conversions.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Utf.h"

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
// Stored as UTF-16, held as UTF-8.
bool isTextType(DWORD type) noexcept { return isStringType(type) || type == REG_MULTI_SZ; }

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

// Wine's ANSI calls refuse a sub-key path longer than 260 characters (ERROR_MORE_DATA), though
// keys lie deeper than that. The wide calls are not known to; a longer path is still opened in
// pieces, each relative to the last, which every system takes.
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
    if (path.size() <= longestPathPiece) return step(from, wide(path).c_str(), access, out);
    RegKey held;
    HKEY parent = from;
    std::string_view rest = path;
    for (;;) {
        const std::wstring piece = wide(takePiece(rest));
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
                     [](HKEY parent, const wchar_t* piece, REGSAM sam, RegKey& key) {
                         return RegOpenKeyExW(parent, piece, 0, sam, key.out());
                     });
}

LONG createPath(HKEY from, std::string_view path, REGSAM access, RegKey& out) {
    return stepAlong(from, path, passThroughCreate, access, out,
                     [](HKEY parent, const wchar_t* piece, REGSAM sam, RegKey& key) {
                         return RegCreateKeyExW(parent, piece, 0, nullptr, REG_OPTION_NON_VOLATILE, sam, nullptr,
                                                key.out(), nullptr);
                     });
}

RegValue toRegValue(DWORD type, std::string data) {
    if (isTextType(type)) data = utf8FromUtf16le(data);
    if (isStringType(type)) dropTerminator(data);
    return RegValue{type, std::move(data)};
}

class Win32RegistryKey final : public RegistryKey {
public:
    explicit Win32RegistryKey(RegKey key) noexcept : key_(std::move(key)) {}

    Status queryValue(std::string_view name, RegValue& out) override {
        const std::wstring valueName = wide(name);
        DWORD type = REG_NONE;
        std::string data;
        const LONG result = readWhole(data, [&](char* buffer, DWORD& size) {
            return RegQueryValueExW(key_.get(), valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer),
                                    &size);
        });
        if (result == ERROR_SUCCESS) out = toRegValue(type, std::move(data));
        return fromResult(result);
    }

    Status setValue(std::string_view name, const RegValue& value) override {
        std::string data = isTextType(value.type) ? utf16leBytes(value.data) : value.data;
        if (isStringType(value.type)) data.append(sizeof(wchar_t), '\0');
        return fromResult(RegSetValueExW(key_.get(), wide(name).c_str(), 0, value.type,
                                         reinterpret_cast<const BYTE*>(data.data()), static_cast<DWORD>(data.size())));
    }

    Status deleteValue(std::string_view name) override {
        return fromResult(RegDeleteValueW(key_.get(), wide(name).c_str()));
    }

    Status queryDefaultValue(std::string_view subKey, std::string& text) override {
        RegKey deep;
        if (subKey.size() > longestPathPiece) {
            const LONG opened = openPath(key_.get(), subKey, KEY_QUERY_VALUE, deep);
            if (opened != ERROR_SUCCESS) return fromResult(opened);
        }
        const HKEY target = deep ? deep.get() : key_.get();
        const std::wstring sub = deep ? std::wstring() : wide(subKey);
        std::string data;
        const LONG result = readWhole(data, [&](char* buffer, DWORD& size) {
            // Counts bytes; the buffer is whole UTF-16 units because every size asked is even.
            LONG length = static_cast<LONG>(size);
            const LONG r = RegQueryValueW(target, sub.empty() ? nullptr : sub.c_str(), reinterpret_cast<wchar_t*>(buffer),
                                          &length);
            size = static_cast<DWORD>(length);
            return r;
        });
        if (result == ERROR_SUCCESS) {
            data = utf8FromUtf16le(data);
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
        const std::wstring sub = deep ? std::wstring() : wide(subKey);
        const std::wstring data = wide(text);
        return fromResult(RegSetValueW(target, sub.empty() ? nullptr : sub.c_str(), REG_SZ, data.c_str(),
                                       static_cast<DWORD>(data.size() * sizeof(wchar_t))));
    }

    Status enumSubKey(std::uint32_t index, std::string& name) override {
        wchar_t buffer[maxKeyNameLength + 1];
        DWORD length = maxKeyNameLength + 1;
        const LONG result = RegEnumKeyExW(key_.get(), index, buffer, &length, nullptr, nullptr, nullptr, nullptr);
        if (result == ERROR_SUCCESS) assignUtf8(name, std::wstring_view(buffer, length));
        return fromResult(result);
    }

    Status enumValue(std::uint32_t index, std::string& name, RegValue& value) override {
        // Buffers sized once per key from the key's own largest name and data: a walk asks for
        // every value of every key, and a buffer of the largest name the system allows, cleared
        // for each value, costs more than reading the value.
        if (nameBuffer_.empty()) {
            DWORD longestName = 0, largestData = 0;
            if (RegQueryInfoKeyW(key_.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                 &longestName, &largestData, nullptr, nullptr) != ERROR_SUCCESS)
                longestName = maxValueNameLength;
            nameBuffer_.resize(std::min<DWORD>(longestName, maxValueNameLength) + 1);
            dataBuffer_.resize(std::max<DWORD>(largestData, firstBufferSize));
        }
        // Past these sizes only when the key changed meanwhile, or the name is the one too
        // long: then larger buffers and once more.
        LONG result = ERROR_MORE_DATA;
        DWORD nameLength = 0, size = 0, type = REG_NONE;
        for (int attempt = 0; attempt < 8 && result == ERROR_MORE_DATA; ++attempt) {
            nameLength = static_cast<DWORD>(nameBuffer_.size());
            size = static_cast<DWORD>(dataBuffer_.size());
            result = RegEnumValueW(key_.get(), index, nameBuffer_.data(), &nameLength, nullptr, &type,
                                   reinterpret_cast<BYTE*>(dataBuffer_.data()), &size);
            if (result == ERROR_MORE_DATA) {
                nameBuffer_.resize(maxValueNameLength + 1);
                dataBuffer_.resize(std::max<std::size_t>(size, dataBuffer_.size() * 2));
            }
        }
        if (result == ERROR_SUCCESS) {
            assignUtf8(name, std::wstring_view(nameBuffer_.data(), nameLength));
            value = toRegValue(type, std::string(dataBuffer_.data(), size));
        }
        return fromResult(result);
    }

private:
    RegKey key_;
    std::wstring nameBuffer_;
    std::string dataBuffer_;
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
    return fromResult(static_cast<LONG>(SHDeleteKeyW(hiveKey(hive), wide(path).c_str())));
}

}  // namespace quillon::win32
