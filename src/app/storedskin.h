#pragma once

#include <string>

namespace quorvel {

// The program's own skin as built from resources/skin: the stored skin's "CompressedData".
std::string StoredSkinData();

} // namespace quorvel
