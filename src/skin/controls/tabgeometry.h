#pragma once

#include "skin/definition/skinvalues.h"

#include <QTabWidget>

namespace quorvel {

// The page area and tab rectangles of a tab control, as plain numbers. A plain tab control puts
// its pages 4 pixels inside its border, and on the side of its tabs beyond the row of tabs (a
// row of depth d): 7 more pixels above its pages (the 2 pixels a selected tab rises and the
// border), 5 below and beside them; pages on other sides start 6 pixels down. Its tabs it
// reports 2 pixels inside its border. The skinned control moves both: its tabs to its very
// edge, and its pages to the frame its skin section draws (or to a one-pixel frame).
struct TabGeometry {
    QTabWidget::TabPosition position = QTabWidget::North;
    int W = 0, H = 0; // the control's size
    int depth = 20;   // the tab height (the strip's depth)
    bool skinned = false;
    int skinWidth = 0, skinHeight = 0; // W0 x H0: "skinrect"
    SkinRect clientRect;               // "clientrect" (cl, ct, cr, cb)

    bool Horizontal() const { return position == QTabWidget::North || position == QTabWidget::South; }
    // Exclusive right and bottom edges, as the skin's rectangles.
    SkinRect NativePageArea() const;
    SkinRect PageArea() const;
    // Where the skin's frame lies: the page area grown by the frame's edges.
    SkinRect FrameRect() const;
    // The band of tabs between the control's edge and the frame.
    SkinRect StripRect() const;
    // A tab's rectangle as the plain control reports it, and as the skinned control takes it.
    SkinRect NativeTabRect(const SkinRect& flush) const;
    SkinRect TabRect(const SkinRect& native, bool multiLine) const;
    // Where a tab's image of that size lands for a tab at r: anchored at the control's edge, so
    // an image taller than its tab (the selected one rising over the frame) reaches inwards.
    SkinRect TabImageRect(const SkinRect& r, int imageWidth, int imageHeight) const;
};

} // namespace quorvel
