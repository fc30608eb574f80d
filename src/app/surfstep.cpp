#include "app/surfstep.h"

#include "app/favouritesview.h"

#include <QTreeWidgetItem>

namespace quorvel {

QTreeWidgetItem* SurfStep::Neighbour(const QTreeWidgetItem* channel, int direction)
{
    if (!channel || !channel->parent() || channel->parent()->parent())
        return nullptr;
    QTreeWidgetItem* category = channel->parent();
    const int count = category->childCount();
    int at = category->indexOfChild(const_cast<QTreeWidgetItem*>(channel));
    for (int tries = 0; tries < count; ++tries) {
        at = (at + direction + count) % count;
        if (!FavouritesView::IsGone(category->child(at)))
            return category->child(at);
    }
    return nullptr;
}

SurfStep SurfStep::Between(const QTreeWidgetItem* from, QTreeWidgetItem* to)
{
    if (!from || !to || from == to || from->parent() != to->parent())
        return {};
    // In a category of two, either way leads to the other: counted forward.
    for (const int direction : {1, -1})
        if (Neighbour(from, direction) == to)
            return {direction, Neighbour(to, direction)};
    return {};
}

} // namespace quorvel
