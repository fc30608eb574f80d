#include "skin/form/frameinput.h"

#include "skin/data/skindata.h"
#include "skin/form/defaultframe.h"
#include "skin/form/framelayout.h"
#include "skin/form/framemenus.h"
#include "skin/form/framepainter.h"
#include "skin/form/frameskin.h"
#include "skin/form/framewindowstates.h"
#include "skin/form/skincaptionobject.h"
#include "skin/form/skinform.h"

#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace quorvel {

FrameInput::FrameInput(SkinForm& frame)
    : LeaveTimer(new QTimer(this)), MorphTimer(new QTimer(this)), AnimateTimer(new QTimer(this)), frame_(frame)
{
    LeaveTimer->setInterval(50);
    connect(LeaveTimer, &QTimer::timeout, this, &FrameInput::LeaveTimerTick);
    MorphTimer->setInterval(20);
    connect(MorphTimer, &QTimer::timeout, this, &FrameInput::MorphTimerTick);
    AnimateTimer->setInterval(25);
    connect(AnimateTimer, &QTimer::timeout, this, &FrameInput::AnimateTimerTick);
}

HitTestState FrameInput::HitState(int x, int y) const
{
    const QWidget* form = frame_.Form();
    const FrameState state = frame_.GetFrameState();
    HitTestState st;
    st.width = form->width();
    st.height = form->height();
    st.maximized = state == FrameState::Maximized;
    st.minimized = state == FrameState::Minimized || form->isMinimized();
    st.rolledUp = frame_.RolledUp();
    st.objectHot = HotIndex != -1;
    st.inSizeMove = InSizeMove;
    st.inCaption = frame_.Skin().Objects.PointOnCaption(x, y);
    return st;
}

int FrameInput::SkinnedHitTest(int x, int y)
{
    const FrameSkin& skin = frame_.Skin();
    const FrameLayout& layout = frame_.Layout();
    return quorvel::SkinnedHitTest(x, y, HitState(x, y), layout.Geometry, skin.Data()->Info.borderwidth,
                                   !skin.Pictures().Mask().isNull(), layout.Strips);
}

int FrameInput::DefaultHitTest(int x, int y)
{
    return quorvel::DefaultHitTest(x, y, HitState(x, y), frame_.Layout().DefaultCaptionTextRect(),
                                   DefaultFrame::CaptionHeight);
}

int FrameInput::HitTest(int x, int y)
{
    if (frame_.NoBorder())
        return HTCLIENT;
    return frame_.Skin().SkinInUse ? SkinnedHitTest(x, y) : DefaultHitTest(x, y);
}

void FrameInput::HoverTracking(int x, int y, bool inside)
{
    const FrameObjects& objects = frame_.Skin().Objects;
    if (objects.Empty() || !frame_.IsActiveForDrawing())
        return;
    PrevHotIndex = HotIndex;
    int hot = -1;
    if (inside) {
        for (int i = 0; i < objects.Count(); ++i) {
            const ActiveSkinObject* o = objects.At(i);
            if (o->Enabled && o->Visible && PointHitsRect(x, y, o->ObjectRect)) {
                hot = i;
                break;
            }
        }
    }
    // While an object holds the press no other becomes hot.
    if (PressedIndex != -1 && hot != PressedIndex)
        hot = -1;
    if (hot >= objects.Count())
        hot = -1;
    if (PrevHotIndex >= objects.Count())
        PrevHotIndex = -1;
    HotIndex = hot;
    if (HotIndex == PrevHotIndex)
        return;
    if (ActiveSkinObject* old = objects.At(PrevHotIndex); old && old->Enabled && old->Visible)
        old->HandleMouseLeave();
    if (ActiveSkinObject* now = objects.At(HotIndex); now && now->Enabled && now->Visible)
        now->HandleMouseEnter();
}

void FrameInput::Press(Qt::MouseButton button, int x, int y)
{
    ActiveSkinObject* hot = frame_.Skin().Objects.At(HotIndex);
    if (!hot)
        return;
    // The window keeps the pointer until the release (Qt grabs it for the pressed widget).
    PressedIndex = HotIndex;
    hot->HandleMouseDown(x, y, button);
}

void FrameInput::Release(Qt::MouseButton button, int x, int y)
{
    ActiveSkinObject* pressed = frame_.Skin().Objects.At(PressedIndex);
    PressedIndex = -1;
    if (!pressed)
        return;
    // A release reaches a pressed button through the pointer grab, away from any place.
    if (!dynamic_cast<SkinCaptionObject*>(pressed)) {
        x = -1;
        y = -1;
    }
    pressed->HandleMouseUp(x, y, button);
}

void FrameInput::LeaveTimerTick()
{
    if (!frame_.IsActiveForDrawing())
        return;
    if (InSizeMove) {
        LeaveTimer->stop();
        return;
    }
    const QWidget* form = frame_.Form();
    const QPoint p = form->mapFromGlobal(QCursor::pos());
    if (!frame_.ClientArea()->geometry().contains(p))
        HoverTracking(p.x(), p.y(), form->rect().contains(p));
    else if (HotIndex != -1)
        HoverTracking(-1, -1, false);
}

void FrameInput::MorphTimerTick()
{
    if (!frame_.Skin().Objects.MorphTick())
        MorphTimer->stop();
}

void FrameInput::AnimateTimerTick()
{
    if (!frame_.Skin().Objects.AnimateTick())
        AnimateTimer->stop();
}

void FrameInput::StartMorphTimer()
{
    if (!MorphTimer->isActive())
        MorphTimer->start();
}

void FrameInput::StartAnimateTimer()
{
    if (!AnimateTimer->isActive())
        AnimateTimer->start();
}

void FrameInput::ResetHoverState()
{
    frame_.Skin().Objects.ResetHoverState();
    // No object is hot any more, so none is known as hot: the next movement, tick or press finds
    // the one under the pointer afresh. Otherwise a button under a still pointer would stay cold
    // and its click would run nothing.
    HotIndex = PrevHotIndex = -1;
}

void FrameInput::ForgetObjects() { HotIndex = PrevHotIndex = PressedIndex = -1; }

void FrameInput::EnterSizeMove()
{
    ResetHoverState();
    LeaveTimer->stop();
    HotIndex = PressedIndex = -1;
    InSizeMove = true;
}

void FrameInput::ExitSizeMove()
{
    LeaveTimer->stop();
    HotIndex = PrevHotIndex = PressedIndex = -1;
    // The press that began the move ends with it.
    InSizeMove = false;
    if (frame_.Skin().SkinInUse)
        frame_.Painter().SendNcPaint();
}

void FrameInput::MoveByCaption(const QPoint& screen)
{
    // The window moves itself, with or without a window manager, and follows the pointer from
    // its first pixel away from the press. A manager's move started here
    // (QWindow::startSystemMove) takes the pointer's place in the window from its latest event
    // and maps it through the window's place now: it starts where the pointer was one motion
    // ago and drops that motion, all of it after one fast jump.
    if (screen == pressScreenPos_ && !InSizeMove)
        return;
    // A Wayland compositor does not let a window place itself: only its own move can.
    if (QGuiApplication::platformName() == QLatin1String("wayland")) {
        if (QWindow* window = frame_.Form()->windowHandle(); window && window->startSystemMove()) {
            captionPressed_ = false;
            return;
        }
    }
    if (!InSizeMove)
        EnterSizeMove();
    frame_.Form()->move(pressWindowPos_ + (screen - pressScreenPos_));
}

bool FrameInput::HandleMouse(QEvent* event)
{
    auto* e = static_cast<QMouseEvent*>(event);
    const QPoint p = e->position().toPoint();
    const QPoint screen = e->globalPosition().toPoint();
    const FrameObjects& objects = frame_.Skin().Objects;
    switch (event->type()) {
    case QEvent::MouseMove: {
        if (captionPressed_ && (e->buttons() & Qt::LeftButton)) {
            MoveByCaption(screen);
            return true;
        }
        if (HitTest(p.x(), p.y()) == HTOBJECT && !LeaveTimer->isActive()) {
            HoverTracking(p.x(), p.y(), true);
            LeaveTimer->start();
        }
        if (ActiveSkinObject* o = objects.At(PressedIndex != -1 ? PressedIndex : HotIndex))
            o->HandleMouseMove(p.x(), p.y());
        return true;
    }
    case QEvent::MouseButtonPress: {
        const int hit = HitTest(p.x(), p.y());
        const Qt::MouseButton button = e->button();
        if (button == Qt::LeftButton) {
            if (InSizeMove) {
                InSizeMove = false;
                return true;
            }
            HoverTracking(p.x(), p.y(), true);
            Press(button, p.x(), p.y());
            if (hit == HTCAPTION) {
                PressedIndex = -1;
                // A drag from here moves the window; a maximized window stays where it is.
                captionPressed_ = frame_.GetFrameState() != FrameState::Maximized;
                pressScreenPos_ = screen;
                pressWindowPos_ = frame_.Form()->pos();
            }
        } else if (button == Qt::RightButton) {
            HoverTracking(p.x(), p.y(), true);
            Press(button, p.x(), p.y());
            if (hit == HTCAPTION) {
                PressedIndex = -1;
                frame_.Menus().PopupSystemMenu(screen);
            }
        }
        return true;
    }
    case QEvent::MouseButtonRelease: {
        if (e->button() == Qt::LeftButton && captionPressed_) {
            captionPressed_ = false;
            if (InSizeMove)
                ExitSizeMove();
        }
        Release(e->button(), p.x(), p.y());
        return true;
    }
    case QEvent::MouseButtonDblClick: {
        const int hit = HitTest(p.x(), p.y());
        HoverTracking(p.x(), p.y(), true);
        Press(e->button(), p.x(), p.y());
        if (e->button() == Qt::LeftButton) {
            if (ActiveSkinObject* hot = objects.At(HotIndex))
                hot->HandleDoubleClick();
            if (hit == HTCAPTION) {
                captionPressed_ = false;
                frame_.States().CaptionDoubleClick();
                PressedIndex = -1;
            }
        } else if (hit == HTCAPTION) {
            PressedIndex = -1;
        }
        return true;
    }
    default:
        return false;
    }
}

} // namespace quorvel
