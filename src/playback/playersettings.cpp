#include "playback/playersettings.h"

#include "playback/mpvcore.h"

#include <algorithm>

namespace quorvel {

bool PlayerSettings::Mute() const { return core_.Flag(MpvProperty::Mute); }

void PlayerSettings::SetMute(bool muted) { core_.SetFlag(MpvProperty::Mute, muted); }

int PlayerSettings::Volume() const { return static_cast<int>(core_.Double(MpvProperty::Volume) + 0.5); }

void PlayerSettings::SetVolume(int volume) { core_.SetDouble(MpvProperty::Volume, std::clamp(volume, 0, 100)); }

} // namespace quorvel
