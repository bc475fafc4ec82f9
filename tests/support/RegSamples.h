#pragma once
// A key tree holding every kind of value, in the forms that are easy to lose on the way
// through a text file: empty ones, quotes, backslashes, line breaks, long data.
#include <string>
#include <vector>

#include "platform/Registry.h"

namespace quillon::fakes {

struct SampleValue {
    std::string key;  // below the tree's own key; "" is that key
    std::string name;
    RegValue value;
};

inline std::string bytePattern(std::size_t length) {
    std::string bytes;
    while (bytes.size() < length) bytes += static_cast<char>(bytes.size() * 7 % 256);
    return bytes;
}

inline std::vector<SampleValue> sampleKeyTree() {
    using namespace std::string_literals;
    return {
        {"", "", {RegType::Sz, "the default"}},
        {"", "Text", {RegType::Sz, "plain text"}},
        {"", "EmptyText", {RegType::Sz, ""}},
        {"", "Say \"hi\" \\ there", {RegType::Sz, "C:\\dir\\ \"quoted\" \\"}},
        {"", "Lines", {RegType::Sz, "one\r\ntwo\tthree"}},
        {"", "Accented", {RegType::Sz, "caf\xe9"}},
        {"", "Expand", {RegType::ExpandSz, "%TEMP%\\sub"}},
        {"", "EmptyExpand", {RegType::ExpandSz, ""}},
        {"", "Multi", {RegType::MultiSz, "first\0second\0\0"s}},
        {"", "EmptyMulti", {RegType::MultiSz, ""}},
        {"", "BlankMulti", {RegType::MultiSz, "\0"s}},
        {"", "Nul inside", {RegType::Sz, "a\0b"s}},
        {"", "Dword", {RegType::Dword, "\x2a\0\0\0"s}},
        {"", "ShortDword", {RegType::Dword, "\x01\x02"s}},
        {"", "Qword", {RegType::Qword, "\x01\x02\x03\x04\x05\x06\x07\x80"s}},
        {"", "Binary", {RegType::Binary, "\0\x01\x7f\x80\xff"s}},
        {"", "EmptyBinary", {RegType::Binary, ""}},
        {"", "LongBinary", {RegType::Binary, bytePattern(300)}},
        {"", "None", {RegType::None, ""}},
        {"", "Unknown type", {0x103, "\x05"s}},
        {"", "Caf\xe9", {RegType::Sz, "x"}},
        {"Caf\xe9 key", "v", {RegType::Sz, "x"}},
        {"Nested\\Deeper", "Deep", {RegType::Sz, "deep"}},
        {"Nested\\Deeper\\Deepest", "Link", {RegType::Link, "\x10\x20"s}},
    };
}

// Keys of the tree that hold no value.
inline std::vector<std::string> sampleEmptyKeys() { return {"Empty", "Nested\\Also Empty"}; }

}  // namespace quillon::fakes
