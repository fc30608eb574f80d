#pragma once

#include "archive/catchup.h"
#include "archive/catchupattributes.h"

#include <string>

namespace quorvel {

enum class CatchupState {
    None,    // the playlist gives the channel no archive
    Ready,   // catchup holds it
    Refused, // the playlist names an archive that cannot be used; reason says why
};

struct CatchupOutcome {
    CatchupState state = CatchupState::None;
    Catchup catchup;
    std::string reason; // one line, no address credentials
};

// How many days an archive reaches when the playlist names a mode without days.
inline constexpr int kDefaultCatchupDays = 5;
// The most days a playlist may give; more is a typing error, not an archive.
inline constexpr int kMaxCatchupDays = 3650;
// The longest catchup-source read; a playlist's line is bounded, this keeps addresses sane too.
inline constexpr std::size_t kMaxCatchupSource = 4096;

// The channel's catch-up: each of its attributes over the same one of the playlist's defaults,
// then checked. "timeshift" or "tvg-rec" without a mode mean the shift mode with those days; a
// catchup-source without a mode means the default mode; "default" with a source that is no whole
// address (no "scheme://") appends it. Days of 0, or nothing that says how to reach an archive,
// mean no catch-up. Everything else that cannot be used is refused with its reason.
CatchupOutcome ReadCatchup(const CatchupAttributes& channel, const CatchupAttributes& defaults);

} // namespace quorvel
