#include "app/treechannellist.h"

#include "app/channeltreeview.h"
#include "channelmodel/channelmodel.h"

namespace quorvel {

TreeChannelList::TreeChannelList(ChannelTreeView& tree, std::function<void()> playSelected)
    : tree_(tree), playSelected_(std::move(playSelected))
{
}

int TreeChannelList::CategoryCount() const { return tree_.Channels().CategoryCount(); }

QString TreeChannelList::CategoryTitle(int category) const { return tree_.Channels().CategoryTitle(category); }

int TreeChannelList::ChannelCount(int category) const { return tree_.Channels().ChannelCount(category); }

QString TreeChannelList::ChannelName(int category, int channel) const
{
    return tree_.Channels().ChannelName(category, channel);
}

bool TreeChannelList::IsGone(int category, int channel) const { return tree_.Channels().IsGone(category, channel); }

ChannelRef TreeChannelList::RefOf(const QModelIndex& row)
{
    if (!row.isValid())
        return {};
    if (!row.parent().isValid())
        return {ChannelModel::NameOf(row), QString()};
    return {ChannelModel::NameOf(row.parent()), ChannelModel::NameOf(row)};
}

ChannelRef TreeChannelList::Selected() const { return RefOf(tree_.Selected()); }

void TreeChannelList::Choose(const ChannelRef& channel)
{
    const QModelIndex row = tree_.Channels().FindChannel(channel.category, channel.name);
    if (!row.isValid() || !row.parent().isValid())
        return;
    tree_.expand(row.parent());
    tree_.setCurrentIndex(row);
    tree_.scrollTo(row);
}

void TreeChannelList::PlaySelected()
{
    if (playSelected_)
        playSelected_();
}

} // namespace quorvel
