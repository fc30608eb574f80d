#pragma once

#include <cstdint>
#include <string>

namespace quorvel {

// One programme of a channel's guide. Times are UTC instants in seconds since 1970.
struct Programme {
    std::int64_t start = 0;
    std::int64_t stop = 0;
    // Its place among the programmes a guide gives one slot together ("News", then "Weather"):
    // they share the start, and are told in this order. 0 for a programme alone in its slot.
    int clump = 0;
    std::string title;
    std::string subTitle;
    std::string description;
    std::string category;
};

} // namespace quorvel
