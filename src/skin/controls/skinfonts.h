#pragma once

#include "skinvalues.h"

#include <QFont>
#include <QString>
#include <string>

namespace quorvel {

// A face name of the skin definition as text: the GB2312 name of the default face, otherwise
// UTF-8 (plain ASCII in every skin seen), or Latin-1 where the bytes are not UTF-8.
QString SkinFontFace(const std::string& name);
// The font a skin section describes: face, height in pixels and style words.
QFont SkinFont(const std::string& name, int height, const FontStyle& style);
// The face "宋体" at 12 pixels: the default font of the skinned controls.
QFont DefaultControlFont();

} // namespace quorvel
