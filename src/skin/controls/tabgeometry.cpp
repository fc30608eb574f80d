#include "skin/controls/tabgeometry.h"

namespace quorvel {

SkinRect TabGeometry::NativePageArea() const
{
    const int d = depth;
    switch (position) {
    case QTabWidget::North:
        return SkinRect{4, d + 7, W - 4, H - 4};
    case QTabWidget::South:
        return SkinRect{4, 6, W - 4, H - d - 5};
    case QTabWidget::West:
        return SkinRect{d + 5, 6, W - 4, H - 4};
    case QTabWidget::East:
        return SkinRect{4, 6, W - d - 5, H - 4};
    }
    return {};
}

SkinRect TabGeometry::PageArea() const
{
    const SkinRect n = NativePageArea();
    if (!skinned) {
        switch (position) {
        case QTabWidget::North:
            return SkinRect{1, n.top - 5, W - 1, H - 1};
        case QTabWidget::South:
            return SkinRect{1, 1, W - 1, n.bottom + 3};
        case QTabWidget::West:
            return SkinRect{n.left - 3, n.top - 5, W - 1, H - 1};
        case QTabWidget::East:
            return SkinRect{n.left - 3, n.top - 5, n.right + 3, H - 1};
        }
        return {};
    }
    const SkinRect& c = clientRect;
    const int right = skinWidth - c.right, bottom = skinHeight - c.bottom; // the frame's far edges
    switch (position) {
    case QTabWidget::North:
        return SkinRect{c.left, n.top + c.top - 6, W - right, H - bottom};
    case QTabWidget::South:
        return SkinRect{c.left, n.top + c.top - 6, W - right, n.bottom + 4 - bottom};
    case QTabWidget::West:
        return SkinRect{n.left + c.left - 4, n.top + c.top - 6, W - right, H - bottom};
    case QTabWidget::East:
        return SkinRect{c.left, n.top + c.top - 6, n.right + 4 - right, H - bottom};
    }
    return {};
}

SkinRect TabGeometry::FrameRect() const
{
    const SkinRect p = PageArea();
    if (!skinned)
        return SkinRect{p.left - 1, p.top - 1, p.right + 1, p.bottom + 1};
    const SkinRect& c = clientRect;
    return SkinRect{p.left - c.left, p.top - c.top, p.right + skinWidth - c.right, p.bottom + skinHeight - c.bottom};
}

SkinRect TabGeometry::StripRect() const
{
    const SkinRect f = FrameRect();
    switch (position) {
    case QTabWidget::North:
        return SkinRect{0, 0, W, f.top};
    case QTabWidget::South:
        return SkinRect{0, f.bottom, W, H};
    case QTabWidget::West:
        return SkinRect{0, 0, f.left, H};
    case QTabWidget::East:
        return SkinRect{f.right, 0, W, H};
    }
    return {};
}

SkinRect TabGeometry::NativeTabRect(const SkinRect& r) const
{
    auto moved = [&r](int dx, int dy) { return SkinRect{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy}; };
    switch (position) {
    case QTabWidget::North:
        return moved(2, 2);
    case QTabWidget::South:
        return moved(2, -2);
    case QTabWidget::West:
        return moved(2, 0);
    case QTabWidget::East:
        return moved(-2, 0);
    }
    return r;
}

SkinRect TabGeometry::TabRect(const SkinRect& native, bool multiLine) const
{
    SkinRect r = native;
    auto shiftX = [&r](int d) { r.left += d, r.right += d; };
    auto shiftY = [&r](int d) { r.top += d, r.bottom += d; };
    switch (position) {
    case QTabWidget::North:
        if (!multiLine)
            shiftX(-2);
        shiftY(-2);
        break;
    case QTabWidget::South:
        if (!multiLine)
            shiftX(-2);
        shiftY(2);
        break;
    case QTabWidget::West:
        shiftX(-2);
        break;
    case QTabWidget::East:
        shiftX(2);
        break;
    }
    return r;
}

SkinRect TabGeometry::TabImageRect(const SkinRect& r, int w, int h) const
{
    switch (position) {
    case QTabWidget::North:
    case QTabWidget::West:
        return SkinRect{r.left, r.top, r.left + w, r.top + h};
    case QTabWidget::South:
        return SkinRect{r.left, r.bottom - h, r.left + w, r.bottom};
    case QTabWidget::East:
        return SkinRect{r.right - w, r.top, r.right, r.top + h};
    }
    return r;
}

} // namespace quorvel
