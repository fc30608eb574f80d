#pragma once

#include <string>
#include <string_view>

namespace quorvel {

// A channel or category name (UTF-8) made fit to stand as a catalogue key, and as a value that
// reads back as written: control characters and line breaks become blanks, "=" becomes "-", a
// leading "[" with its "]" become "(" and ")", leading ";" go, as do surrounding blanks and a
// surrounding pair of quotes; at most MaxNameBytes bytes, cut between characters. Empty when
// nothing is left.
std::string SafeName(std::string_view name);

// Whether SafeName leaves the name as it is (most names are safe: they need no copy).
bool IsSafeName(std::string_view name);

constexpr std::size_t MaxNameBytes = 200;

// A text as a listing shows it: at most about most bytes, cut between UTF-8 characters and
// ended with "..." where cut, line breaks and control characters as blanks.
std::string ShortText(std::string_view text, std::size_t most = 60);

} // namespace quorvel
