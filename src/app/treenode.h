#pragma once

#include <QIcon>
#include <QString>
#include <QTreeWidgetItem>
#include <QVariant>

#include <string_view>

namespace quorvel {

// A node of the channel tree: one text and the tree's image, answered from two fields. A plain
// item keeps them in lists of role and value per column, made on every item; the tree holds a
// hundred thousand channels, and those lists were most of the cost of filling it. Everything
// else (flags, other roles, children) is the item's own, and setting the text or the image
// works as on any item.
class TreeNode : public QTreeWidgetItem {
public:
    static constexpr int Type = QTreeWidgetItem::UserType + 1;

    TreeNode(QString text, QIcon image) : TreeNode(std::move(text), std::move(image), Type) { }

    // A catalogue's name as the tree shows it.
    static QString Text(std::string_view name);

    QVariant data(int column, int role) const override;
    void setData(int column, int role, const QVariant& value) override;
    // A copy of the node and of everything under it, nodes staying nodes.
    QTreeWidgetItem* clone() const override;

protected:
    TreeNode(QString text, QIcon image, int type);

private:
    QVariant text_;
    QVariant image_;
};

} // namespace quorvel
