#include "skin/form/popupgeometry.h"

#include <algorithm>

namespace quorvel::popupgeometry {

SkinRect ItemsArea(bool skinned, const SkinRect& I, int PW, int PH, int W, int H)
{
    if (!skinned)
        return SkinRect{2, 2, W - 2, H - 2};
    return SkinRect{I.left, I.top, I.right + W - PW, I.bottom + H - PH};
}

ItemPlaces PlaceItems(const std::vector<int>& heights, const SkinRect& area, int firstVisible, bool scrolling)
{
    ItemPlaces places;
    const std::size_t n = heights.size();
    places.rects.assign(n, SkinRect{});
    places.visible.assign(n, false);
    int y = area.top + (scrolling ? 10 : 0);
    const int bottom = area.bottom - (scrolling ? 10 : 0);
    for (std::size_t i = firstVisible < 0 ? 0 : static_cast<std::size_t>(firstVisible); i < n; ++i) {
        const SkinRect r{area.left, y, area.right, y + heights[i]};
        if (r.bottom > bottom)
            break;
        places.rects[i] = r;
        places.visible[i] = true;
        ++places.visibleCount;
        y = r.bottom;
    }
    return places;
}

Placement Position(QSize size, const QRect& A, const QRect& R, bool submenu, bool openUpwards, bool scrolling,
                   int itemsTop)
{
    // Screen rectangles with exclusive right and bottom edges, as the rules have them.
    const int aLeft = A.left(), aTop = A.top(), aRight = A.left() + A.width(), aBottom = A.top() + A.height();
    const int rLeft = R.left(), rTop = R.top(), rRight = R.left() + R.width(), rBottom = R.top() + R.height();
    const int W = size.width(), H = size.height();
    const bool upperHalf = aTop < rTop + R.height() / 2;
    Placement p;
    int y = 0;
    if (scrolling) {
        y = rTop;
    } else if (submenu) {
        if (aTop - itemsTop + H <= rBottom)
            y = aTop - itemsTop;
        else if (upperHalf)
            y = rBottom - H;
        else
            y = std::max(rTop, aBottom + itemsTop - H);
    } else if (openUpwards) {
        if (aTop - H >= rTop) {
            y = aTop - H;
        } else {
            p.shifted = true;
            y = upperHalf ? (aBottom + H <= rBottom ? aBottom : rBottom - H) : rTop;
        }
    } else if (aBottom + H <= rBottom) {
        y = aBottom;
    } else if (upperHalf) {
        y = rBottom - H;
        p.shifted = true;
    } else if (aTop - H >= rTop) {
        y = aTop - H;
    } else {
        y = rTop;
        p.shifted = true;
    }
    int x = 0;
    if (submenu || scrolling || p.shifted) {
        x = aRight + W + 1 <= rRight ? aRight + 1 : aLeft - W - 1;
    } else {
        x = aLeft;
        if (x + W > rRight)
            x = rRight - W;
        if (x < rLeft)
            x = rLeft;
    }
    p.position = QPoint(x, y);
    return p;
}

int LastPageStart(const std::vector<int>& heights, int available)
{
    int used = 0;
    int i = static_cast<int>(heights.size());
    while (i > 0 && used + heights[static_cast<std::size_t>(i - 1)] <= available) {
        used += heights[static_cast<std::size_t>(i - 1)];
        --i;
    }
    return i;
}

} // namespace quorvel::popupgeometry
