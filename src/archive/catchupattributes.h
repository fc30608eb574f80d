#pragma once

#include <string>
#include <string_view>

namespace quorvel {

// What a playlist says about a channel's archive, as written: on the channel's "#EXTINF" line,
// or on the "#EXTM3U" line as the default for every channel. An empty value counts as absent,
// as playlists write catchup="" for "none".
struct CatchupAttributes {
    std::string catchup;     // catchup: the mode
    std::string catchupType; // catchup-type: the mode, for lists without catchup
    std::string days;        // catchup-days
    std::string source;      // catchup-source: an address or a tail, with placeholders
    std::string correction;  // catchup-correction: hours, may be decimal or negative
    std::string timeshift;   // timeshift: days of the shift mode
    std::string tvgRec;      // tvg-rec: days of the shift mode
};

// Keeps value in attributes when name (without regard to case) is one of the catch-up
// attributes; returns whether it was.
bool TakeCatchupAttribute(CatchupAttributes& attributes, std::string_view name, std::string_view value);

} // namespace quorvel
