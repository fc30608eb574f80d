// The window's states: maximized, minimized with the application, rolled up to the caption.
#include "formfixture.h"
#include "skin/form/skinstdbuttonobject.h"

#include <QScreen>

#include <gtest/gtest.h>

using namespace quorvel;

TEST(FrameWindowStates, RollUpAndDownByCaptionDoubleClick)
{
    FormFixture f;
    f.ShowActive();
    f.events.clear();
    SkinForm& frame = f.frame();
    frame.States().CaptionDoubleClick();
    EXPECT_TRUE(frame.RolledUp());
    EXPECT_EQ(f.form().height(), 33);
    EXPECT_EQ(frame.ClientArea()->height(), 0);
    frame.States().CaptionDoubleClick();
    EXPECT_FALSE(frame.RolledUp());
    EXPECT_EQ(f.form().size(), QSize(718, 479));
    EXPECT_EQ(frame.ClientArea()->geometry(), QRect(3, 30, 712, 446));
    EXPECT_EQ(f.events, (std::vector<std::string>{"rollup", "rollup"}));
    // Not without the roll-up icon.
    frame.SetBorderIcons(BorderIcons{false, true, true, false, false});
    frame.SetRollUp(true);
    EXPECT_FALSE(frame.RolledUp());
    EXPECT_EQ(f.form().height(), 479);
}

TEST(FrameWindowStates, MaximizeFillsTheWorkAreaAndRestoreComesBack)
{
    FormFixture f;
    f.ShowActive();
    SkinForm& frame = f.frame();
    const QRect before = f.form().geometry();
    frame.SetFrameState(FrameState::Maximized);
    EXPECT_EQ(frame.GetFrameState(), FrameState::Maximized);
    const QScreen* screen = f.form().screen();
    QRect expected = screen->availableGeometry();
    if (expected == screen->geometry())
        expected.adjust(1, 1, -1, -1); // a pixel stays free on a monitor without a task bar
    EXPECT_EQ(f.form().geometry(), expected);
    EXPECT_EQ(frame.ClientArea()->geometry(), QRect(3, 30, expected.width() - 6, expected.height() - 33));
    // The maximize button shows its restore images while the window is maximized.
    EXPECT_TRUE(dynamic_cast<SkinStdButtonObject&>(f.Object("maxbutton")).RestoreStateReached());
    frame.SetFrameState(FrameState::Normal);
    EXPECT_EQ(f.form().geometry(), before);
    EXPECT_TRUE(frame.States().NormalBounds.isNull());
    // Minimizing the main window minimizes the application; the frame stays normal, so the next
    // maximize still works from there.
    frame.SetFrameState(FrameState::Minimized);
    EXPECT_EQ(frame.GetFrameState(), FrameState::Normal);
    f.form().showNormal();
    frame.SetFrameState(FrameState::Maximized);
    EXPECT_EQ(frame.GetFrameState(), FrameState::Maximized);
}
