#include "app/treenode.h"

namespace quorvel {

TreeNode::TreeNode(QString text, QIcon image, int type)
    : QTreeWidgetItem(type), text_(std::move(text)), image_(std::move(image))
{
}

QString TreeNode::Text(std::string_view name)
{
    // Catalogue names are in the system's 8-bit encoding, which Qt 6 takes to be UTF-8 on
    // Linux: there fromUtf8 is what fromLocal8Bit does, by a general path three times as slow.
    return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

QVariant TreeNode::data(int column, int role) const
{
    if (column == 0) {
        if (role == Qt::DisplayRole || role == Qt::EditRole)
            return text_;
        if (role == Qt::DecorationRole)
            return image_;
    }
    return QTreeWidgetItem::data(column, role);
}

void TreeNode::setData(int column, int role, const QVariant& value)
{
    // As on a plain item: the display and the edit role are one, an unchanged value changes
    // nothing, a change is reported to the tree.
    QVariant* field = nullptr;
    if (column == 0 && (role == Qt::DisplayRole || role == Qt::EditRole))
        field = &text_;
    else if (column == 0 && role == Qt::DecorationRole)
        field = &image_;
    if (!field) {
        QTreeWidgetItem::setData(column, role, value);
        return;
    }
    if (*field == value)
        return;
    *field = value;
    emitDataChanged();
}

QTreeWidgetItem* TreeNode::clone() const
{
    auto* copy = new TreeNode(*this);
    for (int i = 0; i < childCount(); ++i)
        copy->addChild(child(i)->clone());
    return copy;
}

} // namespace quorvel
