#pragma once
// A registry value in one line of text, as the value snapshots ("hkcuVal.qdb", "hklmVal.qdb"),
// the value changes files and the removal lists keep it: the key path, the value's name and
// its data, separated by tabs. Data: "<type>'<text>" for the string types, "<type>:<hex
// bytes>" for the others, and above WholeDataLimit bytes "<type>#<size>:<digest>", which tells
// a change but cannot put the data back. Tab, CR, LF, NUL and "%" are written "%XX" in every
// part, so no line ever breaks and any name reads back as it was.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Registry.h"

namespace quillon {

inline constexpr std::size_t WholeDataLimit = 64 * 1024;

struct ValueLine {
    std::string key;   // as the walk spells it, without the hive
    std::string name;  // "" is the default value
    std::string data;  // encoded
};

std::string encodeValueData(const RegValue& value);
// False for a digest (the data itself was not kept) and for text that is no encoded data.
bool decodeValueData(std::string_view data, RegValue& out);
bool isDigestOnly(std::string_view data);
// The data as the user reads it: text as it is, numbers in hex and decimal, bytes in hex.
std::string displayValueData(std::string_view data);

std::string valueLine(const ValueLine& value);
bool parseValueLine(std::string_view line, ValueLine& out);

// Escaping alone, for other lines that carry keys, names and data.
std::string escapeField(std::string_view text);
std::string unescapeField(std::string_view text);

}  // namespace quillon
