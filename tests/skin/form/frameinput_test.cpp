// The pointer on the frame: caption buttons under the pointer, presses and releases, moving the
// window by its caption.
#include "formfixture.h"
#include "skin/form/skinmenu.h"
#include "skin/form/skinstdbuttonobject.h"

#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

using namespace quorvel;

namespace {

QPoint Centre(const ActiveSkinObject& o)
{
    return QPoint((o.ObjectRect.left + o.ObjectRect.right) / 2, (o.ObjectRect.top + o.ObjectRect.bottom) / 2);
}

// Counts the paint events a widget gets.
class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

} // namespace

TEST(FrameInput, HoverMorphsInFiveStepsBothWaysAndReverses)
{
    FormFixture f;
    f.ShowActive();
    SkinForm& frame = f.frame();
    ActiveSkinObject& close = f.Object("closebutton");
    const QPoint c = Centre(close);
    frame.Input().HoverTracking(c.x(), c.y(), true);
    EXPECT_EQ(frame.Input().HotIndex, f.IndexOf("closebutton"));
    EXPECT_TRUE(close.Hot);
    EXPECT_EQ(f.RunMorph(), 6); // five steps and the tick that finds nothing left to do
    EXPECT_EQ(close.MorphAmount, 1);
    frame.Input().HoverTracking(-1, -1, false);
    EXPECT_FALSE(close.Hot);
    EXPECT_EQ(f.RunMorph(), 6);
    EXPECT_EQ(close.MorphAmount, 0);
    // In and out again half way: it turns back from where it was.
    frame.Input().HoverTracking(c.x(), c.y(), true);
    frame.Input().MorphTimerTick();
    frame.Input().MorphTimerTick();
    EXPECT_NEAR(close.MorphAmount, 0.4, 1e-9);
    frame.Input().HoverTracking(-1, -1, false);
    frame.Input().MorphTimerTick();
    EXPECT_NEAR(close.MorphAmount, 0.2, 1e-9);
    f.RunMorph();
    EXPECT_EQ(close.MorphAmount, 0);
}

TEST(FrameInput, HoverMorphPaintsOnlyTheFrame)
{
    FormFixture f;
    auto* child = new QWidget(f.frame().ClientArea());
    child->setGeometry(0, 0, 712, 446);
    child->show();
    f.ShowActive();
    QTest::qWait(50);
    PaintCounter counter;
    child->installEventFilter(&counter);
    const QPoint c = Centre(f.Object("minbutton"));
    f.frame().Input().HoverTracking(c.x(), c.y(), true);
    for (int i = 0; i < 6; ++i) {
        f.frame().Input().MorphTimerTick();
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(counter.paints, 0);
}

TEST(FrameInput, CloseRunsOnlyWhenReleasedOverTheButton)
{
    FormFixture f;
    f.ShowActive();
    SkinForm& frame = f.frame();
    bool closed = false;
    class CloseWatcher : public QObject {
    public:
        explicit CloseWatcher(bool& closed) : closed_(closed) { }
        bool eventFilter(QObject*, QEvent* e) override
        {
            if (e->type() == QEvent::Close)
                closed_ = true;
            return false;
        }
        bool& closed_;
    } watcher(closed);
    f.form().installEventFilter(&watcher);
    auto& close = dynamic_cast<SkinStdButtonObject&>(f.Object("closebutton"));
    const QPoint c = Centre(close);

    // Pressed, then the pointer leaves: no longer hot, the release does nothing.
    frame.Input().HoverTracking(c.x(), c.y(), true);
    frame.Input().Press(Qt::LeftButton, c.x(), c.y());
    EXPECT_TRUE(close.Down);
    // While it holds the press, the maximize button next to it does not light up.
    const QPoint m = Centre(f.Object("maxbutton"));
    frame.Input().HoverTracking(m.x(), m.y(), true);
    EXPECT_EQ(frame.Input().HotIndex, -1);
    EXPECT_FALSE(f.Object("maxbutton").Hot);
    frame.Input().Release(Qt::LeftButton, m.x(), m.y());
    EXPECT_FALSE(close.Down);
    EXPECT_FALSE(closed);
    EXPECT_TRUE(f.form().isVisible());

    // Pressed and released over it: the window closes, after the button was drawn released.
    frame.Input().HoverTracking(c.x(), c.y(), true);
    frame.Input().Press(Qt::LeftButton, c.x(), c.y());
    frame.Input().Release(Qt::LeftButton, c.x(), c.y());
    EXPECT_FALSE(close.Down);
    EXPECT_TRUE(closed);
    EXPECT_FALSE(f.form().isVisible());
    // A caption button reports no presses of its own.
    for (const std::string& e : f.events)
        EXPECT_NE(e, "down closebutton");
}

TEST(FrameInput, MaximizeButtonMaximizesBeforeItsReleaseIsReported)
{
    FormFixture f;
    f.ShowActive();
    SkinForm& frame = f.frame();
    std::vector<std::string> seen;
    frame.OnMouseUpEvent = [&](const std::string& id, int, int, const SkinRect&, Qt::MouseButton) {
        seen.push_back(id + (frame.GetFrameState() == FrameState::Maximized ? " maximized" : " normal"));
    };
    const QPoint m = Centre(f.Object("maxbutton"));
    frame.Input().HoverTracking(m.x(), m.y(), true);
    frame.Input().Press(Qt::LeftButton, m.x(), m.y());
    frame.Input().Release(Qt::LeftButton, m.x(), m.y());
    EXPECT_EQ(frame.GetFrameState(), FrameState::Maximized);
    EXPECT_EQ(seen, (std::vector<std::string>{"maxbutton maximized"}));
    // The button moved with the right edge; pressing it there restores.
    const QPoint again = Centre(f.Object("maxbutton"));
    frame.Input().HoverTracking(again.x(), again.y(), true);
    frame.Input().Press(Qt::LeftButton, again.x(), again.y());
    frame.Input().Release(Qt::LeftButton, again.x(), again.y());
    EXPECT_EQ(frame.GetFrameState(), FrameState::Normal);
}

TEST(FrameInput, AButtonUnderAStillPointerStillWorksAfterTheWindowWasActivatedAgain)
{
    FormFixture f;
    f.ShowActive();
    SkinForm& frame = f.frame();
    const QPoint m = Centre(f.Object("maxbutton"));
    frame.Input().HoverTracking(m.x(), m.y(), true);
    ASSERT_TRUE(f.Object("maxbutton").Hot);
    // The window loses and regains activation (a page taking the keyboard, the desktop's focus
    // moving) while the pointer rests on the button: its hover is drawn afresh.
    QEvent deactivate(QEvent::WindowDeactivate);
    QCoreApplication::sendEvent(&f.form(), &deactivate);
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(&f.form(), &activate);
    EXPECT_EQ(frame.Input().HotIndex, -1);
    // A click without any movement first: the press finds the button again and the click runs.
    frame.Input().HoverTracking(m.x(), m.y(), true);
    EXPECT_TRUE(f.Object("maxbutton").Hot);
    frame.Input().Press(Qt::LeftButton, m.x(), m.y());
    frame.Input().Release(Qt::LeftButton, m.x(), m.y());
    EXPECT_EQ(frame.GetFrameState(), FrameState::Maximized);
}

TEST(FrameInput, CaptionReportsItsReleaseEvenAfterThePointerLeft)
{
    FormFixture f;
    f.ShowActive();
    SkinForm& frame = f.frame();
    const QPoint c = Centre(f.Object("caption"));
    EXPECT_EQ(frame.Input().HitTest(c.x(), c.y()), HTCAPTION);
    frame.Input().HoverTracking(c.x(), c.y(), true);
    frame.Input().Press(Qt::LeftButton, c.x(), c.y());
    frame.Input().HoverTracking(-1, -1, false);
    frame.Input().Release(Qt::LeftButton, 500, 300);
    EXPECT_EQ(f.events.back(), "up caption");
    EXPECT_NE(std::find(f.events.begin(), f.events.end(), "down caption"), f.events.end());
}

namespace {

// A pointer event on the form at a window point, placed on the screen where the point is now
// (or at the given screen point).
void SendMouse(QWidget& form, QEvent::Type type, QPoint local, QPoint screen, Qt::MouseButton button,
               Qt::MouseButtons buttons)
{
    QMouseEvent e(type, QPointF(local), QPointF(screen), button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(&form, &e);
}

} // namespace

TEST(FrameInput, PointerEventsOfTheObjectsReachTheForm)
{
    FormFixture f;
    f.ShowActive();
    SkinForm& frame = f.frame();
    frame.OnMouseEnterEvent = [&](const std::string& id) { f.events.push_back("enter " + id); };
    frame.OnMouseLeaveEvent = [&](const std::string& id) { f.events.push_back("leave " + id); };
    frame.OnMouseMoveEvent = [&](const std::string& id, int, int, const SkinRect&) {
        f.events.push_back("move " + id);
    };
    f.events.clear();
    QWidget& form = f.form();
    const QPoint c = Centre(f.Object("caption"));
    frame.Input().HoverTracking(c.x(), c.y(), true);
    SendMouse(form, QEvent::MouseMove, c, form.mapToGlobal(c), Qt::NoButton, Qt::NoButton);
    frame.Input().HoverTracking(-1, -1, false);
    EXPECT_EQ(f.events, (std::vector<std::string>{"enter caption", "move caption", "leave caption"}));
}

TEST(FrameInput, CaptionDragMovesTheWindowUnlessMaximized)
{
    FormFixture f;
    f.ShowActive();
    QWidget& form = f.form();
    FrameInput& input = f.frame().Input();
    const QPoint c = Centre(f.Object("caption"));
    const QPoint start = form.pos();
    const QPoint g = form.mapToGlobal(c);
    SendMouse(form, QEvent::MouseButtonPress, c, g, Qt::LeftButton, Qt::LeftButton);
    // The window follows from the first pixel, and the whole way of every motion.
    SendMouse(form, QEvent::MouseMove, c, g + QPoint(1, 0), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(form.pos(), start + QPoint(1, 0));
    SendMouse(form, QEvent::MouseMove, c, g + QPoint(40, 25), Qt::NoButton, Qt::LeftButton);
    EXPECT_TRUE(input.InSizeMove);
    EXPECT_EQ(form.pos(), start + QPoint(40, 25));
    SendMouse(form, QEvent::MouseMove, c, g + QPoint(-10, 5), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(form.pos(), start + QPoint(-10, 5));
    SendMouse(form, QEvent::MouseButtonRelease, c, g + QPoint(-10, 5), Qt::LeftButton, Qt::NoButton);
    EXPECT_FALSE(input.InSizeMove);
    // The pointer moving on with no button held moves nothing.
    SendMouse(form, QEvent::MouseMove, c, g + QPoint(60, 60), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(form.pos(), start + QPoint(-10, 5));

    f.frame().SetFrameState(FrameState::Maximized);
    const QPoint maximized = form.pos();
    const QPoint m = Centre(f.Object("caption"));
    const QPoint gm = form.mapToGlobal(m);
    SendMouse(form, QEvent::MouseButtonPress, m, gm, Qt::LeftButton, Qt::LeftButton);
    SendMouse(form, QEvent::MouseMove, m, gm + QPoint(40, 25), Qt::NoButton, Qt::LeftButton);
    SendMouse(form, QEvent::MouseButtonRelease, m, gm + QPoint(40, 25), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(form.pos(), maximized);
}

TEST(FrameInput, CaptionRightPressOpensTheSystemMenuDoubleClickRollsUp)
{
    FormFixture f;
    f.ShowActive();
    QWidget& form = f.form();
    SkinForm& frame = f.frame();
    const QPoint c = Centre(f.Object("caption"));
    SendMouse(form, QEvent::MouseButtonPress, c, form.mapToGlobal(c), Qt::RightButton, Qt::RightButton);
    EXPECT_TRUE(frame.InSkinMenuMode());
    EXPECT_EQ(frame.Input().PressedIndex, -1);
    frame.Menu->CloseAllPopups();
    EXPECT_FALSE(frame.InSkinMenuMode());
    SendMouse(form, QEvent::MouseButtonRelease, c, form.mapToGlobal(c), Qt::RightButton, Qt::NoButton);

    SendMouse(form, QEvent::MouseButtonDblClick, c, form.mapToGlobal(c), Qt::LeftButton, Qt::LeftButton);
    EXPECT_TRUE(frame.RolledUp());
    EXPECT_EQ(frame.Input().PressedIndex, -1);
    SendMouse(form, QEvent::MouseButtonRelease, c, form.mapToGlobal(c), Qt::LeftButton, Qt::NoButton);
}
