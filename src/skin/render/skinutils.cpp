#include "skin/render/skinutils.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cstring>

namespace quorvel {
namespace {

SkinRect Rect(int l, int t, int r, int b) { return SkinRect{l, t, r, b}; }

// A blank target of the size: the builders draw into it.
void Prepare(QImage& target, int w, int h, const QColor& fill = Qt::black)
{
    target = w > 0 && h > 0 ? QImage(w, h, QImage::Format_RGB32) : QImage();
    if (!target.isNull())
        target.fill(fill);
}

void PutInt32(std::vector<unsigned char>& out, std::size_t at, std::int32_t v)
{
    const auto u = static_cast<std::uint32_t>(v);
    for (int i = 0; i < 4; ++i)
        out[at + i] = static_cast<unsigned char>(u >> (8 * i));
}

std::int32_t GetInt32(const std::vector<unsigned char>& in, std::size_t at)
{
    return static_cast<std::int32_t>(in[at] | in[at + 1] << 8 | in[at + 2] << 16 |
                                     static_cast<std::uint32_t>(in[at + 3]) << 24);
}

// The eight fixed parts and the sides of a nine-piece image.
void NinePieces(const PieceGeometry& g, bool fillClient, bool allowStretch, QImage& target)
{
    Prepare(target, g.W, g.H);
    if (target.isNull() || g.picture.isNull() || g.RB.x == g.LT.x || g.RB.y == g.LT.y)
        return;
    QPainter p(&target);
    const QImage& pic = g.picture;
    const int sx = g.S.left, sy = g.S.top, sw = g.S.Width(), sh = g.S.Height();
    auto src = [&](int l, int t, int r, int b) { return Rect(sx + l, sy + t, sx + r, sy + b); };
    auto side = [&](bool stretch, const SkinRect& from, const SkinRect& to, bool horizontal) {
        if (stretch && allowStretch)
            CopyPart(p, pic, from, to);
        else if (horizontal)
            TileX(p, pic, from, to.left, to.right, to.top, to.bottom);
        else
            TileY(p, pic, from, to.top, to.bottom, to.left, to.right);
    };
    const SkinRect &C = g.C, &NC = g.NC;
    // The four sides.
    side(g.topStretch, src(g.LT.x, 0, g.RT.x, C.top), Rect(g.NLT.x, 0, g.NRT.x, NC.top), true);
    side(g.bottomStretch, src(g.LB.x, C.bottom, g.RB.x, sh), Rect(g.NLB.x, NC.bottom, g.NRB.x, g.H), true);
    side(g.leftStretch, src(0, g.LT.y, C.left, g.LB.y), Rect(0, g.NLT.y, NC.left, g.NLB.y), false);
    side(g.rightStretch, src(C.right, g.RT.y, sw, g.RB.y), Rect(NC.right, g.NRT.y, g.W, g.NRB.y), false);
    // The eight parts that keep their size.
    CopyPart(p, pic, src(0, 0, g.LT.x, C.top), Rect(0, 0, g.NLT.x, NC.top));
    CopyPart(p, pic, src(0, C.top, C.left, g.LT.y), Rect(0, NC.top, NC.left, g.NLT.y));
    CopyPart(p, pic, src(g.RT.x, 0, sw, C.top), Rect(g.NRT.x, 0, g.W, NC.top));
    CopyPart(p, pic, src(C.right, C.top, sw, g.RT.y), Rect(NC.right, NC.top, g.W, g.NRT.y));
    CopyPart(p, pic, src(0, g.LB.y, C.left, sh), Rect(0, g.NLB.y, NC.left, g.H));
    CopyPart(p, pic, src(C.left, C.bottom, g.LB.x, sh), Rect(NC.left, NC.bottom, g.NLB.x, g.H));
    CopyPart(p, pic, src(g.RB.x, C.bottom, sw, sh), Rect(g.NRB.x, NC.bottom, g.W, g.H));
    CopyPart(p, pic, src(C.right, g.RB.y, sw, C.bottom), Rect(NC.right, g.NRB.y, g.W, NC.bottom));
    if (fillClient)
        TileArea(p, pic, src(C.left, C.top, C.right, C.bottom), NC);
}

// Rows of a frame side: the middle stretched or tiled, the ends above and below it copied.
void SideRows(QPainter& p, const QImage& pic, int x0, int x1, int topY, int bottomY, int cTop, int cBottom, int M,
              bool stretch)
{
    const int w = x1 - x0;
    if (stretch)
        CopyPart(p, pic, Rect(x0, topY, x1, bottomY), Rect(0, topY - cTop, w, M + bottomY - cBottom));
    else
        TileY(p, pic, Rect(x0, topY, x1, bottomY), 0, M, 0, w);
    if (topY > cTop)
        CopyPart(p, pic, Rect(x0, cTop, x1, topY), Rect(0, 0, w, topY - cTop));
    if (cBottom > bottomY)
        CopyPart(p, pic, Rect(x0, bottomY, x1, cBottom), Rect(0, M + bottomY - cBottom, w, M));
}

// Mask strips copy pieces unchanged or tiled; never stretched.
void MaskSideRows(QPainter& p, const QImage& mask, int x0, int x1, int topY, int bottomY, int cTop, int cBottom,
                  int height)
{
    const int w = x1 - x0;
    if (bottomY != topY)
        TileY(p, mask, Rect(x0, topY, x1, bottomY), 0, height, 0, w);
    if (topY - cTop > 0)
        CopyPart(p, mask, Rect(x0, cTop, x1, topY), Rect(0, 0, w, topY - cTop));
    if (cBottom - bottomY > 0)
        CopyPart(p, mask, Rect(x0, bottomY, x1, cBottom), Rect(0, height - (cBottom - bottomY), w, height));
}

} // namespace

void PieceGeometry::DeriveTarget(int width, int height)
{
    W = width;
    H = height;
    const int dW = W - S.Width(), dH = H - S.Height();
    NLT = LT;
    NRT = SkinPoint{RT.x + dW, RT.y};
    NLB = SkinPoint{LB.x, LB.y + dH};
    NRB = SkinPoint{RB.x + dW, RB.y + dH};
    NC = SkinRect{C.left, C.top, C.right + dW, C.bottom + dH};
}

void CopyPart(QPainter& painter, const QImage& picture, const SkinRect& from, const SkinRect& to)
{
    if (from.IsEmpty() || to.IsEmpty() || picture.isNull())
        return;
    if (from.Width() == to.Width() && from.Height() == to.Height())
        painter.drawImage(QPoint(to.left, to.top), picture, ToQRect(from));
    else
        painter.drawImage(ToQRect(to), picture, ToQRect(from));
}

void TileX(QPainter& painter, const QImage& picture, const SkinRect& part, int x0, int x1, int top, int bottom)
{
    const int p = part.Width();
    if (p <= 0 || x1 < x0)
        return;
    const int count = (x1 - x0) / p + 1;
    for (int i = 0; i < count; ++i) {
        const int x = x0 + i * p;
        const int w = std::min(p, x1 - x);
        if (w <= 0)
            break;
        CopyPart(painter, picture, Rect(part.left, part.top, part.left + w, part.bottom), Rect(x, top, x + w, bottom));
    }
}

void TileY(QPainter& painter, const QImage& picture, const SkinRect& part, int y0, int y1, int left, int right)
{
    const int p = part.Height();
    if (p <= 0 || y1 < y0)
        return;
    const int count = (y1 - y0) / p + 1;
    for (int i = 0; i < count; ++i) {
        const int y = y0 + i * p;
        const int h = std::min(p, y1 - y);
        if (h <= 0)
            break;
        CopyPart(painter, picture, Rect(part.left, part.top, part.right, part.top + h), Rect(left, y, right, y + h));
    }
}

void TileArea(QPainter& painter, const QImage& picture, const SkinRect& part, const SkinRect& area)
{
    const int pw = part.Width(), ph = part.Height();
    if (pw <= 0 || ph <= 0 || area.IsEmpty())
        return;
    const int columns = area.Width() / pw + 1, rows = area.Height() / ph + 1;
    for (int r = 0; r < rows; ++r) {
        const int y = area.top + r * ph;
        const int h = std::min(ph, area.bottom - y);
        for (int c = 0; c < columns && h > 0; ++c) {
            const int x = area.left + c * pw;
            const int w = std::min(pw, area.right - x);
            if (w > 0)
                CopyPart(painter, picture, Rect(part.left, part.top, part.left + w, part.top + h),
                         Rect(x, y, x + w, y + h));
        }
    }
}

void BuildHStrip(const QImage& picture, const SkinRect& S, int a, int e, int W, QImage& target)
{
    Prepare(target, W, S.Height());
    if (target.isNull())
        return;
    QPainter p(&target);
    const int h = S.Height();
    if (a > 0)
        CopyPart(p, picture, Rect(S.left, S.top, S.left + a, S.bottom), Rect(0, 0, a, h));
    if (e > 0)
        CopyPart(p, picture, Rect(S.right - e, S.top, S.right, S.bottom), Rect(W - e, 0, W, h));
    const SkinRect middle = Rect(S.left + a, S.top, std::max(S.left + a + 1, S.right - e), S.bottom);
    TileX(p, picture, middle, a, W - e, 0, h);
}

void BuildVStrip(const QImage& picture, const SkinRect& S, int a, int e, int H, QImage& target)
{
    Prepare(target, S.Width(), H);
    if (target.isNull())
        return;
    QPainter p(&target);
    const int w = S.Width();
    if (a > 0)
        CopyPart(p, picture, Rect(S.left, S.top, S.right, S.top + a), Rect(0, 0, w, a));
    if (e > 0)
        CopyPart(p, picture, Rect(S.left, S.bottom - e, S.right, S.bottom), Rect(0, H - e, w, H));
    TileY(p, picture, Rect(S.left, S.top + a, S.right, S.bottom - e), a, H - e, 0, w);
}

void BuildNinePieceImage(const PieceGeometry& g, bool fillClient, QImage& target)
{
    NinePieces(g, fillClient, true, target);
}

void BuildTiledNinePieceImage(const PieceGeometry& g, bool fillClient, QImage& target)
{
    NinePieces(g, fillClient, false, target);
}

void BuildFramePieces(const PieceGeometry& g, QImage& top, QImage& bottom, QImage& left, QImage& right)
{
    const QImage& pic = g.picture;
    const int PW = pic.width(), PH = pic.height();
    if (pic.isNull())
        return;
    if (g.W > 0 && g.NC.top > 0 && g.RT.x > g.LT.x) {
        Prepare(top, g.W, g.NC.top);
        QPainter p(&top);
        const SkinRect middle = Rect(g.LT.x, 0, g.RT.x, g.NC.top);
        if (g.topStretch)
            CopyPart(p, pic, middle, Rect(g.NLT.x, 0, g.NRT.x, g.NC.top));
        else
            TileX(p, pic, middle, 0, g.W, 0, g.NC.top);
        CopyPart(p, pic, Rect(0, 0, g.LT.x, g.NC.top), Rect(0, 0, g.NLT.x, g.NC.top));
        CopyPart(p, pic, Rect(g.RT.x, 0, PW, g.NC.top), Rect(g.NRT.x, 0, g.W, g.NC.top));
    }
    const int bh = g.H - g.NC.bottom;
    if (g.W > 0 && bh > 0 && g.RB.x > g.LB.x) {
        Prepare(bottom, g.W, bh);
        QPainter p(&bottom);
        const int y0 = PH - bh;
        const SkinRect middle = Rect(g.LB.x, y0, g.RB.x, PH);
        if (g.bottomStretch)
            CopyPart(p, pic, middle, Rect(g.NLB.x, 0, g.NRB.x, bh));
        else
            TileX(p, pic, middle, 0, g.W, 0, bh);
        CopyPart(p, pic, Rect(0, y0, g.LB.x, PH), Rect(0, 0, g.NLB.x, bh));
        CopyPart(p, pic, Rect(g.RB.x, y0, PW, PH), Rect(g.NRB.x, 0, g.W, bh));
    }
    const int M = g.H - top.height() - bottom.height();
    if (g.NC.left > 0 && M > 0 && g.LB.y > g.LT.y) {
        Prepare(left, g.NC.left, M);
        QPainter p(&left);
        SideRows(p, pic, 0, g.NC.left, g.LT.y, g.LB.y, g.C.top, g.C.bottom, M, g.leftStretch);
    }
    const int rw = g.W - g.NC.right;
    if (rw >= 1 && M >= 1 && g.RB.y > g.RT.y) {
        Prepare(right, rw, M);
        QPainter p(&right);
        SideRows(p, pic, g.C.right, PW, g.RT.y, g.RB.y, g.C.top, g.C.bottom, M, g.rightStretch);
    }
}

void DrawGlyphFrame(QPainter& painter, int x, int y, const QImage& glyph, int n, int i)
{
    if (glyph.isNull() || n <= 0)
        return;
    const int fw = glyph.width() / n;
    if (fw <= 0)
        return;
    DrawTransparent(painter, x, y, glyph.copy(fw * (i - 1), 0, fw, glyph.height()));
}

void DrawTransparent(QPainter& painter, int x, int y, const QImage& image)
{
    if (image.isNull())
        return;
    QImage clear = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = clear.pixel(0, clear.height() - 1);
    for (int row = 0; row < clear.height(); ++row) {
        auto* line = reinterpret_cast<QRgb*>(clear.scanLine(row));
        for (int col = 0; col < clear.width(); ++col)
            if ((line[col] & 0xFFFFFF) == (key & 0xFFFFFF))
                line[col] = 0;
    }
    painter.drawImage(x, y, clear);
}

void DrawPixelLine(QPainter& painter, int x0, int y0, int x1, int y1, const QColor& colour)
{
    // Bresenham from the start point up to, not including, the end point.
    const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    int x = x0, y = y0;
    while (x != x1 || y != y1) {
        painter.fillRect(x, y, 1, 1, colour);
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

void DrawPixelRect(QPainter& painter, int left, int top, int right, int bottom, const QColor& colour, bool filled)
{
    if (right <= left || bottom <= top)
        return;
    if (filled) {
        painter.fillRect(left, top, right - left, bottom - top, colour);
        return;
    }
    painter.fillRect(left, top, right - left, 1, colour);
    painter.fillRect(left, bottom - 1, right - left, 1, colour);
    painter.fillRect(left, top, 1, bottom - top, colour);
    painter.fillRect(right - 1, top, 1, bottom - top, colour);
}

void DrawCaptionGlyph(QPainter& painter, int x, int y, const QColor& c, CaptionGlyph glyph)
{
    auto line = [&](int ax, int ay, int bx, int by) { DrawPixelLine(painter, x + ax, y + ay, x + bx, y + by, c); };
    auto rect = [&](int l, int t, int r, int b, bool filled = false) {
        DrawPixelRect(painter, x + l, y + t, x + r, y + b, c, filled);
    };
    switch (glyph) {
    case CaptionGlyph::Close:
        line(1, 1, 9, 9);
        line(9, 1, 1, 9);
        line(2, 1, 10, 9);
        line(8, 1, 0, 9);
        break;
    case CaptionGlyph::Maximize:
        rect(0, 0, 11, 10);
        rect(0, 0, 11, 2);
        break;
    case CaptionGlyph::Restore:
        rect(2, 0, 10, 6);
        rect(2, 0, 10, 2);
        rect(0, 4, 7, 10);
        rect(0, 4, 7, 6);
        break;
    case CaptionGlyph::Minimize:
        line(1, 8, 9, 8);
        line(1, 9, 9, 9);
        break;
    case CaptionGlyph::SysMenu:
        rect(1, 3, 9, 6);
        break;
    case CaptionGlyph::RollDown:
        for (int i = 0; i <= 4; ++i)
            line(5 - i, 6 - i, 5 + i, 6 - i);
        break;
    case CaptionGlyph::RollUp:
        for (int i = 0; i <= 4; ++i)
            line(1 + i, 6 - i, 9 - i, 6 - i);
        break;
    case CaptionGlyph::ToTray:
        rect(2, 2, 7, 7, true);
        break;
    }
}

void DrawArrow(QPainter& painter, const SkinRect& r, const QColor& colour, ArrowDirection direction)
{
    const int cx = r.left + r.Width() / 2, cy = r.top + r.Height() / 2;
    for (int i = 0; i < 4; ++i) {
        switch (direction) {
        case ArrowDirection::Left:
            painter.fillRect(cx - 2 + i, cy - i, 1, 2 * i + 1, colour);
            break;
        case ArrowDirection::Right:
            painter.fillRect(cx + 2 - i, cy - i, 1, 2 * i + 1, colour);
            break;
        case ArrowDirection::Up:
            painter.fillRect(cx - i, cy - 2 + i, 2 * i + 1, 1, colour);
            break;
        case ArrowDirection::Down:
            painter.fillRect(cx - i, cy + 2 - i, 2 * i + 1, 1, colour);
            break;
        }
    }
}

void DrawCheckMark(QPainter& painter, int x, int y, const QColor& colour)
{
    for (int i = 0; i <= 2; ++i) {
        DrawPixelLine(painter, x, y + 5 - i, x + 2, y + 7 - i, colour);
        DrawPixelLine(painter, x + 2, y + 7 - i, x + 7, y + 2 - i, colour);
    }
}

std::vector<unsigned char> MaskToRegionData(const QImage& mask, int dx, int dy)
{
    if (mask.isNull() || mask.width() <= 0 || mask.height() <= 0)
        return {};
    // Read as 32-bit pixels (the strips are made that way, so mostly without a copy); a pixel is
    // black when its red, green and blue are all 0.
    const QImage pixels = mask.format() == QImage::Format_RGB32 || mask.format() == QImage::Format_ARGB32
                              ? mask
                              : mask.convertToFormat(QImage::Format_RGB32);
    const int width = pixels.width(), height = pixels.height();
    std::vector<std::int32_t> rects;
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(pixels.constScanLine(y));
        int x = 0;
        while (x < width) {
            while (x < width && (row[x] & 0xFFFFFFu) != 0)
                ++x;
            const int start = x;
            while (x < width && (row[x] & 0xFFFFFFu) == 0)
                ++x;
            if (x > start)
                rects.insert(rects.end(), {start + dx, y + dy, x + dx, y + dy + 1});
        }
    }
    const std::size_t n = rects.size() / 4;
    std::vector<unsigned char> data(32 + 16 * n);
    PutInt32(data, 0, 32);
    PutInt32(data, 4, 1);
    PutInt32(data, 8, static_cast<std::int32_t>(n));
    PutInt32(data, 12, 0);
    PutInt32(data, 16, dx);
    PutInt32(data, 20, dy);
    PutInt32(data, 24, dx + mask.width());
    PutInt32(data, 28, dy + mask.height());
    for (std::size_t i = 0; i < rects.size(); ++i)
        PutInt32(data, 32 + 4 * i, rects[i]);
    return data;
}

QRegion RegionFromData(const std::vector<unsigned char>& data)
{
    if (data.size() < 32)
        return {};
    const std::size_t n = static_cast<std::size_t>(GetInt32(data, 8));
    QList<QRect> rects;
    rects.reserve(static_cast<qsizetype>(n));
    // Rows whose runs repeat those of the row above make the band above taller: the same
    // region in far fewer rectangles (a mask's sides are thousands of equal rows).
    qsizetype bandStart = 0, bandEnd = 0; // the rectangles of the last band
    qsizetype rowStart = 0;
    int rowTop = 0;
    auto closeRow = [&] {
        const qsizetype rowSize = rects.size() - rowStart, bandSize = bandEnd - bandStart;
        bool same = rowStart > 0 && rowSize == bandSize && rects[bandStart].bottom() + 1 == rowTop;
        for (qsizetype i = 0; same && i < rowSize; ++i)
            same = rects[bandStart + i].left() == rects[rowStart + i].left() &&
                   rects[bandStart + i].right() == rects[rowStart + i].right() && rects[rowStart + i].height() == 1;
        if (same) {
            for (qsizetype i = 0; i < rowSize; ++i)
                rects[bandStart + i].setBottom(rects[rowStart + i].bottom());
            rects.resize(rowStart);
        } else {
            bandStart = rowStart;
            bandEnd = rects.size();
        }
        rowStart = rects.size();
    };
    for (std::size_t i = 0; i < n && 32 + 16 * (i + 1) <= data.size(); ++i) {
        const std::size_t at = 32 + 16 * i;
        const int l = GetInt32(data, at), t = GetInt32(data, at + 4), r = GetInt32(data, at + 8),
                  b = GetInt32(data, at + 12);
        if (rects.size() > rowStart && t != rowTop)
            closeRow();
        if (rects.size() == rowStart)
            rowTop = t;
        rects.append(QRect(l, t, r - l, b - t));
    }
    if (rects.size() > rowStart)
        closeRow();
    QRegion region;
    region.setRects(rects.constData(), static_cast<int>(rects.size()));
    return region;
}

QRegion RegionFromMask(const QImage& mask) { return RegionFromData(MaskToRegionData(mask, 0, 0)); }

void BuildMaskStrips(const QImage& mask, const PieceGeometry& g, QImage& top, QImage& bottom, QImage& left,
                     QImage& right)
{
    const int MW = mask.width(), MH = mask.height();
    const SkinRect& C = g.C;
    const int nch = g.NC.Height();
    if (C.left > 0 && nch > 0) {
        Prepare(left, C.left, nch, Qt::white);
        QPainter p(&left);
        MaskSideRows(p, mask, 0, C.left, g.LT.y, g.LB.y, C.top, C.bottom, nch);
    }
    if (MW - C.right > 0 && nch > 0) {
        Prepare(right, MW - C.right, nch, Qt::white);
        QPainter p(&right);
        MaskSideRows(p, mask, C.right, MW, g.RT.y, g.RB.y, C.top, C.bottom, nch);
    }
    if (g.W > 0 && C.top > 0) {
        Prepare(top, g.W, C.top, Qt::white);
        QPainter p(&top);
        if (g.RT.x != g.LT.x)
            TileX(p, mask, Rect(g.LT.x, 0, g.RT.x, C.top), g.NLT.x, g.NRT.x, 0, C.top);
        CopyPart(p, mask, Rect(0, 0, g.LT.x, C.top), Rect(0, 0, g.LT.x, C.top));
        CopyPart(p, mask, Rect(g.RT.x, 0, MW, C.top), Rect(g.NRT.x, 0, g.W, C.top));
    }
    const int bh = MH - C.bottom;
    if (g.W >= 1 && bh >= 1) {
        Prepare(bottom, g.W, bh, Qt::white);
        QPainter p(&bottom);
        if (g.RB.x != g.LB.x)
            TileX(p, mask, Rect(g.LB.x, C.bottom, g.RB.x, MH), g.NLB.x, g.NRB.x, 0, bh);
        CopyPart(p, mask, Rect(0, C.bottom, g.LB.x, MH), Rect(0, 0, g.LB.x, bh));
        CopyPart(p, mask, Rect(g.RB.x, C.bottom, MW, MH), Rect(g.NRB.x, 0, g.W, bh));
    }
}

std::optional<QRegion> BuildMaskedRegion(const QImage& mask, const PieceGeometry& g)
{
    if (g.NRT.x < g.NLT.x || g.NLB.y < g.NLT.y || g.NC.IsEmpty())
        return std::nullopt;
    QImage top, bottom, left, right;
    BuildMaskStrips(mask, g, top, bottom, left, right);
    QRegion region(ToQRect(g.NC));
    region += RegionFromData(MaskToRegionData(left, 0, g.NC.top));
    region += RegionFromData(MaskToRegionData(right, g.NC.right, g.NC.top));
    region += RegionFromData(MaskToRegionData(top, 0, 0));
    region += RegionFromData(MaskToRegionData(bottom, 0, g.NC.bottom));
    return region;
}

bool PointUnset(const SkinPoint& p) { return p.x == 0 || p.y == 0; }

bool PointInRect(int x, int y, const SkinRect& r) { return r.left <= x && x <= r.right && r.top <= y && y <= r.bottom; }

bool PointHitsRect(int x, int y, const SkinRect& r) { return r.left <= x && x < r.right && r.top <= y && y < r.bottom; }

QRect ToQRect(const SkinRect& r) { return QRect(r.left, r.top, r.Width(), r.Height()); }

SkinRect ToSkinRect(const QRect& r) { return SkinRect{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}; }

QString ShortenCaption(const QString& text, const QFontMetrics& metrics, int width)
{
    if (metrics.horizontalAdvance(text) <= width)
        return text;
    QString rest = text;
    while (!rest.isEmpty()) {
        rest.chop(1);
        if (metrics.horizontalAdvance(rest + QStringLiteral("...")) <= width)
            return rest + QStringLiteral("...");
    }
    return QStringLiteral("...");
}

QColor SkinColorToQColor(SkinColor colour)
{
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

} // namespace quorvel
