#pragma once

#include <string_view>

namespace quorvel {

// The characters of a single-byte encoding guides are still written in (Cyrillic and Central
// European code pages, Western Windows), by the encoding's name in any letter case: map[b] is
// the Unicode character of byte b, -1 for a byte that stands for none. False for an encoding not
// known here.
bool SingleByteEncoding(std::string_view name, int map[256]);

} // namespace quorvel
