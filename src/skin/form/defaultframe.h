#pragma once

#include "skin/definition/skinvalues.h"

#include <QFont>
#include <QSize>
#include <QString>

class QPainter;

namespace quorvel {

class FrameObjects;

// The plain frame drawn when no skin is in use: a caption bar with ridged lines, the caption
// text centred in it, 17-pixel caption buttons at its right and a three-pixel bevelled border.
class DefaultFrame {
public:
    static constexpr int CaptionHeight = 19;
    static constexpr int ButtonSize = 17;

    // Places the caption buttons of the default set and gives the caption text rectangle.
    static SkinRect Layout(FrameObjects& objects, int width, bool showIcon, QSize smallIcon);
    // Paints the whole frame around the client area (3, caption + 3, W - 3, H - 3).
    static void Paint(QPainter& painter, int width, int height, const SkinRect& captionTextRect, const QString& caption,
                      const QFont& font, const QColor& textColour, FrameObjects& objects);
};

} // namespace quorvel
