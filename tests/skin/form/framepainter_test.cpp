// What the frame looks like: pixels of the window as drawn off screen.
#include "app/storedskin.h"
#include "formfixture.h"
#include "skin/render/skinpictures.h"

#include <QPalette>
#include <QTest>

#include <gtest/gtest.h>

using namespace quorvel;

namespace {

QImage Grab(QWidget& w) { return w.grab().toImage().convertToFormat(QImage::Format_RGB32); }

// Pixels of the given colour inside a rectangle.
int Count(const QImage& img, const QRect& r, QRgb colour)
{
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if ((img.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF))
                ++n;
    return n;
}

} // namespace

TEST(FramePainter, FramePiecesFollowThePicture)
{
    FormFixture f;
    f.ShowActive();
    const QImage shot = Grab(f.form());
    const QImage& picture = f.frame().Skin().Pictures().Picture();
    const int W = 718, H = 479;
    // Corners keep their pixels; the stretched sides keep their rows and columns.
    EXPECT_EQ(shot.pixel(1, 15), picture.pixel(1, 15));
    EXPECT_EQ(shot.pixel(W - 2, 15), picture.pixel(208, 15));
    EXPECT_EQ(shot.pixel(1, 200), picture.pixel(1, 200));
    EXPECT_EQ(shot.pixel(W - 2, 300), picture.pixel(208, 200));
    EXPECT_EQ(shot.pixel(1, H - 2), picture.pixel(1, 280));
    EXPECT_EQ(shot.pixel(400, H - 1), picture.pixel(100, 281));
    EXPECT_EQ(shot.pixel(300, 1), picture.pixel(100, 1));
    // The close button is the skin's normal close image.
    const QImage& buttons = f.frame().Skin().Pictures().Numbered(0);
    EXPECT_EQ(shot.pixel(W - 49 + 2, 20), buttons.pixel(1 + 2, 1 + 20));
}

TEST(FramePainter, CaptionTextWhiteWhileActiveSilverWhileNot)
{
    FormFixture f;
    f.ShowActive();
    ASSERT_TRUE(f.form().isActiveWindow());
    const QRect text(9, 5, 200, 22);
    QImage shot = Grab(f.form());
    EXPECT_GT(Count(shot, text, qRgb(255, 255, 255)), 30);
    // (Smoothed edges of white letters may pass through silver in a stray pixel or two.)
    EXPECT_LT(Count(shot, text, qRgb(192, 192, 192)), 8);
    // Another window takes the activation: the title turns silver, the rest stays.
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other, 5000));
    shot = Grab(f.form());
    EXPECT_LT(Count(shot, text, qRgb(255, 255, 255)), 8);
    EXPECT_GT(Count(shot, text, qRgb(192, 192, 192)), 30);
}

TEST(FramePainter, HotButtonShowsItsHotImage)
{
    FormFixture f;
    f.ShowActive();
    ActiveSkinObject& close = f.Object("closebutton");
    f.frame().Input().HoverTracking(close.ObjectRect.left + 5, 10, true);
    f.RunMorph();
    const QImage shot = Grab(f.form());
    const QImage& buttons = f.frame().Skin().Pictures().Numbered(0);
    EXPECT_EQ(shot.pixel(close.ObjectRect.left + 2, 20), buttons.pixel(1 + 2, 33 + 20));
}

TEST(FramePainter, OutlineCutsTheTopCorners)
{
    FormFixture f;
    f.ShowActive();
    const QRegion mask = f.form().mask();
    const int W = 718, H = 479;
    EXPECT_FALSE(mask.contains(QPoint(0, 0)));
    EXPECT_FALSE(mask.contains(QPoint(W - 1, 0)));
    EXPECT_TRUE(mask.contains(QPoint(6, 0)));
    EXPECT_TRUE(mask.contains(QPoint(W - 7, 0)));
    EXPECT_TRUE(mask.contains(QPoint(0, 6)));
    EXPECT_TRUE(mask.contains(QPoint(0, H - 1)));
    EXPECT_TRUE(mask.contains(QPoint(W - 1, H - 1)));
    EXPECT_EQ(mask.boundingRect(), QRect(0, 0, W, H));
    // Rolled up, the outline is the caption's.
    f.frame().SetRollUp(true);
    EXPECT_EQ(f.form().mask().boundingRect(), QRect(0, 0, W, 33));
    EXPECT_FALSE(f.form().mask().contains(QPoint(0, 0)));
}

TEST(FramePainter, PlainFrameWithoutSkin)
{
    FormFixture f(false);
    f.ShowActive();
    const QImage shot = Grab(f.form());
    const QPalette palette;
    const int W = f.form().width(), H = f.form().height();
    // Three bevels from the outside in.
    EXPECT_EQ(shot.pixel(0, 100), palette.color(QPalette::Midlight).rgb());
    EXPECT_EQ(shot.pixel(1, 100), palette.color(QPalette::Light).rgb());
    EXPECT_EQ(shot.pixel(2, 100), palette.color(QPalette::Button).rgb());
    EXPECT_EQ(shot.pixel(W - 1, 100), palette.color(QPalette::Shadow).rgb());
    EXPECT_EQ(shot.pixel(W - 2, H - 2), palette.color(QPalette::Dark).rgb());
    // The ridged caption: highlight and shadow lines alternate from its third row.
    EXPECT_EQ(shot.pixel(20, 5), palette.color(QPalette::Light).rgb());
    EXPECT_EQ(shot.pixel(20, 6), palette.color(QPalette::Dark).rgb());
    // The close button's glyph in the button-text colour, inside its 17-pixel square.
    const QRect close(W - 20, 4, 17, 17);
    EXPECT_GT(Count(shot, close, palette.color(QPalette::ButtonText).rgb()), 10);
    EXPECT_TRUE(f.form().mask().isEmpty());
}
