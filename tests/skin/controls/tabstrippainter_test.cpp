// The tab strip's drawing without a control: tabs in their four looks from the section's
// images, turned and mirrored for the other sides, and the plain look.
#include "skin/controls/tabstrippainter.h"
#include "skinfixture.h"

#include <QApplication>

#include <cstdlib>
#include <gtest/gtest.h>

using namespace quorvel;

namespace {

// A picture whose tab images are striped so that their ends, middles and rows can be told apart:
// normal tabs (0,0)-(10,8) red with a yellow top row, their 2-pixel ends blue; selected ones
// (10,0)-(20,8) green.
QImage TabPicture()
{
    QImage pic = Solid(30, 30, Qt::black);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 10; ++x) {
            const bool end = x < 2 || x >= 8;
            pic.setPixel(x, y, end ? qRgb(0, 0, 255) : y == 0 ? qRgb(255, 255, 0) : qRgb(255, 0, 0));
            pic.setPixel(10 + x, y, qRgb(0, 255, 0));
        }
    return pic;
}

std::unique_ptr<SkinData> TabSkin()
{
    return MakeSkin({TabPicture()},
                    {"[SKINCONTROLS]", "count=1", "0=tab:tab", "[tab]", "pictureindex=0", "skinrect=0,10,30,30",
                     "clientrect=2,2,28,18", "lefttoppoint=2,2", "righttoppoint=28,2", "leftbottompoint=2,18",
                     "rightbottompoint=28,18", "tabrect=0,0,10,8", "activetabrect=10,0,20,8", "tableftoffset=2",
                     "tabrightoffset=2", "fontcolor=16711935", "activefontcolor=8421504", "mouseinfontcolor=16776960"});
}

TabStripPainter::Style StyleAt(QTabWidget::TabPosition position)
{
    TabStripPainter::Style style;
    style.position = position;
    style.palette = {QColor(212, 208, 200), QColor(128, 128, 128), Qt::black};
    return style;
}

// Pixels of (nearly) that colour: smoothed letters leave few exact ones.
int CountOf(const QImage& image, QRgb c)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            n += std::abs(qRed(p) - qRed(c)) + std::abs(qGreen(p) - qGreen(c)) + std::abs(qBlue(p) - qBlue(c)) <= 90;
        }
    return n;
}

} // namespace

TEST(TabStripPainter, SkinnedTabsKeepTheirEndsAndRepeatTheMiddle)
{
    auto skin = TabSkin();
    TabStripPainter painter;
    EXPECT_TRUE(painter.SetSection(skin.get(), ReadTabSection(skin.get(), "tab")));
    EXPECT_FALSE(painter.SetSection(skin.get(), ReadTabSection(skin.get(), "tab")));
    ASSERT_TRUE(painter.Skinned());

    const TabStripPainter::Style north = StyleAt(QTabWidget::North);
    const QImage tab = painter.BuildTab(TabStripPainter::Normal, 40, 8, {}, north);
    ASSERT_EQ(tab.size(), QSize(40, 8));
    for (int x : {0, 1, 38, 39})
        EXPECT_EQ(Pixel(tab, x, 4), QColor(Qt::blue)) << x;
    for (int x = 2; x < 38; ++x)
        ASSERT_EQ(Pixel(tab, x, 4), QColor(Qt::red)) << x;
    // Hot without a hot image: the normal image. Selected: its own.
    EXPECT_EQ(painter.BuildTab(TabStripPainter::Hot, 40, 8, {}, north), tab);
    EXPECT_EQ(Pixel(painter.BuildTab(TabStripPainter::Selected, 40, 8, {}, north), 20, 4), QColor(Qt::green));
    // A set tab height stretches the image to it; without one the image keeps its own height.
    TabStripPainter::Style fixed = north;
    fixed.fixedHeight = true;
    EXPECT_EQ(painter.BuildTab(TabStripPainter::Normal, 40, 16, {}, fixed).height(), 16);
    EXPECT_EQ(painter.BuildTab(TabStripPainter::Normal, 40, 16, {}, north).height(), 8);
    // No size, no image.
    EXPECT_TRUE(painter.BuildTab(TabStripPainter::Normal, 0, 8, {}, north).isNull());
}

TEST(TabStripPainter, OtherSidesMirrorOrTurnTheImage)
{
    auto skin = TabSkin();
    TabStripPainter painter;
    painter.SetSection(skin.get(), ReadTabSection(skin.get(), "tab"));
    const QColor yellow(Qt::yellow);
    // The outer edge (the yellow top row) faces the control's side.
    const QImage south = painter.BuildTab(TabStripPainter::Normal, 40, 8, {}, StyleAt(QTabWidget::South));
    EXPECT_EQ(Pixel(south, 20, 7), yellow);
    EXPECT_EQ(Pixel(south, 20, 0), QColor(Qt::red));
    const QImage west = painter.BuildTab(TabStripPainter::Normal, 40, 8, {}, StyleAt(QTabWidget::West));
    ASSERT_EQ(west.size(), QSize(8, 40));
    EXPECT_EQ(Pixel(west, 0, 20), yellow);
    const QImage east = painter.BuildTab(TabStripPainter::Normal, 40, 8, {}, StyleAt(QTabWidget::East));
    ASSERT_EQ(east.size(), QSize(8, 40));
    EXPECT_EQ(Pixel(east, 7, 20), yellow);
}

TEST(TabStripPainter, CaptionsTakeTheColourOfTheLook)
{
    auto skin = TabSkin();
    TabStripPainter painter;
    painter.SetSection(skin.get(), ReadTabSection(skin.get(), "tab"));
    TabStripPainter::Style style = StyleAt(QTabWidget::North);
    style.font = QApplication::font();
    style.font.setPixelSize(8);
    style.font.setStyleStrategy(QFont::NoAntialias);
    TabStripPainter::Content content;
    content.caption = QStringLiteral("WWW");
    // Colours 0x00BBGGRR: normal magenta, hot cyan (on the normal image, as the section has no
    // hot one), selected grey.
    const QRgb magenta = qRgb(255, 0, 255), cyan = qRgb(0, 255, 255), grey = qRgb(128, 128, 128);
    const QImage normal = painter.BuildTab(TabStripPainter::Normal, 60, 8, content, style);
    const QImage hot = painter.BuildTab(TabStripPainter::Hot, 60, 8, content, style);
    const QImage selected = painter.BuildTab(TabStripPainter::Selected, 60, 8, content, style);
    EXPECT_GT(CountOf(normal, magenta), 10);
    EXPECT_EQ(CountOf(normal, cyan), 0);
    EXPECT_GT(CountOf(hot, cyan), 10);
    EXPECT_EQ(CountOf(hot, magenta), 0);
    EXPECT_GT(CountOf(selected, grey), 10);
    EXPECT_EQ(CountOf(selected, magenta), 0);
}

TEST(TabStripPainter, PlainLookWithoutASection)
{
    TabStripPainter painter;
    EXPECT_FALSE(painter.SetSection(nullptr, TabSection{}));
    const TabStripPainter::Style style = StyleAt(QTabWidget::North);
    const QColor face = style.palette.face, navy(0, 0, 128);
    EXPECT_TRUE(AllOf(painter.BuildTab(TabStripPainter::Normal, 30, 20, {}, style), QRect(0, 0, 30, 20), face));
    EXPECT_TRUE(
        AllOf(painter.BuildTab(TabStripPainter::Hot, 30, 20, {}, style), QRect(0, 0, 30, 20), QColor(182, 189, 210)));
    const QImage focused = painter.BuildTab(TabStripPainter::SelectedFocused, 30, 20, {}, style);
    EXPECT_EQ(Pixel(focused, 0, 0), navy);
    EXPECT_EQ(Pixel(focused, 29, 19), navy);
    EXPECT_EQ(Pixel(focused, 15, 10), QColor(133, 146, 181));

    // Strip and frame: button face with a one-pixel shadow frame around the pages.
    TabGeometry g;
    g.W = 100;
    g.H = 80;
    QImage background(100, 80, QImage::Format_RGB32);
    painter.DrawBackground(background, g, style.palette);
    EXPECT_TRUE(AllOf(background, QRect(0, 21, 100, 1), style.palette.shadow));
    EXPECT_TRUE(AllOf(background, QRect(0, 0, 100, 21), face));
}
