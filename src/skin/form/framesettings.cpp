#include "skin/form/framesettings.h"

#include "skin/render/skinfont.h"

#include <QPalette>

namespace quorvel {
namespace {

// The default face of the frame's fonts, "宋体", as the skin engine spells it.
constexpr const char* kSongTi = "\xCB\xCE\xCC\xE5";

} // namespace

FrameSettings::FrameSettings()
{
    DefCaptionFont = SkinFont(kSongTi, 12, FontStyle{true, false, false, false});
    DefInActiveCaptionFont = DefCaptionFont;
    DefMenuItemFont = SkinFont(kSongTi, 12, FontStyle{});
    const QPalette palette;
    DefCaptionFontColor = palette.color(QPalette::ButtonText);
    DefInActiveCaptionFontColor = palette.color(QPalette::Dark);
}

} // namespace quorvel
