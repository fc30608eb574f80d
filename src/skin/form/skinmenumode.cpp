#include "skin/form/skinmenumode.h"

#include "skin/form/skinmenu.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

namespace quorvel {

SkinMenuMode::SkinMenuMode(QWidget* form, SkinMenu& menu) : QObject(form), form_(form), menu_(menu) { }

SkinMenuMode::~SkinMenuMode() { Leave(); }

void SkinMenuMode::Enter()
{
    if (active_)
        return;
    active_ = true;
    QCoreApplication::instance()->installEventFilter(this);
}

void SkinMenuMode::Leave()
{
    if (!active_)
        return;
    active_ = false;
    if (QCoreApplication* app = QCoreApplication::instance())
        app->removeEventFilter(this);
}

bool SkinMenuMode::OnForm(QObject* watched) const
{
    auto* widget = qobject_cast<QWidget*>(watched);
    return form_ && widget && (widget == form_ || form_->isAncestorOf(widget));
}

void SkinMenuMode::Dismiss()
{
    if (menu_.MenuOpen)
        menu_.CloseAllPopups();
    else
        Leave();
}

bool SkinMenuMode::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress: {
        // Keys are the menu's; the controls of the window never see them.
        auto* key = static_cast<QKeyEvent*>(event);
        menu_.KeyDown(key->key(), key->text());
        return true;
    }
    case QEvent::ShortcutOverride:
        // Nor do the window's shortcuts fire.
        event->accept();
        return true;
    case QEvent::Wheel:
        return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        if (OnForm(watched))
            Dismiss();
        return false;
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::WindowDeactivate:
        if (watched == form_)
            Dismiss();
        return false;
    default:
        return false;
    }
}

} // namespace quorvel
