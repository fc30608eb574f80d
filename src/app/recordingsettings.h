#pragma once

#include "userdata/settingsstore.h"

#include <string>

namespace quorvel {

class MediaPlayer;

// The viewer's settings for pausing live channels and for recordings, put to the player:
// "timeshift.minutes" and "timeshift.megabytes" bound the buffer of a paused channel (30 and
// 2048 when unset), "recordings.folder" is where recordings go (the videos folder when unset).
// A value that is no number, or out of bounds, leaves the default.
void ApplyRecordingSettings(MediaPlayer& player, const SettingsStore::Values& values);

// The same, read from the settings that go with the catalogue file; unreadable settings leave
// the defaults.
void ApplyRecordingSettings(MediaPlayer& player, const std::string& catalogueFile);

} // namespace quorvel
