#include "app/treemenuclick.h"

#include <QAbstractItemView>
#include <QMouseEvent>

namespace quorvel {

TreeMenuClick::TreeMenuClick(QAbstractItemView* tree) : QObject(tree), viewport_(tree->viewport())
{
    viewport_->installEventFilter(this);
}

bool TreeMenuClick::eventFilter(QObject* watched, QEvent* event)
{
    // Compared as it was when installed: a tree being taken down is asked nothing.
    if (watched != viewport_)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        // The menu's own event comes apart from the press, so it still opens.
        return static_cast<QMouseEvent*>(event)->button() == Qt::RightButton;
    default:
        return false;
    }
}

} // namespace quorvel
