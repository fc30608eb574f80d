// The control bar's sliders under the pointer, and the bar and pointer going away in full screen.
#include "player/controlbar.h"
#include "player/mediaplayer.h"

#include <QApplication>
#include <QMenu>
#include <QScreen>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

using quorvel::ControlBar;
using quorvel::MediaPlayer;

namespace {

QSlider* SliderWithMaximum(QWidget& bar, int maximum)
{
    for (auto* s : bar.findChildren<QSlider*>())
        if (s->maximum() == maximum)
            return s;
    return nullptr;
}

// The point on a horizontal slider's track at that share of its width.
QPoint At(const QSlider& slider, double share)
{
    return QPoint(static_cast<int>(slider.width() * share), slider.height() / 2);
}

class ControlBarTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        bar.resize(600, ControlBar::kHeight);
        bar.ShowTime(10, 100, true);
        bar.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&bar, 10000));
        volume = SliderWithMaximum(bar, 100);
        seek = SliderWithMaximum(bar, 1000);
        ASSERT_TRUE(volume && seek);
    }

    ControlBar bar;
    QSlider* volume = nullptr;
    QSlider* seek = nullptr;
};

} // namespace

TEST_F(ControlBarTest, AClickOnTheVolumeTrackJumpsThereAndADragGoesOnFromThere)
{
    QSignalSpy chosen(&bar, &ControlBar::volumeChosen);
    bar.ShowVolume(100);
    // Far from the handle, which a plain slider would only page towards.
    QTest::mousePress(volume, Qt::LeftButton, Qt::NoModifier, At(*volume, 0.25));
    EXPECT_NEAR(volume->value(), 25, 8);
    ASSERT_FALSE(chosen.isEmpty());
    EXPECT_EQ(chosen.last().at(0).toInt(), volume->value());
    // Still held: the handle follows the pointer.
    QTest::mouseMove(volume, At(*volume, 0.75));
    EXPECT_NEAR(volume->value(), 75, 8);
    QTest::mouseRelease(volume, Qt::LeftButton, Qt::NoModifier, At(*volume, 0.75));
    EXPECT_NEAR(volume->value(), 75, 8);
    EXPECT_EQ(chosen.last().at(0).toInt(), volume->value());

    // Both ends of the track reach the ends of the range.
    QTest::mouseClick(volume, Qt::LeftButton, Qt::NoModifier, QPoint(0, volume->height() / 2));
    EXPECT_EQ(volume->value(), 0);
    QTest::mouseClick(volume, Qt::LeftButton, Qt::NoModifier, QPoint(volume->width() - 1, volume->height() / 2));
    EXPECT_EQ(volume->value(), 100);
}

TEST_F(ControlBarTest, AClickOnTheSeekTrackSeeksThereOnceAndTheTimeDoesNotPullTheHandleBackWhileHeld)
{
    QSignalSpy chosen(&bar, &ControlBar::seekChosen);
    QTest::mousePress(seek, Qt::LeftButton, Qt::NoModifier, At(*seek, 0.6));
    // The position moving on while the button is down leaves the handle where the viewer put it.
    bar.ShowTime(11, 100, true);
    EXPECT_NEAR(seek->value(), 600, 40);
    EXPECT_TRUE(chosen.isEmpty());
    QTest::mouseRelease(seek, Qt::LeftButton, Qt::NoModifier, At(*seek, 0.6));
    ASSERT_EQ(chosen.size(), 1);
    EXPECT_NEAR(chosen.first().at(0).toDouble(), 0.6, 0.04);
}

TEST(PlayerFullScreen, TheBarAndPointerGoWhenThePointerRestsAndComeBackWhenItMoves)
{
    QWidget host;
    host.resize(480, 360);
    auto* player = new MediaPlayer(&host, QStringLiteral("null"));
    player->setGeometry(0, 0, 480, 360);
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host, 20000));
    QCursor::setPos(100, 100);
    QTest::qWait(100);
    // In the window the bar stays, however still the pointer is.
    QTest::qWait(3000);
    EXPECT_TRUE(player->ControlBarShown());

    player->SetFullScreen(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return host.geometry() == host.screen()->geometry(); }, 5000));
    EXPECT_TRUE(player->ControlBarShown());
    QTest::qWait(1500);
    EXPECT_TRUE(player->ControlBarShown()) << "gone before its time";
    EXPECT_TRUE(QTest::qWaitFor([&] { return !player->ControlBarShown(); }, 3000));
    EXPECT_EQ(player->cursor().shape(), Qt::BlankCursor);
    EXPECT_EQ(player->VideoSurface()->cursor().shape(), Qt::BlankCursor);

    QCursor::setPos(300, 300);
    EXPECT_TRUE(QTest::qWaitFor([&] { return player->ControlBarShown(); }, 2000));
    EXPECT_NE(player->cursor().shape(), Qt::BlankCursor);
    EXPECT_NE(player->VideoSurface()->cursor().shape(), Qt::BlankCursor);

    // The pointer resting on the bar keeps it; so does an open menu.
    const QRect screen = host.screen()->geometry();
    QCursor::setPos(screen.center().x(), screen.bottom() - ControlBar::kHeight / 2);
    QTest::qWait(3500);
    EXPECT_TRUE(player->ControlBarShown());
    QCursor::setPos(300, 300);
    QMenu menu;
    menu.addAction(QStringLiteral("An entry"));
    QTimer::singleShot(3500, &menu, &QMenu::close);
    menu.exec(QPoint(300, 300));
    EXPECT_TRUE(player->ControlBarShown());

    // Leaving full screen brings everything back at once.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !player->ControlBarShown(); }, 4000));
    player->SetFullScreen(false);
    EXPECT_TRUE(player->ControlBarShown());
    EXPECT_NE(player->cursor().shape(), Qt::BlankCursor);
}
