#include "webhost/webhostmousehook.h"

#include "webhost/webpane.h"

#include <QApplication>
#include <QWebEngineView>
#include <QWheelEvent>

namespace quorvel {
namespace {

// The pane a widget belongs to, looking from its parent up.
WebPane* PaneAbove(QWidget* widget)
{
    for (QWidget* w = widget ? widget->parentWidget() : nullptr; w; w = w->parentWidget())
        if (auto* pane = qobject_cast<WebPane*>(w))
            return pane;
    return nullptr;
}

} // namespace

WebHostMouseHook::WebHostMouseHook()
{
    if (qApp)
        qApp->installEventFilter(this);
}

WebHostMouseHook::~WebHostMouseHook()
{
    if (qApp)
        qApp->removeEventFilter(this);
}

bool WebHostMouseHook::eventFilter(QObject* watched, QEvent* event)
{
    // A turn travels up from the widget under the pointer to its parents: judge it once, where
    // the toolkit first delivers it.
    if (event->type() == QEvent::Wheel && event->spontaneous() && watched->isWidgetType()) {
        auto* wheel = static_cast<QWheelEvent*>(event);
        if (QApplication::widgetAt(wheel->globalPosition().toPoint()) == watched)
            return Wheel(wheel);
    }
    return QObject::eventFilter(watched, event);
}

bool WebHostMouseHook::Wheel(QWheelEvent* event)
{
    QWidget* target = QApplication::widgetAt(event->globalPosition().toPoint());
    QWidget* focus = QApplication::focusWidget();
    if (!target || !focus)
        return false;
    WebPane* targetPane = PaneAbove(target);
    if (!targetPane)
        return false;
    // The focus elsewhere, or on the pane's frame rather than in its page: the page takes it.
    const bool onFrame = focus == targetPane || focus == targetPane->View();
    if (PaneAbove(focus) == targetPane && !onFrame)
        return false;
    target->setFocus(Qt::MouseFocusReason);
    return true;
}

} // namespace quorvel
