#pragma once

#include <QFont>

namespace quorvel {

// The face "宋体" at 12 pixels: the font of the skinned controls until one is given.
QFont DefaultControlFont();

} // namespace quorvel
