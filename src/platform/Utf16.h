#pragma once
// UTF-16 little-endian bytes, the text of registry files as regedit writes them today.
#include <string>
#include <string_view>

namespace quillon {

// UTF-8 text as UTF-16LE bytes; a byte that is not UTF-8 becomes U+FFFD.
std::string utf16leBytes(std::string_view utf8);
// UTF-16 code units (UTF-16LE bytes taken two by two) as UTF-8; a lone surrogate becomes
// U+FFFD, as the system converts it. A last odd byte is dropped.
std::string utf8FromUtf16(std::u16string_view units);
std::string utf8FromUtf16le(std::string_view bytes);

}  // namespace quillon
