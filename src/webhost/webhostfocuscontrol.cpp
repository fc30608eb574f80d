#include "webhost/webhostfocuscontrol.h"

#include "webhost/activecontrol.h"
#include "webhost/webpane.h"

#include <QApplication>
#include <QWidget>

namespace quorvel {

WebHostFocusControl::WebHostFocusControl()
{
    if (qApp)
        qApp->installEventFilter(this);
}

WebHostFocusControl::~WebHostFocusControl()
{
    if (qApp)
        qApp->removeEventFilter(this);
}

bool WebHostFocusControl::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::WindowActivate && watched->isWidgetType()) {
        auto* window = static_cast<QWidget*>(watched);
        if (window->isWindow())
            WindowActivated(window);
    }
    return QObject::eventFilter(watched, event);
}

void WebHostFocusControl::WindowActivated(QWidget* window)
{
    QWidget* form = QApplication::activeWindow();
    if (form != window || QCoreApplication::closingDown() || !form->isVisible() || !form->isEnabled())
        return;
    auto* pane = qobject_cast<WebPane*>(ActiveControl::Of(form));
    if (!pane || pane->PageHasFocus())
        return;
    // Sent, not posted: right after this notice the toolkit gives the focus to the window's
    // focus widget, or, when the window lost track of it, to its first control; the pane must
    // have taken it by then.
    ++requests_;
    QEvent request(WebPane::FocusRequestEvent);
    QCoreApplication::sendEvent(pane, &request);
}

} // namespace quorvel
