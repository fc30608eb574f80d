#pragma once

#include <QTreeView>

namespace quorvel {

class ChannelModel;

// The channel tree: a view on a ChannelModel. Its own signals follow the selection and the
// current row, so that code filling the model again can hold them back by blocking the view
// (the selection model's signals would still go out). Opening a category makes its channel rows.
class ChannelTreeView : public QTreeView {
    Q_OBJECT
public:
    ChannelTreeView(ChannelModel* model, QWidget* parent);

    ChannelModel& Channels() const { return *model_; }
    // The selected row; invalid when none is.
    QModelIndex Selected() const;

signals:
    void itemSelectionChanged();
    void currentRowChanged(const QModelIndex& current, const QModelIndex& previous);

protected:
    void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    ChannelModel* model_;
};

} // namespace quorvel
