#include "app/channelnodes.h"

#include "app/categorynode.h"

#include <QTreeWidget>

namespace quorvel {
namespace {

QTreeWidgetItem* ChannelIn(QTreeWidgetItem* category, const QString& channel)
{
    const int count = CategoryNode::ChannelCount(category);
    for (int i = 0; i < count; ++i) {
        if (CategoryNode::ChannelName(category, i) == channel) {
            CategoryNode::MakeChannels(category);
            return category->child(i);
        }
    }
    return nullptr;
}

} // namespace

QTreeWidgetItem* FindChannelNode(QTreeWidget* tree, const QString& category, const QString& channel)
{
    for (int c = 0; c < tree->topLevelItemCount(); ++c)
        if (tree->topLevelItem(c)->text(0) == category)
            if (QTreeWidgetItem* node = ChannelIn(tree->topLevelItem(c), channel))
                return node;
    for (int c = 0; c < tree->topLevelItemCount(); ++c)
        if (QTreeWidgetItem* node = ChannelIn(tree->topLevelItem(c), channel))
            return node;
    return nullptr;
}

} // namespace quorvel
