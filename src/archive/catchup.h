#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quorvel {

// How a channel's archive address is made from its live address.
enum class CatchupMode {
    Default,   // the source is the whole address
    Append,    // the live address followed by the source
    Shift,     // the live address with utc and lutc added to its query
    Flussonic, // a Flussonic server's timeshift path (also "flussonic-hls", "flussonic-ts", "fs")
    Xc,        // an Xtream Codes server's /timeshift/ path
};

// The mode's name as playlists write it ("default", "append", "shift", "flussonic", "xc").
std::string_view CatchupModeName(CatchupMode mode);
// The mode a playlist's name stands for, any case; none for a name of no mode.
std::optional<CatchupMode> CatchupModeNamed(std::string_view name);

// A channel's catch-up, checked.
struct Catchup {
    CatchupMode mode = CatchupMode::Default;
    int days = 0;              // how far back the archive reaches, at least 1
    std::string source;        // for Default and Append; blanks at its ends taken off
    int correctionMinutes = 0; // catchup-correction, added to the provider's zone offset
};

} // namespace quorvel
