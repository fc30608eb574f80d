#pragma once

#include <QString>

#include <cstdint>
#include <vector>

namespace quorvel {

// One sound track of what plays, as the player lists it.
struct AudioTrack {
    std::int64_t id = 0;
    QString language; // as the stream tags it ("eng", "de"); may be empty
    QString title;    // the stream's own name for it; may be empty
    bool selected = false;

    bool operator==(const AudioTrack&) const = default;
};

using AudioTracks = std::vector<AudioTrack>;

// What a menu calls the track: its language in words, its title, else its number.
QString AudioTrackLabel(const AudioTrack& track);

} // namespace quorvel
