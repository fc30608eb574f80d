#pragma once

#include <QString>

class QTreeWidget;
class QTreeWidgetItem;

namespace quorvel {

// The node of the channel of that name: under the category of that title when it has one there,
// else under the first category that lists it (its nodes made for it); null when none does.
QTreeWidgetItem* FindChannelNode(QTreeWidget* tree, const QString& category, const QString& channel);

} // namespace quorvel
