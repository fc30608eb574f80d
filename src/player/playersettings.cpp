#include "player/playersettings.h"

#include "player/mpvcore.h"

namespace quorvel {

bool PlayerSettings::Mute() const { return core_.Flag(MpvProperty::Mute); }

void PlayerSettings::SetMute(bool muted) { core_.SetFlag(MpvProperty::Mute, muted); }

} // namespace quorvel
