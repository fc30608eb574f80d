#include "webhost/activecontrol.h"

#include "webhost/webpane.h"

#include <QHash>
#include <QPointer>
#include <QWidget>

namespace quorvel {
namespace {

// Last control made active per window, for windows whose focus widget has gone.
QHash<const QObject*, QPointer<QWidget>>& Recorded()
{
    static QHash<const QObject*, QPointer<QWidget>> recorded;
    return recorded;
}

// The web pane a widget belongs to, or the widget itself.
QWidget* ControlOf(QWidget* widget)
{
    for (QWidget* w = widget; w; w = w->parentWidget())
        if (qobject_cast<WebPane*>(w))
            return w;
    return widget;
}

} // namespace

QWidget* ActiveControl::Of(QWidget* form)
{
    if (!form)
        return nullptr;
    if (QWidget* focus = form->focusWidget())
        return ControlOf(focus);
    QWidget* recorded = Recorded().value(form).data();
    return recorded && form->isAncestorOf(recorded) ? recorded : nullptr;
}

void ActiveControl::Set(QWidget* form, QWidget* control)
{
    if (!form)
        return;
    auto& recorded = Recorded();
    if (!recorded.contains(form))
        QObject::connect(form, &QObject::destroyed, [](QObject* gone) { Recorded().remove(gone); });
    recorded.insert(form, control);
}

} // namespace quorvel
