#include "skin/controls/controlfont.h"

#include "skin/data/dataskincontrols.h"
#include "skin/render/skinfont.h"

namespace quorvel {

QFont DefaultControlFont() { return SkinFont(DefaultSkinFontName, 12, FontStyle{}); }

} // namespace quorvel
