#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace quorvel {

// A guide's time, "YYYYMMDDhhmmss" (minutes and seconds, or hours too, may be left off) with an
// optional zone "+hhmm", "-hhmm", "+hh:mm", "+hh" or a zone's name ("Z", "UTC", "BST", "CEST",
// "PST", ..., in any letter case), as the UTC instant in seconds since 1970. No zone means UTC.
// Nothing for text that is no such time.
std::optional<std::int64_t> ParseGuideTime(std::string_view text);

// Seconds since 1970 of a UTC calendar time, for fields already checked.
std::int64_t UtcSeconds(int year, int month, int day, int hour, int minute, int second);

} // namespace quorvel
