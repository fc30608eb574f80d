#include "watching/playbackcontrol.h"

namespace quorvel {

PlaybackControl::~PlaybackControl() = default;

} // namespace quorvel
