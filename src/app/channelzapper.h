#pragma once

#include "catalogue/channelnumbers.h"

#include <QString>

#include <memory>
#include <optional>
#include <string>

class QTreeWidget;
class QTreeWidgetItem;

namespace quorvel {

class ViewerDatabase;

// Zapping as on a television, over the channel tree: channel numbers (the playlists' own, else
// the place in the catalogue; see ChannelNumbers) and the next or previous channel of a category.
// The numbers are worked out when first needed after the catalogue changed.
class ChannelZapper {
public:
    ChannelZapper(QTreeWidget* tree, std::string catalogueFile);
    ~ChannelZapper();

    // The catalogue or the playlists changed: numbers are worked out again when next needed.
    void Invalidate();
    // The channel's number (0 for none) and its category in the catalogue.
    int NumberOf(const QString& channel);
    QString CategoryOf(const QString& channel);
    // The channel node of that number (its category's nodes made); null when none has it.
    QTreeWidgetItem* NodeOfNumber(int number);
    // The channel after the one given in the same category (step > 0) or the one before it
    // (step < 0), wrapping at the ends and stepping over favourites whose channel is gone; null
    // when the channel is not in the tree or its category has no other channel to go to.
    QTreeWidgetItem* Step(const QString& category, const QString& channel, int step);

private:
    const ChannelNumbers& Numbers();

    QTreeWidget* tree_;
    std::string catalogue_;
    std::unique_ptr<ViewerDatabase> db_;
    std::optional<ChannelNumbers> numbers_;
};

} // namespace quorvel
