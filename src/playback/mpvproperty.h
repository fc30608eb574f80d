#pragma once

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

} // namespace quorvel
