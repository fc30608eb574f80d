#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

// The guide addresses a playlist's "#EXTM3U" line names in x-tvg-url or url-tvg: one or more,
// separated by commas, blanks around each ignored, empty ones and repeats left out.
std::vector<std::string> GuideAddresses(std::string_view attribute);

} // namespace quorvel
