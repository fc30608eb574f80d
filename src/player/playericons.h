#pragma once

#include <QIcon>

namespace quorvel {

enum class PlayerGlyph { Play, Pause, Stop, Sound, Muted, FullScreen, LeaveFullScreen };

// Light glyphs for the player's dark control bar, drawn at any size.
QIcon PlayerIcon(PlayerGlyph glyph);

} // namespace quorvel
