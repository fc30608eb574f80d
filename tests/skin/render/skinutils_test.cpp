#include "skin/render/skinutils.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include <gtest/gtest.h>
#include <random>

using namespace quorvel;

namespace {

// Every column x of the picture has the colour (x, 255 - x, 7): copies are easy to trace.
QImage ColumnPicture(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixelColor(x, y, QColor(x % 256, 255 - x % 256, y % 256));
    return img;
}

QImage MaskRow(const std::string& pattern) // "B" black, "W" white
{
    QImage img(static_cast<int>(pattern.size()), 1, QImage::Format_RGB32);
    for (int x = 0; x < img.width(); ++x)
        img.setPixelColor(x, 0, pattern[x] == 'B' ? Qt::black : Qt::white);
    return img;
}

std::vector<std::int32_t> Ints(const std::vector<unsigned char>& data)
{
    std::vector<std::int32_t> out;
    for (std::size_t i = 0; i + 4 <= data.size(); i += 4)
        out.push_back(static_cast<std::int32_t>(data[i] | data[i + 1] << 8 | data[i + 2] << 16 |
                                                static_cast<std::uint32_t>(data[i + 3]) << 24));
    return out;
}

std::vector<QPoint> Painted(const QImage& img)
{
    std::vector<QPoint> out;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixelColor(x, y) != QColor(Qt::white))
                out.emplace_back(x, y);
    return out;
}

QImage Glyph(CaptionGlyph g)
{
    QImage img(14, 14, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    DrawCaptionGlyph(p, 1, 2, Qt::black, g);
    return img;
}

} // namespace

TEST(SkinUtils, StripsTileTheirMiddleAndCutTheLastTile)
{
    const QImage pic = ColumnPicture(100, 4);
    QImage strip;
    BuildHStrip(pic, SkinRect{10, 0, 40, 4}, 0, 0, 80, strip); // middle of 30 into 80
    ASSERT_EQ(strip.size(), QSize(80, 4));
    for (int x = 0; x < 80; ++x)
        EXPECT_EQ(strip.pixelColor(x, 2).red(), 10 + x % 30) << x;
    // Ends copied as they are; a width of exactly both ends leaves no room for the middle.
    BuildHStrip(pic, SkinRect{10, 0, 40, 4}, 4, 5, 9, strip);
    EXPECT_EQ(strip.pixelColor(0, 0).red(), 10);
    EXPECT_EQ(strip.pixelColor(3, 0).red(), 13);
    EXPECT_EQ(strip.pixelColor(4, 0).red(), 35);
    EXPECT_EQ(strip.pixelColor(8, 0).red(), 39);
    QImage v;
    BuildVStrip(pic.transformed(QTransform().rotate(90)), SkinRect{0, 10, 4, 40}, 0, 0, 70, v);
    EXPECT_EQ(v.size(), QSize(4, 70));
    // A zero-length piece draws nothing and divides by nothing.
    BuildHStrip(pic, SkinRect{10, 0, 10, 4}, 0, 0, 50, strip);
    EXPECT_EQ(strip.width(), 50);
}

TEST(SkinUtils, FramePiecesAtThePicturesOwnSizeAreItsParts)
{
    const QImage pic = ColumnPicture(210, 282);
    PieceGeometry g;
    g.picture = pic;
    g.S = SkinRect{0, 0, 210, 282};
    g.LT = {40, 30};
    g.RT = {170, 30};
    g.LB = {40, 279};
    g.RB = {170, 279};
    g.C = SkinRect{3, 30, 207, 279};
    g.leftStretch = g.rightStretch = g.topStretch = g.bottomStretch = true;
    g.DeriveTarget(210, 282);
    QImage top, bottom, left, right;
    BuildFramePieces(g, top, bottom, left, right);
    EXPECT_EQ(top, pic.copy(0, 0, 210, 30));
    EXPECT_EQ(bottom, pic.copy(0, 279, 210, 3));
    EXPECT_EQ(left, pic.copy(0, 30, 3, 249));
    EXPECT_EQ(right, pic.copy(207, 30, 3, 249));

    // Wider and tiled: the top's middle tiles start at column 0; the corners keep their place.
    g.topStretch = false;
    g.DeriveTarget(718, 479);
    BuildFramePieces(g, top, bottom, left, right);
    ASSERT_EQ(top.size(), QSize(718, 30));
    EXPECT_EQ(top.pixelColor(0, 5).red(), 0);         // left corner over the first tile
    EXPECT_EQ(top.pixelColor(40, 5).red(), 40 + 40);  // the first tile starts at column 0
    EXPECT_EQ(top.pixelColor(200, 5).red(), 40 + 70); // 200 % 130 = 70
    EXPECT_EQ(top.pixelColor(717, 5).red(), 209);     // right corner
    EXPECT_EQ(left.size(), QSize(3, 479 - 30 - 3));
    EXPECT_EQ(bottom.size(), QSize(718, 3));
    EXPECT_EQ(right.size(), QSize(3, 446));
}

TEST(SkinUtils, NinePieceImagesAndDegenerateGeometry)
{
    const QImage pic = ColumnPicture(20, 20);
    PieceGeometry g;
    g.picture = pic;
    g.S = SkinRect{0, 0, 20, 20};
    g.LT = {5, 5};
    g.RT = {15, 5};
    g.LB = {5, 15};
    g.RB = {15, 15};
    g.C = SkinRect{5, 5, 15, 15};
    g.DeriveTarget(20, 20);
    QImage target;
    BuildTiledNinePieceImage(g, true, target);
    EXPECT_EQ(target, pic);
    g.DeriveTarget(47, 33);
    BuildTiledNinePieceImage(g, true, target);
    EXPECT_EQ(target.size(), QSize(47, 33));
    EXPECT_EQ(target.pixelColor(46, 0).red(), 19);         // top-right corner
    EXPECT_EQ(target.pixelColor(5 + 17, 10).red(), 5 + 7); // client tiles of width 10
    // Corner points that coincide: the target is sized and blank.
    g.RB = g.LT;
    BuildNinePieceImage(g, true, target);
    EXPECT_EQ(target.size(), QSize(47, 33));
    EXPECT_EQ(target.pixelColor(0, 0), QColor(Qt::black));
}

TEST(SkinUtils, CaptionGlyphsPixelForPixel)
{
    auto at = [](std::initializer_list<std::pair<int, int>> cells) {
        std::vector<QPoint> out;
        for (auto [x, y] : cells)
            out.emplace_back(x + 1, y + 2);
        std::sort(out.begin(), out.end(),
                  [](QPoint a, QPoint b) { return a.y() != b.y() ? a.y() < b.y() : a.x() < b.x(); });
        return out;
    };
    EXPECT_EQ(Painted(Glyph(CaptionGlyph::Minimize)), at({{1, 8},
                                                          {2, 8},
                                                          {3, 8},
                                                          {4, 8},
                                                          {5, 8},
                                                          {6, 8},
                                                          {7, 8},
                                                          {8, 8},
                                                          {1, 9},
                                                          {2, 9},
                                                          {3, 9},
                                                          {4, 9},
                                                          {5, 9},
                                                          {6, 9},
                                                          {7, 9},
                                                          {8, 9}}));
    EXPECT_EQ(Painted(Glyph(CaptionGlyph::ToTray)).size(), 25u);
    EXPECT_EQ(Painted(Glyph(CaptionGlyph::SysMenu)), at({{1, 3},
                                                         {2, 3},
                                                         {3, 3},
                                                         {4, 3},
                                                         {5, 3},
                                                         {6, 3},
                                                         {7, 3},
                                                         {8, 3},
                                                         {1, 4},
                                                         {8, 4},
                                                         {1, 5},
                                                         {2, 5},
                                                         {3, 5},
                                                         {4, 5},
                                                         {5, 5},
                                                         {6, 5},
                                                         {7, 5},
                                                         {8, 5}}));
    const QImage close = Glyph(CaptionGlyph::Close);
    EXPECT_EQ(close.pixelColor(1 + 1, 2 + 1), QColor(Qt::black));
    EXPECT_EQ(close.pixelColor(1 + 8, 2 + 8), QColor(Qt::black));
    EXPECT_EQ(close.pixelColor(1 + 9, 2 + 9), QColor(Qt::white)); // the end point is not drawn
    EXPECT_EQ(Painted(close).size(), 30u);                        // 8 + 8 + 8 + 8 pixels, (5,5) and (5,4) drawn twice
    const QImage max = Glyph(CaptionGlyph::Maximize);
    EXPECT_EQ(Painted(max).size(), 11u * 2 + 8 * 2 + 9); // outline 0..10 x 0..9, and all of row 1
    EXPECT_EQ(max.pixelColor(1 + 10, 2 + 9), QColor(Qt::black));
    EXPECT_EQ(max.pixelColor(1 + 11, 2 + 9), QColor(Qt::white));
    const QImage up = Glyph(CaptionGlyph::RollUp);
    EXPECT_EQ(Painted(up).size(), 8u + 6 + 4 + 2);
}

TEST(SkinUtils, GlyphFramesDrawOneFrameWithItsKeyColourClear)
{
    QImage glyph(60, 20, QImage::Format_RGB32);
    glyph.fill(QColor(255, 0, 255));
    {
        QPainter g(&glyph);
        g.fillRect(20, 0, 20, 10, QColor(10, 20, 30)); // frame 2's upper half
        g.fillRect(0, 0, 20, 10, QColor(200, 0, 0));   // frame 1
    }
    QImage canvas(30, 30, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    QPainter p(&canvas);
    DrawGlyphFrame(p, 5, 5, glyph, 3, 2);
    p.end();
    EXPECT_EQ(canvas.pixelColor(5, 5), QColor(10, 20, 30));
    EXPECT_EQ(canvas.pixelColor(24, 14), QColor(10, 20, 30));
    EXPECT_EQ(canvas.pixelColor(10, 20), QColor(Qt::white)); // the key colour stays clear
    EXPECT_EQ(canvas.pixelColor(26, 5), QColor(Qt::white));  // nothing of frame 3
}

TEST(SkinUtils, MasksBecomeRegionsRunByRun)
{
    EXPECT_EQ(Ints(MaskToRegionData(MaskRow("BWBB"), 0, 0)),
              (std::vector<std::int32_t>{32, 1, 2, 0, 0, 0, 4, 1, 0, 0, 1, 1, 2, 0, 4, 1}));
    EXPECT_EQ(Ints(MaskToRegionData(MaskRow("WWW"), 5, 7)), (std::vector<std::int32_t>{32, 1, 0, 0, 5, 7, 8, 8}));
    EXPECT_TRUE(MaskToRegionData(QImage(), 0, 0).empty());
    const QRegion r = RegionFromMask(MaskRow("BWBB"));
    EXPECT_EQ(r.rectCount(), 2);
    EXPECT_TRUE(r.contains(QPoint(0, 0)));
    EXPECT_FALSE(r.contains(QPoint(1, 0)));

    // Far more runs than a fixed table of 10,001 holds: every one is kept.
    QImage checker(200, 120, QImage::Format_RGB32);
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 200; ++x)
            checker.setPixelColor(x, y, (x + y) % 2 ? Qt::white : Qt::black);
    const auto data = MaskToRegionData(checker, 0, 0);
    EXPECT_EQ(Ints(data)[2], 12000);
    EXPECT_EQ(data.size(), 32u + 16u * 12000u);
    EXPECT_TRUE(RegionFromData(data).contains(QPoint(199, 119)));
}

TEST(SkinUtils, RegionsOfEqualRowsAreTheSameShapeInFewerRectangles)
{
    // Random masks with long stretches of equal rows, against the region made pixel by pixel.
    std::mt19937 random(7);
    for (int round = 0; round < 40; ++round) {
        const int w = 1 + static_cast<int>(random() % 40), h = 1 + static_cast<int>(random() % 60);
        QImage mask(w, h, QImage::Format_RGB32);
        std::vector<QRgb> row(static_cast<std::size_t>(w));
        for (int y = 0; y < h; ++y) {
            if (y == 0 || random() % 4 == 0)
                for (QRgb& p : row)
                    p = random() % 3 ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
            for (int x = 0; x < w; ++x)
                mask.setPixel(x, y, row[static_cast<std::size_t>(x)]);
        }
        QRegion expected;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (mask.pixel(x, y) == qRgb(0, 0, 0))
                    expected += QRect(x, y, 1, 1);
        const QRegion r = RegionFromData(MaskToRegionData(mask, 3, 5));
        EXPECT_TRUE(r.xored(expected.translated(3, 5)).isEmpty()) << round; // same shape
    }
    // A frame's side: one rectangle, however many rows.
    QImage side(3, 500, QImage::Format_RGB32);
    side.fill(Qt::black);
    EXPECT_EQ(RegionFromMask(side).rectCount(), 1);
}

TEST(SkinUtils, MaskedRegionAtANewSize)
{
    // A 20 x 20 mask with its top-left pixel cut away.
    QImage mask(20, 20, QImage::Format_RGB32);
    mask.fill(Qt::black);
    mask.setPixelColor(0, 0, Qt::white);
    mask.setPixelColor(19, 0, Qt::white);
    PieceGeometry g;
    g.S = SkinRect{0, 0, 20, 20};
    g.LT = {5, 3};
    g.RT = {15, 3};
    g.LB = {5, 17};
    g.RB = {15, 17};
    g.C = SkinRect{3, 3, 17, 17};
    g.DeriveTarget(100, 60);
    const auto region = BuildMaskedRegion(mask, g);
    ASSERT_TRUE(region.has_value());
    EXPECT_FALSE(region->contains(QPoint(0, 0)));
    EXPECT_FALSE(region->contains(QPoint(99, 0)));
    EXPECT_TRUE(region->contains(QPoint(1, 0)));
    EXPECT_TRUE(region->contains(QPoint(50, 0)));
    EXPECT_TRUE(region->contains(QPoint(99, 59)));
    EXPECT_EQ(region->boundingRect(), QRect(0, 0, 100, 60));
    // Rectangle by rectangle: the whole target less the two cut corners.
    EXPECT_TRUE((*region ^ (QRegion(0, 0, 100, 60) - QRegion(0, 0, 1, 1) - QRegion(99, 0, 1, 1))).isEmpty());
    // Folded geometry: no region, the element stays rectangular.
    g.DeriveTarget(5, 60);
    EXPECT_FALSE(BuildMaskedRegion(mask, g).has_value());
}

TEST(SkinUtils, SharedRules)
{
    EXPECT_TRUE(PointUnset(SkinPoint{0, 5}));
    EXPECT_FALSE(PointUnset(SkinPoint{1, 5}));
    EXPECT_TRUE(PointInRect(10, 20, SkinRect{0, 0, 10, 20}));
    EXPECT_FALSE(PointInRect(11, 20, SkinRect{0, 0, 10, 20}));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(12);
    const QFontMetrics fm(font);
    EXPECT_EQ(ShortenCaption("Short", fm, 500), "Short");
    const QString cut = ShortenCaption("Quorvel Online TV v1.12", fm, fm.horizontalAdvance("Quorvel...") + 1);
    EXPECT_EQ(cut, "Quorvel...");
    EXPECT_EQ(ShortenCaption("Quorvel", fm, 1), "...");
    EXPECT_EQ(SkinColorToQColor(0x00FF8000), QColor(0x00, 0x80, 0xFF));

    QImage img(12, 12, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    DrawArrow(p, SkinRect{0, 0, 12, 12}, Qt::black, ArrowDirection::Left);
    p.end();
    EXPECT_EQ(Painted(img).size(), 1u + 3 + 5 + 7);
    EXPECT_EQ(img.pixelColor(4, 6), QColor(Qt::black)); // the tip at cx - 2
    EXPECT_EQ(img.pixelColor(7, 3), QColor(Qt::black)); // the widest column at cx + 1
}
