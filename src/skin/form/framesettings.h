#pragma once

#include <QColor>
#include <QFont>

namespace quorvel {

// What a window asks of its frame beyond the skin: the caption buttons, the smallest size, and
// the fonts and colours the plain frame and the menus fall back on.
struct FrameSettings {
    FrameSettings();

    // The caption buttons drawn from a state picture vanish.
    bool HideCaptionButtons = false;
    // The smallest window the user may size to; 0 for the frame's own.
    int MinWidth = 0, MinHeight = 0;
    QFont DefCaptionFont, DefInActiveCaptionFont, DefMenuItemFont;
    QColor DefCaptionFontColor, DefInActiveCaptionFontColor;
};

} // namespace quorvel
