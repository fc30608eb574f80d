// The skinned window: its size around the client area, its states, and its caption buttons
// under the pointer.
#include "formfixture.h"
#include "skin/form/frameclient.h"
#include "skin/form/skincaptionobject.h"
#include "skin/controls/skinpanel.h"
#include "skin/form/skinstdbuttonobject.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
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

TEST(SkinForm, WindowAroundTheClientAreaAndTrackSizes)
{
    FormFixture f;
    EXPECT_EQ(f.form().size(), QSize(718, 479));
    EXPECT_EQ(f.frame().ClientArea()->geometry(), QRect(3, 30, 712, 446));
    EXPECT_EQ(f.frame().MinTrackWidth(), 210);
    EXPECT_EQ(f.frame().MinTrackHeight(), 33);
    f.frame().MinHeight = 100;
    EXPECT_EQ(f.frame().MinTrackHeight(), 100);

    FormFixture plain(false);
    // The plain frame: 3 pixels at the sides and the bottom, a caption of 19 and 3 above it.
    EXPECT_EQ(plain.form().size(), QSize(718, 471));
    EXPECT_EQ(plain.frame().ClientArea()->geometry(), QRect(3, 22, 712, 446));
    EXPECT_EQ(plain.frame().MinTrackWidth(), 120);
    EXPECT_EQ(plain.frame().MinTrackHeight(), 25);
}

TEST(SkinForm, RollUpAndDownByCaptionDoubleClick)
{
    FormFixture f;
    f.ShowActive();
    f.events.clear();
    SkinForm& frame = f.frame();
    frame.CaptionDoubleClick();
    EXPECT_TRUE(frame.RolledUp());
    EXPECT_EQ(f.form().height(), 33);
    EXPECT_EQ(frame.ClientArea()->height(), 0);
    frame.CaptionDoubleClick();
    EXPECT_FALSE(frame.RolledUp());
    EXPECT_EQ(f.form().size(), QSize(718, 479));
    EXPECT_EQ(frame.ClientArea()->geometry(), QRect(3, 30, 712, 446));
    EXPECT_EQ(f.events, (std::vector<std::string>{"rollup", "rollup"}) );
    // Not without the roll-up icon.
    frame.SetBorderIcons(BorderIcons{false, true, true, false, false});
    frame.SetRollUp(true);
    EXPECT_FALSE(frame.RolledUp());
    EXPECT_EQ(f.form().height(), 479);
}

TEST(SkinForm, MaximizeFillsTheWorkAreaAndRestoreComesBack)
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
    EXPECT_TRUE(frame.NormalBounds.isNull());
    // Minimizing the main window minimizes the application; the frame stays normal, so the next
    // maximize still works from there.
    frame.SetFrameState(FrameState::Minimized);
    EXPECT_EQ(frame.GetFrameState(), FrameState::Normal);
    f.form().showNormal();
    frame.SetFrameState(FrameState::Maximized);
    EXPECT_EQ(frame.GetFrameState(), FrameState::Maximized);
}

TEST(SkinForm, ActivationFiresItsEventTwice)
{
    FormFixture f;
    f.ShowActive();
    f.events.clear();
    QEvent deactivate(QEvent::WindowDeactivate);
    QCoreApplication::sendEvent(&f.form(), &deactivate);
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(&f.form(), &activate);
    // The window is still the active one, so both rounds report it active.
    EXPECT_EQ(f.events, (std::vector<std::string>{"activate", "activate", "activate", "activate"}));
    EXPECT_TRUE(dynamic_cast<SkinCaptionObject&>(f.Object("caption")).Hot);
}

TEST(SkinForm, HoverMorphsInFiveStepsBothWaysAndReverses)
{
    FormFixture f;
    f.ShowActive();
    SkinForm& frame = f.frame();
    ActiveSkinObject& close = f.Object("closebutton");
    const QPoint c = Centre(close);
    frame.HoverTracking(c.x(), c.y(), true);
    EXPECT_EQ(frame.HotIndex, f.IndexOf("closebutton"));
    EXPECT_TRUE(close.Hot);
    EXPECT_EQ(f.RunMorph(), 6); // five steps and the tick that finds nothing left to do
    EXPECT_EQ(close.MorphAmount, 1);
    frame.HoverTracking(-1, -1, false);
    EXPECT_FALSE(close.Hot);
    EXPECT_EQ(f.RunMorph(), 6);
    EXPECT_EQ(close.MorphAmount, 0);
    // In and out again half way: it turns back from where it was.
    frame.HoverTracking(c.x(), c.y(), true);
    frame.MorphTimerTick();
    frame.MorphTimerTick();
    EXPECT_NEAR(close.MorphAmount, 0.4, 1e-9);
    frame.HoverTracking(-1, -1, false);
    frame.MorphTimerTick();
    EXPECT_NEAR(close.MorphAmount, 0.2, 1e-9);
    f.RunMorph();
    EXPECT_EQ(close.MorphAmount, 0);
}

TEST(SkinForm, HoverMorphPaintsOnlyTheFrame)
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
    f.frame().HoverTracking(c.x(), c.y(), true);
    for (int i = 0; i < 6; ++i) {
        f.frame().MorphTimerTick();
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(counter.paints, 0);
}

TEST(SkinForm, CloseRunsOnlyWhenReleasedOverTheButton)
{
    FormFixture f;
    f.ShowActive();
    SkinForm& frame = f.frame();
    bool closed = false;
    class CloseWatcher : public QObject {
    public:
        explicit CloseWatcher(bool& closed) : closed_(closed) {}
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
    frame.HoverTracking(c.x(), c.y(), true);
    frame.Press(Qt::LeftButton, c.x(), c.y());
    EXPECT_TRUE(close.Down);
    // While it holds the press, the maximize button next to it does not light up.
    const QPoint m = Centre(f.Object("maxbutton"));
    frame.HoverTracking(m.x(), m.y(), true);
    EXPECT_EQ(frame.HotIndex, -1);
    EXPECT_FALSE(f.Object("maxbutton").Hot);
    frame.Release(Qt::LeftButton, m.x(), m.y());
    EXPECT_FALSE(close.Down);
    EXPECT_FALSE(closed);
    EXPECT_TRUE(f.form().isVisible());

    // Pressed and released over it: the window closes, after the button was drawn released.
    frame.HoverTracking(c.x(), c.y(), true);
    frame.Press(Qt::LeftButton, c.x(), c.y());
    frame.Release(Qt::LeftButton, c.x(), c.y());
    EXPECT_FALSE(close.Down);
    EXPECT_TRUE(closed);
    EXPECT_FALSE(f.form().isVisible());
    // A caption button reports no presses of its own.
    for (const std::string& e : f.events)
        EXPECT_NE(e, "down closebutton");
}

TEST(SkinForm, MaximizeButtonMaximizesBeforeItsReleaseIsReported)
{
    FormFixture f;
    f.ShowActive();
    SkinForm& frame = f.frame();
    std::vector<std::string> seen;
    frame.OnMouseUpEvent = [&](const std::string& id, int, int, const SkinRect&, Qt::MouseButton) {
        seen.push_back(id + (frame.GetFrameState() == FrameState::Maximized ? " maximized" : " normal"));
    };
    const QPoint m = Centre(f.Object("maxbutton"));
    frame.HoverTracking(m.x(), m.y(), true);
    frame.Press(Qt::LeftButton, m.x(), m.y());
    frame.Release(Qt::LeftButton, m.x(), m.y());
    EXPECT_EQ(frame.GetFrameState(), FrameState::Maximized);
    EXPECT_EQ(seen, (std::vector<std::string>{"maxbutton maximized"}));
    // The button moved with the right edge; pressing it there restores.
    const QPoint again = Centre(f.Object("maxbutton"));
    frame.HoverTracking(again.x(), again.y(), true);
    frame.Press(Qt::LeftButton, again.x(), again.y());
    frame.Release(Qt::LeftButton, again.x(), again.y());
    EXPECT_EQ(frame.GetFrameState(), FrameState::Normal);
}

TEST(SkinForm, CaptionReportsItsReleaseEvenAfterThePointerLeft)
{
    FormFixture f;
    f.ShowActive();
    SkinForm& frame = f.frame();
    const QPoint c = Centre(f.Object("caption"));
    EXPECT_EQ(frame.HitTest(c.x(), c.y()), HTCAPTION);
    frame.HoverTracking(c.x(), c.y(), true);
    frame.Press(Qt::LeftButton, c.x(), c.y());
    frame.HoverTracking(-1, -1, false);
    frame.Release(Qt::LeftButton, 500, 300);
    EXPECT_EQ(f.events.back(), "up caption");
    EXPECT_NE(std::find(f.events.begin(), f.events.end(), "down caption"), f.events.end());
}

TEST(SkinForm, SkinGoingAndComingBack)
{
    FormFixture f;
    f.ShowActive();
    SkinForm& frame = f.frame();
    SkinData* data = frame.GetSkinData();
    ASSERT_TRUE(data);
    // Before a change the frame lets go of the objects of the old skin.
    SkinMessageEvent before(SKINMSG_BEFORE_CHANGE, data);
    QCoreApplication::sendEvent(&f.form(), &before);
    EXPECT_FALSE(frame.SkinInUse);
    EXPECT_TRUE(frame.Objects.Empty());
    SkinMessageEvent changed(SKINMSG_CHANGED, data);
    QCoreApplication::sendEvent(&f.form(), &changed);
    EXPECT_TRUE(frame.SkinInUse);
    EXPECT_EQ(frame.Objects.Count(), 5);
    // Without a skin: the plain frame, its objects made when it is first drawn, no outline.
    frame.SetSkinData(nullptr);
    EXPECT_FALSE(frame.SkinInUse);
    EXPECT_FALSE(frame.HasFrameRegion());
    EXPECT_TRUE(f.form().mask().isEmpty());
    EXPECT_EQ(frame.ClientArea()->geometry().topLeft(), QPoint(3, 22));
}

TEST(SkinForm, SkinChangesReachTheSkinnedControlsOfTheForm)
{
    FormFixture f;
    SkinForm& frame = f.frame();
    SkinData* data = frame.GetSkinData();
    // A panel nested in another, and one drawn from a skin of its own.
    auto* outer = new SkinPanel(frame.ClientArea());
    auto* inner = new SkinPanel(outer);
    auto* foreign = new SkinPanel(frame.ClientArea());
    SkinData other;
    outer->SetSkinData(data);
    inner->SetSkinData(data);
    foreign->SetSkinData(&other);
    ASSERT_GE(outer->SkinIndex(), 0);
    ASSERT_GE(inner->SkinIndex(), 0);

    SkinMessageEvent before(SKINMSG_BEFORE_CHANGE, data);
    QCoreApplication::sendEvent(&f.form(), &before);
    EXPECT_EQ(outer->SkinIndex(), -1);
    EXPECT_EQ(inner->SkinIndex(), -1);
    SkinMessageEvent changed(SKINMSG_CHANGED, data);
    QCoreApplication::sendEvent(&f.form(), &changed);
    EXPECT_GE(outer->SkinIndex(), 0);
    EXPECT_GE(inner->SkinIndex(), 0);
    // The other skin's controls are left alone, unless the change names no skin at all.
    EXPECT_EQ(foreign->SkinIndex(), -1);
    foreign->ForgetSkinSection();
    inner->ForgetSkinSection();
    SkinMessageEvent any(SKINMSG_CHANGED, nullptr);
    QCoreApplication::sendEvent(&f.form(), &any);
    EXPECT_GE(inner->SkinIndex(), 0);
}
