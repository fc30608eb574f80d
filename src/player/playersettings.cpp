#include "player/playersettings.h"

#include "player/mpvcore.h"

namespace quorvel {

bool PlayerSettings::mute() const { return core_.Flag(MpvProperty::Mute); }

void PlayerSettings::setMute(bool muted) { core_.SetFlag(MpvProperty::Mute, muted); }

} // namespace quorvel
