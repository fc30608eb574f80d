#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>

namespace quorvel {

// How reading a guide went, for the store and the viewer.
struct GuideOutcome {
    bool complete = false;      // read to its end, undamaged
    std::string problem;        // why not; empty when complete
    std::size_t programmes = 0; // handed to the sink
    std::size_t channels = 0;   // wanted channels that were given programmes
    std::size_t matched = 0;    // wanted channels the guide has a channel for
    std::size_t leftOut = 0;    // programmes of channels not declared before them, past the room kept
    // Where the guide ends: the latest stop handed out (UTC seconds); the lowest value when none
    // was. A guide that ends within hours wants reading again.
    std::int64_t lastStop = std::numeric_limits<std::int64_t>::min();
};

} // namespace quorvel
