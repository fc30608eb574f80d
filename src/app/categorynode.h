#pragma once

#include "app/treenode.h"

#include <cstddef>
#include <memory>

namespace quorvel {

class ChannelTree;

// A category of the channel tree that makes its channel nodes when they are first needed: on
// being opened (the tree reports it, see Form1::Load), or when code reaches for them through
// MakeChannels. Until then it shows an expand button when it has channels and none when it has
// none, as a filled category does; it keeps the catalogue's names meanwhile. A hundred
// thousand channel nodes cost a tenth of a second and tens of megabytes; a viewer opens a few.
//
// Code that walks channels of any category (made or not, or a plain item with children) uses
// the static functions below instead of childCount() and child().
class CategoryNode : public TreeNode {
public:
    static constexpr int Type = QTreeWidgetItem::UserType + 2;

    CategoryNode(std::shared_ptr<const ChannelTree> catalogue, std::size_t category, QIcon image);

    // Makes the channel nodes, unless they are made already.
    void Make();
    bool Made() const { return made_; }

    // A copy has every channel node.
    QTreeWidgetItem* clone() const override;

    // The number of channels of a category and the name of one, whether its nodes are made or not.
    static int ChannelCount(const QTreeWidgetItem* category);
    static QString ChannelName(const QTreeWidgetItem* category, int channel);
    // Makes the category's channel nodes if it has any still to make; any other item is left as it is.
    static void MakeChannels(QTreeWidgetItem* category);

private:
    std::shared_ptr<const ChannelTree> catalogue_; // released once the nodes are made
    std::size_t category_;
    QIcon image_;
    bool made_ = false;
};

} // namespace quorvel
