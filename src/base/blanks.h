#pragma once

#include <string_view>

namespace quorvel {

// Blanks inside a line of text: space and tab.
bool IsBlank(char c);
// The text without blanks at either end; a carriage return counts as a blank there, so a line
// cut from a file with CR LF or CR line ends reads as the same line.
std::string_view TrimBlanks(std::string_view text);

} // namespace quorvel
