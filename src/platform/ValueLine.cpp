#include "platform/ValueLine.h"

#include <cstdio>
#include <cstring>

#include "platform/Digest.h"

namespace quillon {

namespace {

constexpr char Hex[] = "0123456789abcdef";

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool isTextType(std::uint32_t type) {
    return type == RegType::Sz || type == RegType::ExpandSz || type == RegType::MultiSz;
}

bool readNumber(std::string_view text, std::size_t& at, std::uint64_t& out) {
    const std::size_t start = at;
    out = 0;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9' && at - start < 19)
        out = out * 10 + static_cast<std::uint64_t>(text[at++] - '0');
    return at > start;
}

std::uint64_t littleEndian(std::string_view bytes) {
    std::uint64_t v = 0;
    for (std::size_t i = bytes.size(); i-- > 0;) v = (v << 8) | static_cast<unsigned char>(bytes[i]);
    return v;
}

}  // namespace

std::string escapeField(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        if (c == '\t' || c == '\r' || c == '\n' || c == '\0' || c == '%') {
            const auto b = static_cast<unsigned char>(c);
            out += '%';
            out += Hex[b >> 4];
            out += Hex[b & 15];
        } else {
            out += c;
        }
    }
    return out;
}

std::string unescapeField(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && hexValue(text[i + 1]) >= 0 && hexValue(text[i + 2]) >= 0) {
            out += static_cast<char>(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string encodeValueData(const RegValue& value) {
    std::string out = std::to_string(value.type);
    if (value.data.size() > WholeDataLimit)
        return out + "#" + std::to_string(value.data.size()) + ":" + digestText(digestOf(value.data));
    if (isTextType(value.type)) return out + "'" + escapeField(value.data);
    out += ':';
    for (const char c : value.data) {
        const auto b = static_cast<unsigned char>(c);
        out += Hex[b >> 4];
        out += Hex[b & 15];
    }
    return out;
}

bool isDigestOnly(std::string_view data) {
    const std::size_t mark = data.find_first_not_of("0123456789");
    return mark != std::string_view::npos && data[mark] == '#';
}

bool decodeValueData(std::string_view data, RegValue& out) {
    std::size_t at = 0;
    std::uint64_t type = 0;
    if (!readNumber(data, at, type) || at >= data.size() || type > 0xFFFFFFFFu) return false;
    const char mark = data[at++];
    const std::string_view rest = data.substr(at);
    RegValue v{static_cast<std::uint32_t>(type), {}};
    if (mark == '\'') {
        v.data = unescapeField(rest);
    } else if (mark == ':' && rest.size() % 2 == 0) {
        for (std::size_t i = 0; i < rest.size(); i += 2) {
            const int hi = hexValue(rest[i]);
            const int lo = hexValue(rest[i + 1]);
            if (hi < 0 || lo < 0) return false;
            v.data += static_cast<char>(hi * 16 + lo);
        }
    } else {
        return false;
    }
    out = std::move(v);
    return true;
}

std::string displayValueData(std::string_view data) {
    RegValue v;
    if (!decodeValueData(data, v)) {
        const std::size_t size = data.find(':');
        const std::size_t mark = data.find('#');
        if (mark == std::string_view::npos || size == std::string_view::npos) return std::string(data);
        return "(" + std::string(data.substr(mark + 1, size - mark - 1)) + " bytes, not kept)";
    }
    if (v.type == RegType::Sz || v.type == RegType::ExpandSz) return v.data;
    if (v.type == RegType::MultiSz) {
        std::string out;
        for (const char c : v.data) out += c == '\0' ? ' ' : c;
        while (!out.empty() && out.back() == ' ') out.pop_back();
        return out;
    }
    if ((v.type == RegType::Dword && v.data.size() == 4) || (v.type == RegType::Qword && v.data.size() == 8)) {
        const std::uint64_t n = littleEndian(v.data);
        char text[48];
        std::snprintf(text, sizeof text, v.type == RegType::Dword ? "0x%08llx (%llu)" : "0x%016llx (%llu)",
                      static_cast<unsigned long long>(n), static_cast<unsigned long long>(n));
        return text;
    }
    std::string out;
    for (const char c : v.data) {
        const auto b = static_cast<unsigned char>(c);
        if (!out.empty()) out += ' ';
        out += Hex[b >> 4];
        out += Hex[b & 15];
    }
    return out;
}

std::string valueLine(const ValueLine& value) {
    return escapeField(value.key) + '\t' + escapeField(value.name) + '\t' + value.data;
}

bool parseValueLine(std::string_view line, ValueLine& out) {
    const std::size_t first = line.find('\t');
    if (first == std::string_view::npos) return false;
    const std::size_t second = line.find('\t', first + 1);
    if (second == std::string_view::npos || line.find('\t', second + 1) != std::string_view::npos) return false;
    out.key = unescapeField(line.substr(0, first));
    out.name = unescapeField(line.substr(first + 1, second - first - 1));
    out.data = std::string(line.substr(second + 1));
    return true;
}

}  // namespace quillon
