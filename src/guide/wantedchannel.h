#pragma once

#include <optional>
#include <string>

namespace quorvel {

// A channel of the catalogue whose programmes the guide is read for, as its playlist names it.
struct WantedChannel {
    std::string name;                 // the title the viewer sees
    std::string tvgId;                // "tvg-id": the guide channel's id
    std::string tvgName;              // "tvg-name": a guide channel's display name, "_" for spaces
    std::optional<double> shiftHours; // "tvg-shift" of the channel; else the playlist's
};

} // namespace quorvel
