#include "skin/form/framegeometry.h"

namespace quorvel {
namespace {

SkinPoint Moved(const SkinPoint& p, int dx, int dy) { return SkinPoint{p.x + dx, p.y + dy}; }

} // namespace

FrameGeometry ComputeFrameGeometry(const FormInfo& info, int pictureWidth, int pictureHeight, int width, int height)
{
    const int dx = width - pictureWidth;
    const int dy = height - pictureHeight;
    FrameGeometry g;
    g.LeftTop = info.lefttoppoint;
    g.RightTop = Moved(info.righttoppoint, dx, 0);
    g.LeftBottom = Moved(info.leftbottompoint, 0, dy);
    g.RightBottom = Moved(info.rightbottompoint, dx, dy);
    g.ClientRect = info.clientrect;
    g.ClientRect.right += dx;
    g.ClientRect.bottom += dy;
    g.CaptionRect = info.captionrect;
    if (!g.CaptionRect.IsEmpty())
        g.CaptionRect.right += dx;
    g.ButtonsRect = info.buttonsrect;
    // Buttons drawn in the right half of the picture stay at the right edge.
    if (!g.ButtonsRect.IsEmpty() && g.ButtonsRect.left > pictureWidth / 2) {
        g.ButtonsRect.left += dx;
        g.ButtonsRect.right += dx;
    }
    g.ButtonsOffset = info.buttonsoffset;
    g.ButtonsInLeft = info.buttonsinleft;
    g.HitPoints = {info.hittestlefttoppoint, Moved(info.hittestrighttoppoint, dx, 0),
                   Moved(info.hittestleftbottompoint, 0, dy), Moved(info.hittestrightbottompoint, dx, dy)};
    g.MaskArea = info.maskrectarea;
    g.MaskArea.right += dx;
    g.MaskArea.bottom += dy;
    return g;
}

FrameInsets SkinnedFrameInsets(const FormInfo& info, int pictureWidth, int pictureHeight)
{
    return FrameInsets{info.clientrect.left, info.clientrect.top, pictureWidth - info.clientrect.right,
                       pictureHeight - info.clientrect.bottom};
}

PieceGeometry FramePieceGeometry(const QImage& picture, const FormInfo& info, const SkinRect& sourceClient,
                                 const FrameGeometry& geometry, const SkinRect& targetClient, int width, int height)
{
    PieceGeometry p;
    p.picture = picture;
    p.S = SkinRect{0, 0, picture.width(), picture.height()};
    p.LT = info.lefttoppoint;
    p.RT = info.righttoppoint;
    p.LB = info.leftbottompoint;
    p.RB = info.rightbottompoint;
    p.C = sourceClient;
    p.W = width;
    p.H = height;
    p.NLT = geometry.LeftTop;
    p.NRT = geometry.RightTop;
    p.NLB = geometry.LeftBottom;
    p.NRB = geometry.RightBottom;
    p.NC = targetClient;
    p.leftStretch = info.leftstretch;
    p.rightStretch = info.rightstretch;
    p.topStretch = info.topstretch;
    p.bottomStretch = info.bottomstretch;
    return p;
}

} // namespace quorvel
