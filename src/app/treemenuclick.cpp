#include "app/treemenuclick.h"

#include <QMouseEvent>
#include <QTreeWidget>

namespace quorvel {

TreeMenuClick::TreeMenuClick(QTreeWidget* tree) : QObject(tree), tree_(tree)
{
    tree->viewport()->installEventFilter(this);
}

bool TreeMenuClick::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != tree_->viewport())
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
