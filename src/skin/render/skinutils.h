#pragma once

#include "skin/definition/skinvalues.h"

#include <QColor>
#include <QImage>
#include <QRect>
#include <QRegion>
#include <QString>

#include <optional>
#include <vector>

class QFontMetrics;
class QPainter;

namespace quorvel {

// Where an element's pieces lie in its picture and where they go at the new size.
struct PieceGeometry {
    QImage picture;
    SkinRect S;               // the element in the picture
    SkinPoint LT, RT, LB, RB; // corner points, relative to S
    SkinRect C;               // client rectangle, relative to S
    int W = 0, H = 0;         // target size
    SkinPoint NLT, NRT, NLB, NRB;
    SkinRect NC;
    bool leftStretch = false, rightStretch = false, topStretch = false, bottomStretch = false;

    // The usual target: corners keep their distance to their own edges, the client rectangle
    // grows with the size.
    void DeriveTarget(int width, int height);
};

enum class CaptionGlyph { Close, Maximize, Restore, Minimize, SysMenu, RollDown, RollUp, ToTray };
enum class ArrowDirection { Left, Right, Up, Down };

// Copies a part of the picture to a part of the target; unequal sizes stretch.
void CopyPart(QPainter& painter, const QImage& picture, const SkinRect& from, const SkinRect& to);
// Repeats the part along x from x0 to x1 (copies at x0, x0 + p, ...; (x1 − x0) div p + 1 of them,
// the last cut at x1), into rows top..bottom. A part of width 0 draws nothing.
void TileX(QPainter& painter, const QImage& picture, const SkinRect& part, int x0, int x1, int top, int bottom);
void TileY(QPainter& painter, const QImage& picture, const SkinRect& part, int y0, int y1, int left, int right);
// Repeats the part over the area in both directions, cut at its right and bottom edges.
void TileArea(QPainter& painter, const QImage& picture, const SkinRect& part, const SkinRect& area);

void BuildHStrip(const QImage& picture, const SkinRect& S, int a, int e, int W, QImage& target);
void BuildVStrip(const QImage& picture, const SkinRect& S, int a, int e, int H, QImage& target);
void BuildNinePieceImage(const PieceGeometry& g, bool fillClient, QImage& target);
void BuildTiledNinePieceImage(const PieceGeometry& g, bool fillClient, QImage& target);
// The four pieces of the form frame; a piece that cannot be built keeps what it had.
void BuildFramePieces(const PieceGeometry& g, QImage& top, QImage& bottom, QImage& left, QImage& right);

// Frame i (from 1) of n side-by-side frames, drawn with the bottom-left pixel's colour clear.
void DrawGlyphFrame(QPainter& painter, int x, int y, const QImage& glyph, int n, int i);
// Draws the image with the colour of its bottom-left pixel clear.
void DrawTransparent(QPainter& painter, int x, int y, const QImage& image);
void DrawCaptionGlyph(QPainter& painter, int x, int y, const QColor& colour, CaptionGlyph glyph);
// Lines include their start and exclude their end; rectangles exclude right and bottom edges.
void DrawPixelLine(QPainter& painter, int x0, int y0, int x1, int y1, const QColor& colour);
void DrawPixelRect(QPainter& painter, int left, int top, int right, int bottom, const QColor& colour, bool filled);
void DrawArrow(QPainter& painter, const SkinRect& rect, const QColor& colour, ArrowDirection direction);
void DrawCheckMark(QPainter& painter, int x, int y, const QColor& colour);

// The region data block of a mask: a 32-byte header (size 32, type 1, count n, 0, bounding
// rectangle) and n rectangles (left, top, right, bottom; 32-bit), one per run of black pixels,
// row by row. Empty for an empty mask. Any number of runs is taken.
std::vector<unsigned char> MaskToRegionData(const QImage& mask, int dx, int dy);
QRegion RegionFromData(const std::vector<unsigned char>& data);
QRegion RegionFromMask(const QImage& mask);
void BuildMaskStrips(const QImage& mask, const PieceGeometry& g, QImage& top, QImage& bottom, QImage& left,
                     QImage& right);
// The window outline at the new size; none when the geometry folds over itself or NC is empty.
std::optional<QRegion> BuildMaskedRegion(const QImage& mask, const PieceGeometry& g);

// A point counts as unset when its x or its y is 0.
bool PointUnset(const SkinPoint& p);
// A point in a rectangle, all four edges counting as inside: the rule shared by the frame and
// the skinned controls' own geometry.
bool PointInRect(int x, int y, const SkinRect& r);
// A point in a rectangle as hit testing and the pointer see it: left and top edges inside, right
// and bottom edges outside, so that rectangles laid edge to edge never both take a point.
bool PointHitsRect(int x, int y, const SkinRect& r);
// The same rectangle as Qt holds it (left, top, width, height), and back.
QRect ToQRect(const SkinRect& r);
SkinRect ToSkinRect(const QRect& r);
// The text, or as much of its start as fits followed by "...".
QString ShortenCaption(const QString& text, const QFontMetrics& metrics, int width);

// The skin's colour value 0x00BBGGRR as a colour, and a skin bitmap's pixels.
QColor SkinColorToQColor(SkinColor colour);

} // namespace quorvel
