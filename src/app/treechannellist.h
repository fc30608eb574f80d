#pragma once

#include "watching/channellist.h"

#include <functional>

class QTreeWidget;
class QTreeWidgetItem;

namespace quorvel {

// The channel tree as the watch session sees it. Categories not opened yet answer from the
// catalogue without making their nodes (see CategoryNode); choosing a channel makes them.
class TreeChannelList : public ChannelList {
public:
    // playSelected: plays the tree's selected channel, as a change of selection does.
    TreeChannelList(QTreeWidget& tree, std::function<void()> playSelected);

    int CategoryCount() const override;
    QString CategoryTitle(int category) const override;
    int ChannelCount(int category) const override;
    QString ChannelName(int category, int channel) const override;
    bool IsGone(int category, int channel) const override;
    ChannelRef Selected() const override;
    void Choose(const ChannelRef& channel) override;
    void PlaySelected() override;

    // What a node of the tree names.
    static ChannelRef RefOf(const QTreeWidgetItem* node);

private:
    QTreeWidget& tree_;
    std::function<void()> playSelected_;
};

} // namespace quorvel
