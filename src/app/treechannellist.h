#pragma once

#include "watching/channellist.h"

#include <functional>

class QModelIndex;

namespace quorvel {

class ChannelTreeView;

// The channel tree as the watch session sees it. Categories not opened yet answer from the
// catalogue without making their rows (see ChannelModel); choosing a channel makes them.
class TreeChannelList : public ChannelList {
public:
    // playSelected: plays the tree's selected channel, as a change of selection does.
    TreeChannelList(ChannelTreeView& tree, std::function<void()> playSelected);

    int CategoryCount() const override;
    QString CategoryTitle(int category) const override;
    int ChannelCount(int category) const override;
    QString ChannelName(int category, int channel) const override;
    bool IsGone(int category, int channel) const override;
    ChannelRef Selected() const override;
    void Choose(const ChannelRef& channel) override;
    void PlaySelected() override;

    // What a row of the tree names.
    static ChannelRef RefOf(const QModelIndex& row);

private:
    ChannelTreeView& tree_;
    std::function<void()> playSelected_;
};

} // namespace quorvel
