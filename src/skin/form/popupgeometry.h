#pragma once

#include "skin/definition/skinvalues.h"

#include <QPoint>
#include <QRect>

#include <vector>

namespace quorvel {

// Where a skinned popup menu goes on the screen, and where its items sit in it. Plain
// arithmetic on the popup's size, its anchor and the monitor's work area.
namespace popupgeometry {

// The items area of a popup of width x height: from the skin's "itemsrect" grown with the
// popup (picture pictureWidth x pictureHeight), or two pixels in from the edges without a skin.
SkinRect ItemsArea(bool skinned, const SkinRect& itemsRect, int pictureWidth, int pictureHeight, int width, int height);

struct ItemPlaces {
    std::vector<SkinRect> rects; // one per item, valid where visible
    std::vector<bool> visible;
    int visibleCount = 0;
};
// Stacks the items from firstVisible down the items area (ten pixels in at both ends while
// scrolling); an item that would pass the bottom ends the run.
ItemPlaces PlaceItems(const std::vector<int>& heights, const SkinRect& itemsArea, int firstVisible, bool scrolling);

struct Placement {
    QPoint position;
    bool shifted = false; // it could not go where it was meant to and moved aside
};
// The popup's top-left corner for its size, its anchor (screen coordinates), the work area and
// the way it opens; itemsTop is the items area's top, which a submenu lines up with its item.
Placement Position(QSize size, const QRect& anchor, const QRect& workArea, bool submenu, bool openUpwards,
                   bool scrolling, int itemsTop);

// The first index from which the last items fill the height between the scroll markers.
int LastPageStart(const std::vector<int>& heights, int available);

} // namespace popupgeometry
} // namespace quorvel
