#pragma once

#include <mpv/client.h>

namespace quorvel {

// Every mpv property the player reads, writes or observes, in one place.
enum class MpvProperty {
    Pause,
    Mute,
    Volume,
    TimePos,
    Duration,
    Seekable,
    PausedForCache,
    CacheBufferingState,
    IdleActive,
    VideoTrack,
    TrackList,
    AudioId,
    AudioLanguage,
    Count
};

struct MpvPropertyInfo {
    MpvProperty id;
    const char* name;
    mpv_format format;
};

const MpvPropertyInfo& PropertyInfo(MpvProperty p);

} // namespace quorvel
