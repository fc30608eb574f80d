#include "app/treetooltips.h"

#include "channelmodel/channelmodel.h"

#include <QHelpEvent>
#include <QIcon>
#include <QToolTip>
#include <QTreeView>

namespace quorvel {

TreeToolTips::TreeToolTips(QTreeView* tree) : QObject(tree), tree_(tree) { tree->viewport()->installEventFilter(this); }

bool TreeToolTips::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::ToolTip || watched != tree_->viewport())
        return false;
    auto* help = static_cast<QHelpEvent*>(event);
    const QModelIndex index = tree_->indexAt(help->pos());
    if (!index.isValid()) {
        QToolTip::hideText();
        return true;
    }
    // The text's room is its cell less the icon; a name that needs more is cut with "…".
    const QString text = ChannelModel::NameOf(index);
    const QRect cell = tree_->visualRect(index);
    const int iconRoom =
        qvariant_cast<QIcon>(index.data(Qt::DecorationRole)).isNull() ? 0 : tree_->iconSize().width() + 6;
    const int needed = tree_->fontMetrics().horizontalAdvance(text) + iconRoom + 6;
    const int visibleRight = std::min(cell.right(), tree_->viewport()->width());
    QStringList lines;
    if (cell.left() + needed > visibleRight)
        lines << text;
    if (ChannelModel::IsGone(index)) {
        if (lines.isEmpty())
            lines << text;
        lines << tr("No playlist lists this channel now");
    } else if (guide_ && ChannelModel::IsChannel(index)) {
        // A channel shows what is on; a category has no programmes.
        const QStringList programmes = guide_(text);
        if (!programmes.isEmpty() && lines.isEmpty())
            lines << text;
        lines << programmes;
    }
    if (!lines.isEmpty())
        QToolTip::showText(help->globalPos(), lines.join(QLatin1Char('\n')), tree_->viewport(), cell);
    else
        QToolTip::hideText();
    return true;
}

} // namespace quorvel
