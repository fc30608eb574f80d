// The scroll buttons: stepping within the limits, repeating, and their looks from the skin.
#include "skin/controls/skinupdown.h"
#include "skinfixture.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace quorvel;

TEST(SkinUpDown, StepsWithinItsLimits)
{
    SkinUpDown u;
    EXPECT_EQ(u.size(), QSize(40, 20));
    EXPECT_EQ(u.ButtonRect(SkinUpDown::Button::Down), QRect(0, 0, 20, 20));
    EXPECT_EQ(u.ButtonRect(SkinUpDown::Button::Up), QRect(20, 0, 20, 20));
    u.SetMin(0);
    u.SetMax(2);
    u.SetPosition(5);
    EXPECT_EQ(u.Position(), 2);
    QSignalSpy changes(&u, &SkinUpDown::changed);
    const QPoint up(30, 10), down(10, 10);
    QTest::mouseClick(&u, Qt::LeftButton, {}, up); // at the end already
    EXPECT_EQ(u.Position(), 2);
    EXPECT_EQ(changes.count(), 0);
    QTest::mouseClick(&u, Qt::LeftButton, {}, down);
    QTest::mouseClick(&u, Qt::LeftButton, {}, down);
    QTest::mouseClick(&u, Qt::LeftButton, {}, down);
    EXPECT_EQ(u.Position(), 0);
    EXPECT_EQ(changes.count(), 2);
    u.SetIncrement(2);
    QTest::mouseClick(&u, Qt::LeftButton, {}, up);
    EXPECT_EQ(u.Position(), 2);
    // A lower maximum takes the position with it.
    u.SetMax(1);
    EXPECT_EQ(u.Position(), 1);
}

TEST(SkinUpDown, HeldButtonRepeats)
{
    SkinUpDown u;
    u.SetMax(1000);
    u.show();
    QTest::mousePress(&u, Qt::LeftButton, {}, QPoint(30, 10));
    EXPECT_EQ(u.Position(), 1);
    EXPECT_EQ(u.PressedButton(), SkinUpDown::Button::Up);
    EXPECT_TRUE(QTest::qWaitFor([&] { return u.Position() >= 4; }, 10000));
    QTest::mouseRelease(&u, Qt::LeftButton, {}, QPoint(30, 10));
    EXPECT_EQ(u.PressedButton(), SkinUpDown::Button::None);
}

TEST(SkinUpDown, OwnSkinButtonsInTheirThreeLooks)
{
    auto skin = OwnSkin();
    const QImage pic = Picture(*skin, 4);
    SkinUpDown u;
    u.SetMax(5);
    u.SetSkinData(skin.get());
    u.show();
    EXPECT_EQ(u.size(), QSize(27, 15)); // the size of "skinrect" 169,189,196,204
    EXPECT_EQ(u.ButtonRect(SkinUpDown::Button::Up), QRect(13, 0, 14, 15));
    EXPECT_EQ(u.ButtonRect(SkinUpDown::Button::Down), QRect(0, 0, 14, 15));
    // An image of the picture at a place of the control.
    auto shows = [&](const QImage& shot, const QPoint& at, const QRect& from) {
        for (int y = 0; y < from.height(); ++y)
            for (int x = 0; x < from.width(); ++x)
                if (Pixel(shot, at.x() + x, at.y() + y) != QColor(pic.pixel(from.left() + x, from.top() + y)))
                    return false;
        return true;
    };
    EXPECT_TRUE(shows(u.grab().toImage(), QPoint(0, 0), QRect(169, 189, 27, 15)));

    QMouseEvent move(QEvent::MouseMove, QPointF(20, 7), u.mapToGlobal(QPointF(20, 7)), Qt::NoButton, {}, {});
    QApplication::sendEvent(&u, &move);
    EXPECT_EQ(u.HotButton(), SkinUpDown::Button::Up);
    EXPECT_TRUE(shows(u.grab().toImage(), QPoint(13, 0), QRect(203, 149, 14, 15))); // "activeupbuttonrect"
    EXPECT_TRUE(shows(u.grab().toImage(), QPoint(0, 0), QRect(169, 189, 13, 15)));

    QTest::mousePress(&u, Qt::LeftButton, {}, QPoint(3, 7));
    EXPECT_EQ(u.Position(), 0);                                                    // at its minimum already
    EXPECT_TRUE(shows(u.grab().toImage(), QPoint(0, 0), QRect(169, 149, 14, 15))); // "downdownbuttonrect"
    QTest::mouseRelease(&u, Qt::LeftButton, {}, QPoint(3, 7));
    EXPECT_TRUE(shows(u.grab().toImage(), QPoint(0, 0), QRect(153, 149, 14, 15))); // "activedownbuttonrect"
}
