#pragma once

#include "skin/form/framegeometry.h"
#include "skin/form/framestate.h"

#include <QImage>

namespace quorvel {

// The four bands of the window outline at the frame's present size: black pixels lie inside.
struct MaskStrips {
    QImage top, bottom, left, right;
    bool AllEmpty() const;
};

// Whether the window point lies inside the outline the mask gives the window.
bool PointInMaskShape(int x, int y, const SkinRect& maskArea, const MaskStrips& strips);

// What the frame knows when it answers what a point is.
struct HitTestState {
    int width = 0, height = 0; // the window
    bool sizeable = false;     // the border lets the user size the window
    bool maximized = false, minimized = false, rolledUp = false;
    bool objectHot = false; // a frame object is under the pointer
    bool inSizeMove = false;
    bool inCaption = false; // the point lies on a caption object
};

// The answer with a skin in use.
int SkinnedHitTest(int x, int y, const HitTestState& state, const FrameGeometry& geometry, int borderWidth,
                   bool hasMask, const MaskStrips& strips);
// The answer of the default frame; captionTextRect is where its caption text goes.
int DefaultHitTest(int x, int y, const HitTestState& state, const SkinRect& captionTextRect, int captionHeight);

} // namespace quorvel
