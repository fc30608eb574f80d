#pragma once

#include "playback/audiotrack.h"

#include <mpv/client.h>

namespace quorvel {

// The sound tracks in mpv's "track-list" node, in its order; nothing for a node of another shape.
AudioTracks AudioTracksIn(const mpv_node& trackList);

} // namespace quorvel
