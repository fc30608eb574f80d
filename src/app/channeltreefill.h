#pragma once

#include <QIcon>

#include <memory>

class QTreeWidget;

namespace quorvel {

class ChannelTree;

// Appends the catalogue's categories to the tree, after the nodes already there. A catalogue of a
// few thousand channels is made whole at once, in a millisecond; a larger one makes a category's
// channel nodes when they are first needed (opening the category, finding a channel, the media
// keys), so that start-up does not wait for a hundred thousand nodes no one has looked at yet.
void FillChannelTree(QTreeWidget* tree, const std::shared_ptr<const ChannelTree>& catalogue, const QIcon& image);

} // namespace quorvel
