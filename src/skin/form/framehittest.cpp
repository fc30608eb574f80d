#include "skin/form/framehittest.h"

#include "skin/render/skinutils.h"

namespace quorvel {
namespace {

// Left and top edges inside, right and bottom edges outside.
bool In(int x, int y, const SkinRect& r) { return PointHitsRect(x, y, r); }
bool In(int x, int y, int l, int t, int r, int b) { return In(x, y, SkinRect{l, t, r, b}); }

bool BlackAt(const QImage& strip, int x, int y)
{
    if (strip.isNull() || x < 0 || y < 0 || x >= strip.width() || y >= strip.height())
        return false;
    return (strip.pixel(x, y) & 0x00FFFFFFu) == 0;
}

} // namespace

bool MaskStrips::AllEmpty() const { return top.isNull() && bottom.isNull() && left.isNull() && right.isNull(); }

bool PointInMaskShape(int x, int y, const SkinRect& a, const MaskStrips& s)
{
    if (In(x, y, a))
        return true;
    if (y < a.top)
        return BlackAt(s.top, x, y);
    if (y >= a.bottom)
        return BlackAt(s.bottom, x, y - a.bottom);
    if (x < a.left)
        return BlackAt(s.left, x, y - a.top);
    return BlackAt(s.right, x - a.right, y - a.top);
}

int SkinnedHitTest(int x, int y, const HitTestState& st, const FrameGeometry& g, int b, bool hasMask,
                   const MaskStrips& strips)
{
    const int onFrame = st.inCaption ? HTCAPTION : HTOBJECT;
    if (st.rolledUp || st.minimized)
        return onFrame;
    const bool inClient = In(x, y, g.ClientRect);
    if (st.objectHot && !st.inCaption && !inClient && !st.inSizeMove)
        return HTOBJECT;
    if (!st.maximized && st.sizeable) {
        const int px[4] = {x - b, x, x + b, x};
        const int py[4] = {y, y - b, y, y + b};
        bool nearEdge = false;
        if (!hasMask) {
            for (int i = 0; i < 4 && !nearEdge; ++i)
                nearEdge = !In(px[i], py[i], 0, 0, st.width, st.height);
        } else if (!In(x, y, g.MaskArea)) {
            for (int i = 0; i < 4 && !nearEdge; ++i)
                nearEdge = !PointInMaskShape(px[i], py[i], g.MaskArea, strips);
        }
        if (!nearEdge)
            return inClient ? HTCLIENT : onFrame;
        const SkinPoint &lt = g.HitPoints[0], &rt = g.HitPoints[1], &lb = g.HitPoints[2], &rb = g.HitPoints[3];
        if (x <= lt.x && y <= lt.y)
            return HTTOPLEFT;
        if (x >= rt.x && y <= rt.y)
            return HTTOPRIGHT;
        if (x <= lb.x && y >= lb.y)
            return HTBOTTOMLEFT;
        if (x >= rb.x && y >= rb.y)
            return HTBOTTOMRIGHT;
        if (In(x, y, lt.x, 0, rt.x, g.ClientRect.top))
            return HTTOP;
        if (In(x, y, lb.x, g.ClientRect.bottom, rb.x, st.height))
            return HTBOTTOM;
        if (In(x, y, 0, lt.y, g.ClientRect.left, lb.y))
            return HTLEFT;
        if (In(x, y, g.ClientRect.right, rt.y, st.width, rb.y))
            return HTRIGHT;
    }
    return inClient ? HTCLIENT : onFrame;
}

int DefaultHitTest(int x, int y, const HitTestState& st, const SkinRect& captionTextRect, int captionHeight)
{
    const int W = st.width, H = st.height;
    if (st.sizeable && !st.maximized && !st.minimized && !st.rolledUp) {
        if (st.objectHot)
            return HTOBJECT;
        if (x <= 2 && y <= 2)
            return HTTOPLEFT;
        if (x >= W - 2 && y <= 2)
            return HTTOPRIGHT;
        if (x <= 2 && y >= H - 2)
            return HTBOTTOMLEFT;
        if (x >= W - 2 && y >= H - 2)
            return HTBOTTOMRIGHT;
        if (x <= 2)
            return HTLEFT;
        if (y <= 2)
            return HTTOP;
        if (x >= W - 2)
            return HTRIGHT;
        if (y >= H - 2)
            return HTBOTTOM;
    }
    if (In(x, y, captionTextRect))
        return HTCAPTION;
    if (In(x, y, 3, captionHeight + 3, W - 3, H - 3))
        return HTCLIENT;
    return HTOBJECT;
}

} // namespace quorvel
