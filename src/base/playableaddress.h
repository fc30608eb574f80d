#pragma once

#include <string_view>

namespace quorvel {

// Whether the player may open an address taken from a file: network streams by the schemes of
// internet television, and local files. mpv also knows addresses that reach into the program
// itself or run filter graphs ("fd://", "fdclose://", "av://", "lavfi://", "-" for standard
// input and the like); a catalogue or ad list shared by others must never reach those.
bool IsPlayableAddress(std::string_view address);

} // namespace quorvel
