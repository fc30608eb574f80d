#pragma once

class QTreeWidgetItem;

namespace quorvel {

// How a channel just chosen lies from the one that played before: one step forward (+1) or back
// (-1) to its neighbour in the same category, round the category as the media keys go, stepping
// over favourites whose channel is gone; and the channel one more step that way, the one a
// viewer surfing will ask for next. Any other choice is no step (direction 0, no channel after).
struct SurfStep {
    int direction = 0;
    QTreeWidgetItem* after = nullptr;

    static SurfStep Between(const QTreeWidgetItem* from, QTreeWidgetItem* to);
    // The channel next to this one that way in its category; null for a node that is no channel.
    static QTreeWidgetItem* Neighbour(const QTreeWidgetItem* channel, int direction);
};

} // namespace quorvel
