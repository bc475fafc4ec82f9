#include "undo/RegFile.h"

#include <array>
#include <cstddef>
#include <cstdint>

#include "platform/TextCompare.h"
#include "platform/Utf16.h"
#include "platform/Utf8.h"

namespace quillon::undo {
namespace {

// The format regedit writes today, in UTF-16LE after its byte-order mark; the older one in the
// ANSI code page is still read.
constexpr std::string_view header = "Windows Registry Editor Version 5.00";
constexpr std::string_view oldHeader = "REGEDIT4";
// regedit keeps its lines under 80 characters, a wrapped one ending in ",\".
constexpr std::size_t widestLine = 79;
constexpr std::string_view continuationIndent = "  ";
constexpr std::string_view hexDigits = "0123456789abcdef";

struct HiveRoot {
    Hive hive;
    std::string_view name;
};
constexpr std::array<HiveRoot, 3> roots{{{Hive::ClassesRoot, "HKEY_CLASSES_ROOT"},
                                         {Hive::CurrentUser, "HKEY_CURRENT_USER"},
                                         {Hive::LocalMachine, "HKEY_LOCAL_MACHINE"}}};

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view withoutLeadingBlanks(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    return text;
}

std::string_view trimmed(std::string_view text) {
    text = withoutLeadingBlanks(text);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Hex digits only, at most `most` of them, into `value`.
bool parseHexNumber(std::string_view digits, std::size_t most, std::uint32_t& value) {
    if (digits.empty() || digits.size() > most) return false;
    value = 0;
    for (const char c : digits) {
        const int d = hexValue(c);
        if (d < 0) return false;
        value = value << 4 | static_cast<std::uint32_t>(d);
    }
    return true;
}

bool isStringType(std::uint32_t type) { return type == RegType::Sz || type == RegType::ExpandSz || type == RegType::MultiSz; }

// ---- writing ----

// Passes UTF-8 text on as UTF-16LE, the byte-order mark first.
class Utf16Writer final : public TextWriter {
public:
    explicit Utf16Writer(TextWriter& out) : out_(out) {}
    Status write(std::string_view text) override {
        if (!started_) {
            started_ = true;
            const Status s = out_.write("\xFF\xFE");
            if (!succeeded(s)) return s;
        }
        return out_.write(utf16leBytes(text));
    }
    Status close() override { return out_.close(); }

private:
    TextWriter& out_;
    bool started_ = false;
};

std::string quoted(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
    return out + '"';
}

// Line breaks would end the line early, and a leading "-" makes regedit delete the key.
bool writableKeyName(std::string_view name) {
    return !name.empty() && name.front() != '-' && name.find_first_of("\r\n") == std::string_view::npos;
}
bool writableValueName(std::string_view name) { return name.find_first_of("\r\n") == std::string_view::npos; }

bool holdsControlBytes(std::string_view text) {
    for (const char c : text)
        if (static_cast<unsigned char>(c) < 0x20) return true;
    return false;
}

std::string hexNumber(std::uint32_t value, std::size_t width) {
    std::string digits;
    do {
        digits.insert(digits.begin(), hexDigits[value & 0xf]);
        value >>= 4;
    } while (value != 0);
    if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
    return digits;
}

// The bytes after "hex:" or "hex(N):", wrapped after a comma when the next byte would pass the width.
Status writeHexBytes(TextWriter& out, std::string line, std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i > 0) {
            line += ',';
            if (line.size() + 3 > widestLine) {
                line += '\\';
                const Status s = out.writeLine(line);
                if (!succeeded(s)) return s;
                line = continuationIndent;
            }
        }
        const auto byte = static_cast<unsigned char>(bytes[i]);
        line += hexDigits[byte >> 4];
        line += hexDigits[byte & 0xf];
    }
    return out.writeLine(line);
}

Status writeValue(TextWriter& out, std::string_view name, const RegValue& value) {
    std::string line = (name.empty() ? std::string("@") : quoted(name)) + "=";
    const std::string_view data = value.data;
    if (value.type == RegType::Sz && !holdsControlBytes(data)) return out.writeLine(line + quoted(data));
    if (value.type == RegType::Dword && data.size() == 4) {
        std::uint32_t number = 0;
        for (std::size_t i = 4; i-- > 0;) number = number << 8 | static_cast<unsigned char>(data[i]);
        return out.writeLine(line + "dword:" + hexNumber(number, 8));
    }
    line += value.type == RegType::Binary ? std::string("hex:") : "hex(" + hexNumber(value.type, 1) + "):";
    // The string types are UTF-16 in the file, and keep their terminator there, as regedit
    // writes and expects them.
    if (value.type == RegType::Sz || value.type == RegType::ExpandSz)
        return writeHexBytes(out, std::move(line), utf16leBytes(std::string(data) + '\0'));
    if (value.type == RegType::MultiSz) return writeHexBytes(out, std::move(line), utf16leBytes(data));
    return writeHexBytes(out, std::move(line), data);
}

// ---- reading ----

// A "..." at the start of `text` with \\ and \" escaped; `text` is left after the closing quote.
bool takeQuoted(std::string_view& text, std::string& out) {
    if (text.empty() || text.front() != '"') return false;
    out.clear();
    for (std::size_t i = 1; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"') {
            text.remove_prefix(i + 1);
            return true;
        }
        if (c == '\\') {
            if (++i == text.size() || (text[i] != '\\' && text[i] != '"')) return false;
        }
        out += text[i];
    }
    return false;
}

// Comma-separated bytes; a line ending in "\" goes on in the next one.
bool readHexBytes(TextReader& in, std::string_view first, std::string& bytes) {
    std::string all(trimmed(first));
    while (!all.empty() && all.back() == '\\') {
        all.pop_back();
        std::string next;
        if (!in.readLine(next)) return false;
        all += trimmed(next);
    }
    bytes.clear();
    std::string_view rest = trimmed(all);
    while (!rest.empty()) {
        const std::size_t comma = rest.find(',');
        std::uint32_t byte = 0;
        if (!parseHexNumber(trimmed(rest.substr(0, comma)), 2, byte)) return false;
        bytes += static_cast<char>(byte);
        if (comma == std::string_view::npos) break;
        rest.remove_prefix(comma + 1);
        if (trimmed(rest).empty()) return false;  // a trailing comma
    }
    return true;
}

// `unicode`: the string types' bytes are UTF-16LE (the new format), else ANSI.
bool parseData(TextReader& in, std::string_view data, RegValue& value, bool unicode) {
    if (!data.empty() && data.front() == '"') {
        value.type = RegType::Sz;
        return takeQuoted(data, value.data) && trimmed(data).empty();
    }
    constexpr std::string_view dword = "dword:";
    if (equalsNoCase(data.substr(0, dword.size()), dword)) {
        std::uint32_t number = 0;
        if (!parseHexNumber(trimmed(data.substr(dword.size())), 8, number)) return false;
        value.type = RegType::Dword;
        value.data.clear();
        for (int i = 0; i < 4; ++i, number >>= 8) value.data += static_cast<char>(number & 0xff);
        return true;
    }
    constexpr std::string_view hex = "hex";
    if (!equalsNoCase(data.substr(0, hex.size()), hex)) return false;
    data.remove_prefix(hex.size());
    value.type = RegType::Binary;
    if (!data.empty() && data.front() == '(') {
        const std::size_t close = data.find(')');
        if (close == std::string_view::npos || !parseHexNumber(data.substr(1, close - 1), 8, value.type)) return false;
        data.remove_prefix(close + 1);
    }
    if (data.empty() || data.front() != ':' || !readHexBytes(in, data.substr(1), value.data)) return false;
    if (isStringType(value.type)) {
        if (unicode) {
            if (value.data.size() % 2 != 0) return false;
            value.data = utf8FromUtf16le(value.data);
        } else if (!isValidUtf8(value.data)) {
            value.data = decodeWindows1252(value.data);
        }
    }
    const bool terminated = value.type == RegType::Sz || value.type == RegType::ExpandSz;
    if (terminated && !value.data.empty() && value.data.back() == '\0') value.data.pop_back();
    return true;
}

bool parseValueLine(TextReader& in, std::string_view line, std::string& name, RegValue& value, bool unicode) {
    if (line.front() == '@') {
        name.clear();
        line.remove_prefix(1);
    } else if (!takeQuoted(line, name)) {
        return false;
    }
    line = trimmed(line);
    if (line.empty() || line.front() != '=') return false;
    return parseData(in, trimmed(line.substr(1)), value, unicode);
}

}  // namespace

std::string_view hiveName(Hive hive) {
    for (const HiveRoot& root : roots)
        if (root.hive == hive) return root.name;
    return {};
}

bool splitKeyName(std::string_view name, Hive& hive, std::string& path) {
    const std::size_t slash = name.find('\\');
    const std::string_view rootName = name.substr(0, slash);
    for (const HiveRoot& root : roots) {
        if (!equalsNoCase(rootName, root.name)) continue;
        if (slash != std::string_view::npos && slash + 1 == name.size()) return false;
        hive = root.hive;
        path = slash == std::string_view::npos ? std::string() : std::string(name.substr(slash + 1));
        return true;
    }
    return false;
}

Status writeRegFile(TextWriter& out, const std::vector<RegKeyImage>& keys) {
    for (const RegKeyImage& key : keys) {
        if (!writableKeyName(key.name)) return Status::InvalidName;
        for (const auto& [name, value] : key.values)
            if (!writableValueName(name)) return Status::InvalidName;
    }
    Utf16Writer text(out);
    Status s = text.writeLine(header);
    if (succeeded(s)) s = text.writeLine("");
    for (const RegKeyImage& key : keys) {
        if (succeeded(s)) s = text.writeLine("[" + key.name + "]");
        for (const auto& [name, value] : key.values)
            if (succeeded(s)) s = writeValue(text, name, value);
        if (succeeded(s)) s = text.writeLine("");
    }
    return s;
}

bool readRegFile(TextReader& in, std::vector<RegKeyImage>& keys) {
    keys.clear();
    std::string line;
    // regedit skips blanks before the header and takes nothing after it.
    if (!in.readLine(line)) return false;
    const std::string_view first = withoutLeadingBlanks(line);
    if (first != header && first != oldHeader) return false;
    const bool unicode = first == header;
    while (in.readLine(line)) {
        const std::string_view text = trimmed(line);
        if (text.empty() || text.front() == ';') continue;
        if (text.front() == '[') {
            if (text.back() != ']' || text.size() < 3 || text[1] == '-') return false;
            keys.push_back({std::string(text.substr(1, text.size() - 2)), {}});
            continue;
        }
        std::string name;
        RegValue value;
        if (keys.empty() || !parseValueLine(in, text, name, value, unicode)) return false;
        keys.back().values.emplace_back(std::move(name), std::move(value));
    }
    return succeeded(in.status());
}

}  // namespace quillon::undo
