#include "app/treechannellist.h"

#include "app/categorynode.h"
#include "app/channelnodes.h"
#include "app/favouritesview.h"

#include <QTreeWidget>

namespace quorvel {

TreeChannelList::TreeChannelList(QTreeWidget& tree, std::function<void()> playSelected)
    : tree_(tree), playSelected_(std::move(playSelected))
{
}

int TreeChannelList::CategoryCount() const { return tree_.topLevelItemCount(); }

QString TreeChannelList::CategoryTitle(int category) const
{
    const QTreeWidgetItem* node = tree_.topLevelItem(category);
    return node ? node->text(0) : QString();
}

int TreeChannelList::ChannelCount(int category) const
{
    return CategoryNode::ChannelCount(tree_.topLevelItem(category));
}

QString TreeChannelList::ChannelName(int category, int channel) const
{
    return CategoryNode::ChannelName(tree_.topLevelItem(category), channel);
}

bool TreeChannelList::IsGone(int category, int channel) const
{
    // Only the viewer's own lists hold gone channels, and their nodes are always made.
    const QTreeWidgetItem* node = tree_.topLevelItem(category);
    return node && channel < node->childCount() && FavouritesView::IsGone(node->child(channel));
}

ChannelRef TreeChannelList::RefOf(const QTreeWidgetItem* node)
{
    if (!node)
        return {};
    if (!node->parent())
        return {node->text(0), QString()};
    return {node->parent()->text(0), node->text(0)};
}

ChannelRef TreeChannelList::Selected() const
{
    const auto selected = tree_.selectedItems();
    return selected.isEmpty() ? ChannelRef() : RefOf(selected.first());
}

void TreeChannelList::Choose(const ChannelRef& channel)
{
    QTreeWidgetItem* node = FindChannelNode(&tree_, channel.category, channel.name);
    if (!node || !node->parent())
        return;
    node->parent()->setExpanded(true);
    tree_.setCurrentItem(node);
    tree_.scrollToItem(node);
}

void TreeChannelList::PlaySelected()
{
    if (playSelected_)
        playSelected_();
}

} // namespace quorvel
