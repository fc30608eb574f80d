#pragma once

namespace quorvel {

// What an address added in the window is: told by its content, or as the viewer chose.
enum class SourceKind { ByContent, Playlist, Guide };

} // namespace quorvel
