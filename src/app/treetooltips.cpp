#include "app/treetooltips.h"

#include "app/favouritesview.h"

#include <QHelpEvent>
#include <QToolTip>
#include <QTreeWidget>

namespace quorvel {

TreeToolTips::TreeToolTips(QTreeWidget* tree) : QObject(tree), tree_(tree)
{
    tree->viewport()->installEventFilter(this);
}

bool TreeToolTips::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::ToolTip || watched != tree_->viewport())
        return false;
    auto* help = static_cast<QHelpEvent*>(event);
    const QTreeWidgetItem* item = tree_->itemAt(help->pos());
    if (!item) {
        QToolTip::hideText();
        return true;
    }
    // The text's room is its cell less the icon; a name that needs more is cut with "…".
    const QModelIndex index = tree_->indexFromItem(item);
    const QRect cell = tree_->visualRect(index);
    const int iconRoom = item->icon(0).isNull() ? 0 : tree_->iconSize().width() + 6;
    const int needed = tree_->fontMetrics().horizontalAdvance(item->text(0)) + iconRoom + 6;
    const int visibleRight = std::min(cell.right(), tree_->viewport()->width());
    QStringList lines;
    if (cell.left() + needed > visibleRight)
        lines << item->text(0);
    if (FavouritesView::IsGone(item)) {
        if (lines.isEmpty())
            lines << item->text(0);
        lines << tr("No playlist lists this channel now");
    } else if (guide_ && item->parent() && !item->parent()->parent()) {
        // A channel (its category above it) shows what is on; a category has no programmes.
        const QStringList programmes = guide_(item->text(0));
        if (!programmes.isEmpty() && lines.isEmpty())
            lines << item->text(0);
        lines << programmes;
    }
    if (!lines.isEmpty())
        QToolTip::showText(help->globalPos(), lines.join(QLatin1Char('\n')), tree_->viewport(), cell);
    else
        QToolTip::hideText();
    return true;
}

} // namespace quorvel
