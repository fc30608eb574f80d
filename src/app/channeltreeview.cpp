#include "app/channeltreeview.h"

#include "channelmodel/channelmodel.h"

namespace quorvel {

ChannelTreeView::ChannelTreeView(ChannelModel* model, QWidget* parent) : QTreeView(parent), model_(model)
{
    model_->setParent(this);
    setModel(model_);
    connect(this, &QTreeView::expanded, model_, &ChannelModel::MakeChannels);
}

QModelIndex ChannelTreeView::Selected() const
{
    const QModelIndexList rows = selectionModel() ? selectionModel()->selectedIndexes() : QModelIndexList();
    return rows.isEmpty() ? QModelIndex() : rows.first();
}

void ChannelTreeView::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected)
{
    QTreeView::selectionChanged(selected, deselected);
    emit itemSelectionChanged();
}

void ChannelTreeView::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTreeView::currentChanged(current, previous);
    emit currentRowChanged(current, previous);
}

} // namespace quorvel
