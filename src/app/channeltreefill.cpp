#include "app/channeltreefill.h"

#include "app/categorynode.h"
#include "catalogue/channeltree.h"

#include <QTreeWidget>

namespace quorvel {
namespace {

constexpr std::size_t kChannelsMadeAtOnce = 2000;

} // namespace

void FillChannelTree(QTreeWidget* tree, const std::shared_ptr<const ChannelTree>& catalogue, const QIcon& image)
{
    std::size_t channels = 0;
    for (std::size_t c = 0; c < catalogue->CategoryCount(); ++c)
        channels += catalogue->Channels(c).size();
    const bool atOnce = channels <= kChannelsMadeAtOnce;
    QList<QTreeWidgetItem*> top;
    top.reserve(static_cast<qsizetype>(catalogue->CategoryCount()));
    for (std::size_t c = 0; c < catalogue->CategoryCount(); ++c) {
        auto* node = new CategoryNode(catalogue, c, image);
        if (atOnce)
            node->Make();
        top.append(node);
    }
    // Appended after the nodes already there, all at once.
    tree->addTopLevelItems(top);
}

} // namespace quorvel
