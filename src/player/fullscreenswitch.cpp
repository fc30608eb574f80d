#include "player/fullscreenswitch.h"

#include <QEvent>
#include <QKeyEvent>
#include <QScreen>
#include <QTimer>
#include <QWidget>

namespace quorvel {

FullScreenSwitch::FullScreenSwitch(QWidget* subject) : QObject(subject), subject_(subject) { }

void FullScreenSwitch::Set(bool on)
{
    if (on == on_)
        return;
    if (on)
        Enter();
    else
        Leave();
    emit switched(on_);
}

void FullScreenSwitch::Enter()
{
    QWidget* top = subject_->window();
    homeParent_ = top != subject_ ? subject_->parentWidget() : nullptr;
    homeGeometry_ = subject_->geometry();
    homeAbove_ = nullptr;
    homeAlign_ = AlignOf(subject_);
    homeWindowState_ = top->windowState();
    homeFocus_ = top->focusWidget();
    if (homeParent_) {
        // Remember the sibling stacked right above, to return under it.
        const auto siblings = homeParent_->children();
        const int at = siblings.indexOf(subject_);
        for (int i = at + 1; i < siblings.size() && !homeAbove_; ++i)
            if (auto* w = qobject_cast<QWidget*>(siblings[i]))
                homeAbove_ = w;
    }
    on_ = true;
    if (homeParent_) {
        SetAlign(subject_, Align::None);
        if (homeParent_ != top)
            subject_->setParent(top);
        top->installEventFilter(this);
        subject_->setGeometry(top->rect());
        subject_->raise();
        subject_->show();
    }
    // A window of fixed size could not grow to the screen; its limits come back afterwards.
    homeWindowGeometry_ = top->geometry();
    homeMinimumSize_ = top->minimumSize();
    homeMaximumSize_ = top->maximumSize();
    top->setMinimumSize(0, 0);
    top->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    top->setWindowState((homeWindowState_ & ~Qt::WindowMinimized) | Qt::WindowFullScreen);
    QTimer::singleShot(kFullScreenGraceMs, this, &FullScreenSwitch::CoverScreen);
    top->activateWindow();
    subject_->setFocusPolicy(Qt::StrongFocus);
    subject_->setFocus();
}

void FullScreenSwitch::Leave()
{
    QWidget* top = subject_->window();
    on_ = false;
    subject_->setFocusPolicy(Qt::NoFocus);
    top->setWindowState(homeWindowState_);
    top->setMinimumSize(homeMinimumSize_);
    top->setMaximumSize(homeMaximumSize_);
    if (!(homeWindowState_ & (Qt::WindowMaximized | Qt::WindowFullScreen)))
        top->setGeometry(homeWindowGeometry_);
    if (homeParent_) {
        top->removeEventFilter(this);
        if (homeParent_ != top)
            subject_->setParent(homeParent_);
        SetAlign(subject_, homeAlign_);
        subject_->setGeometry(homeGeometry_);
        if (homeAbove_) {
            subject_->stackUnder(homeAbove_);
            // Native windows (the ticker over the video) keep their own stacking: the ones
            // above go back above, in their order.
            const auto siblings = homeParent_->children();
            for (int i = siblings.indexOf(subject_) + 1; i < siblings.size(); ++i)
                if (auto* w = qobject_cast<QWidget*>(siblings[i]); w && w->internalWinId())
                    w->raise();
        }
        subject_->show();
    }
    // The keyboard goes back where it was, the channel tree mostly, so zapping goes on.
    if (homeFocus_ && homeFocus_ != subject_)
        homeFocus_->setFocus(Qt::OtherFocusReason);
}

void FullScreenSwitch::CoverScreen()
{
    // The desktop makes a window full screen through its window manager; where none does it
    // (a bare X server, a manager that ignores the request), the window takes the screen itself.
    QWidget* top = subject_->window();
    if (!on_ || !top->screen())
        return;
    const QRect screen = top->screen()->geometry();
    if (top->geometry() != screen)
        top->setGeometry(screen);
}

bool FullScreenSwitch::eventFilter(QObject* watched, QEvent* event)
{
    if (on_ && watched == subject_->window()) {
        // The window's size changes as the desktop makes it full screen.
        if (event->type() == QEvent::Resize)
            subject_->setGeometry(subject_->window()->rect());
        // Escape works wherever the keyboard focus went: a key nobody took reaches the window.
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            Set(false);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace quorvel
