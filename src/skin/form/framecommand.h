#pragma once

#include "skin/definition/skinvalues.h"

namespace quorvel {

class SkinObjectOwner;

// Carries out a caption button's command on its frame: close, maximize or restore, minimize
// or restore (to the tray when the frame always minimizes there), roll up or down, to the tray.
// The system menu and the application's own commands are left to the caller: false for them.
bool RunFrameCommand(SkinObjectOwner& frame, SkinCommand command);

} // namespace quorvel
