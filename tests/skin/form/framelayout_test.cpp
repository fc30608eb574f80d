// Where the frame puts things: the window around its client area, the smallest sizes, the
// outline, and full screen without a frame.
#include "formfixture.h"

#include <QTest>

#include <gtest/gtest.h>

using namespace quorvel;

TEST(FrameLayout, WindowAroundTheClientAreaAndTrackSizes)
{
    FormFixture f;
    FrameLayout& layout = f.frame().Layout();
    EXPECT_EQ(f.form().size(), QSize(718, 479));
    EXPECT_EQ(f.frame().ClientArea()->geometry(), QRect(3, 30, 712, 446));
    EXPECT_EQ(layout.MinTrackWidth(), 210);
    EXPECT_EQ(layout.MinTrackHeight(), 33);
    f.frame().Settings.MinHeight = 100;
    EXPECT_EQ(layout.MinTrackHeight(), 100);
    // A smallest width below the frame picture's gives way to the picture's.
    f.frame().Settings.MinWidth = 150;
    EXPECT_EQ(layout.MinTrackWidth(), 210);
    f.frame().Settings.MinWidth = 300;
    EXPECT_EQ(layout.MinTrackWidth(), 300);
    layout.ApplyTrackSizes();
    EXPECT_EQ(f.form().minimumSize(), QSize(300, 100));

    FormFixture plain(false);
    // The plain frame: 3 pixels at the sides and the bottom, a caption of 19 and 3 above it.
    EXPECT_EQ(plain.form().size(), QSize(718, 471));
    EXPECT_EQ(plain.frame().ClientArea()->geometry(), QRect(3, 22, 712, 446));
    EXPECT_EQ(plain.frame().Layout().MinTrackWidth(), 120);
    EXPECT_EQ(plain.frame().Layout().MinTrackHeight(), 25);
    plain.frame().Settings.MinWidth = 150;
    EXPECT_EQ(plain.frame().Layout().MinTrackWidth(), 150);
}

TEST(FrameLayout, ClientSizeRoundTripsThroughTheWindowSize)
{
    for (const bool withSkin : {true, false}) {
        FormFixture f(withSkin);
        const FrameLayout& layout = f.frame().Layout();
        for (const QSize client : {QSize(712, 446), QSize(300, 1), QSize(1, 200)}) {
            const QSize window = layout.WindowSizeForClient(client);
            EXPECT_EQ(layout.ClientRectFor(window).size(), client) << withSkin;
        }
        // A window smaller than its frame has an empty client area, never a negative one.
        EXPECT_GE(layout.ClientRectFor(QSize(2, 2)).width(), 0);
        EXPECT_GE(layout.ClientRectFor(QSize(2, 2)).height(), 0);
    }
}

TEST(FrameLayout, FullScreenHasNoFrameAndComesBackWithIt)
{
    FormFixture f;
    f.ShowActive();
    ASSERT_TRUE(f.frame().Layout().HasFrameRegion());
    f.form().showFullScreen();
    QTest::qWait(50);
    ASSERT_TRUE(f.frame().NoBorder());
    EXPECT_EQ(f.frame().ClientArea()->geometry(), f.form().rect());
    EXPECT_FALSE(f.frame().Layout().HasFrameRegion());
    EXPECT_TRUE(f.form().mask().isEmpty());
    f.form().showNormal();
    QTest::qWait(50);
    EXPECT_FALSE(f.frame().NoBorder());
    EXPECT_EQ(f.frame().ClientArea()->geometry().topLeft(), QPoint(3, 30));
    EXPECT_TRUE(f.frame().Layout().HasFrameRegion());
    EXPECT_FALSE(f.form().mask().isEmpty());
}
