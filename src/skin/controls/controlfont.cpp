#include "controlfont.h"

#include "dataskincontrols.h"
#include "skinfont.h"

namespace quorvel {

QFont DefaultControlFont() { return SkinFont(DefaultSkinFontName, 12, FontStyle{}); }

} // namespace quorvel
