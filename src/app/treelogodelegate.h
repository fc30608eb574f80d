#pragma once

#include <QStyledItemDelegate>

class QTimer;
class QTreeView;

namespace quorvel {

class ChannelLogos;

// Draws a channel's logo in the tree in place of the channel image, once the logo is there, and
// a favourite whose channel is gone greyed.
// Only rows on screen ask for theirs, so a tree of many thousand channels fetches what is seen.
class TreeLogoDelegate : public QStyledItemDelegate {
public:
    TreeLogoDelegate(QTreeView* tree, ChannelLogos& logos);

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    ChannelLogos& logos_;
    // Logos come in bursts: the tree is drawn again once for each burst.
    QTimer* repaint_;
};

} // namespace quorvel
