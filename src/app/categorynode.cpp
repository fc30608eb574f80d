#include "app/categorynode.h"

#include "catalogue/channeltree.h"

namespace quorvel {

CategoryNode::CategoryNode(std::shared_ptr<const ChannelTree> catalogue, std::size_t category, QIcon image)
    : TreeNode(Text(catalogue->Category(category)), image, Type), catalogue_(std::move(catalogue)), category_(category),
      image_(std::move(image))
{
    if (catalogue_->Channels(category_).empty())
        Make(); // nothing to make: an empty category, without an expand button
    else
        setChildIndicatorPolicy(ShowIndicator);
}

void CategoryNode::Make()
{
    if (made_)
        return;
    made_ = true;
    if (catalogue_) {
        const auto channels = catalogue_->Channels(category_);
        QList<QTreeWidgetItem*> nodes;
        nodes.reserve(static_cast<qsizetype>(channels.size()));
        for (const std::string_view channel : channels)
            nodes.append(new TreeNode(Text(channel), image_));
        catalogue_.reset();
        addChildren(nodes);
    }
    setChildIndicatorPolicy(DontShowIndicatorWhenChildless);
}

QTreeWidgetItem* CategoryNode::clone() const
{
    // Made for the copy's sake: what the category holds stays the same.
    const_cast<CategoryNode*>(this)->Make();
    return TreeNode::clone();
}

int CategoryNode::ChannelCount(const QTreeWidgetItem* category)
{
    if (const auto* node = dynamic_cast<const CategoryNode*>(category)) {
        if (!node->made_)
            return static_cast<int>(node->catalogue_->Channels(node->category_).size());
    }
    return category ? category->childCount() : 0;
}

QString CategoryNode::ChannelName(const QTreeWidgetItem* category, int channel)
{
    if (const auto* node = dynamic_cast<const CategoryNode*>(category)) {
        if (!node->made_)
            return Text(node->catalogue_->Channels(node->category_)[static_cast<std::size_t>(channel)]);
    }
    const QTreeWidgetItem* item = category ? category->child(channel) : nullptr;
    return item ? item->text(0) : QString();
}

void CategoryNode::MakeChannels(QTreeWidgetItem* category)
{
    if (auto* node = dynamic_cast<CategoryNode*>(category))
        node->Make();
}

} // namespace quorvel
