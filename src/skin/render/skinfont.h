#pragma once

#include "skin/definition/skinvalues.h"

#include <QFont>

#include <string>

namespace quorvel {

// A font of the skin: the face as the definition spells it (GB2312 bytes for the built-in
// Chinese face), the height in pixels and the style words.
QFont SkinFont(const std::string& face, int pixelHeight, const FontStyle& style);

} // namespace quorvel
