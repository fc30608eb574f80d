#include "player/pointeridlehider.h"

#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace quorvel {

PointerIdleHider::PointerIdleHider(QWidget* player, QWidget* bar, QWindow* video)
    : QObject(player), player_(player), bar_(bar), video_(video), timer_(new QTimer(this))
{
    timer_->setSingleShot(true);
    timer_->setInterval(kIdleMs);
    connect(timer_, &QTimer::timeout, this, &PointerIdleHider::Idle);
}

void PointerIdleHider::SetActive(bool on)
{
    if (on == active_)
        return;
    active_ = on;
    if (on) {
        // Every pointer movement in the program counts: over the picture it goes to the video's
        // own window, over the bar to the bar's buttons.
        qApp->installEventFilter(this);
        lastPointer_ = QCursor::pos();
        timer_->start();
        return;
    }
    qApp->removeEventFilter(this);
    timer_->stop();
    Reveal();
}

bool PointerIdleHider::MayHide() const
{
    if (QApplication::activePopupWidget())
        return false;
    // The pointer resting on the bar: the viewer is about to use it.
    return bar_->isHidden() || !bar_->rect().contains(bar_->mapFromGlobal(QCursor::pos()));
}

void PointerIdleHider::Idle()
{
    if (!active_)
        return;
    if (!MayHide()) {
        timer_->start();
        return;
    }
    hidden_ = true;
    bar_->hide();
    player_->setCursor(Qt::BlankCursor);
    if (video_)
        video_->setCursor(Qt::BlankCursor);
}

void PointerIdleHider::Reveal()
{
    if (!hidden_)
        return;
    hidden_ = false;
    player_->unsetCursor();
    if (video_)
        video_->unsetCursor();
    bar_->show();
    // The bar is a window of its own over the picture.
    bar_->raise();
}

bool PointerIdleHider::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseMove:
    case QEvent::HoverMove:
    case QEvent::MouseButtonPress:
    case QEvent::Wheel: {
        // A window shown or moved under a still pointer sends moves too: only a real movement,
        // a press or the wheel counts.
        const QPoint at = QCursor::pos();
        const bool moved = at != lastPointer_;
        lastPointer_ = at;
        if (moved || (event->type() != QEvent::MouseMove && event->type() != QEvent::HoverMove)) {
            Reveal();
            timer_->start();
        }
        break;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace quorvel
