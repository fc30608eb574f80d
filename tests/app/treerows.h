#pragma once

// The channel tree's rows as the window tests read them.
#include "app/channeltreeview.h"
#include "base/profiletext.h"
#include "catalogue/channeltree.h"
#include "channelmodel/channelmodel.h"

#include <QStringList>

#include <memory>
#include <string>

namespace treerows {

inline QModelIndex Top(const quorvel::ChannelTreeView* tree, int row) { return tree->model()->index(row, 0); }
inline int TopCount(const quorvel::ChannelTreeView* tree) { return tree->model()->rowCount(); }
inline QString Text(const QModelIndex& row) { return quorvel::ChannelModel::NameOf(row); }
inline QModelIndex Child(const QModelIndex& row, int i) { return row.model()->index(i, 0, row); }
inline int ChildCount(const QModelIndex& row) { return row.model() ? row.model()->rowCount(row) : 0; }

inline QStringList Children(const QModelIndex& category)
{
    QStringList out;
    for (int i = 0; i < ChildCount(category); ++i)
        out << Text(Child(category, i));
    return out;
}

inline QStringList TopLevel(const quorvel::ChannelTreeView* tree)
{
    QStringList out;
    for (int i = 0; i < TopCount(tree); ++i)
        out << Text(Top(tree, i));
    return out;
}

// The channel of that name under the category of that title, its category opened.
inline QModelIndex InCategory(quorvel::ChannelTreeView* tree, const QString& category, const QString& channel)
{
    for (int c = 0; c < TopCount(tree); ++c) {
        const QModelIndex node = Top(tree, c);
        if (Text(node) != category)
            continue;
        tree->expand(node);
        for (int i = 0; i < ChildCount(node); ++i)
            if (Text(Child(node, i)) == channel)
                return Child(node, i);
    }
    return {};
}

// The first row of that text among the rows made, categories before their channels.
inline QModelIndex FindRow(const quorvel::ChannelTreeView* tree, const QString& text)
{
    for (int c = 0; c < TopCount(tree); ++c) {
        const QModelIndex category = Top(tree, c);
        if (Text(category) == text)
            return category;
        for (int i = 0; i < ChildCount(category); ++i)
            if (Text(Child(category, i)) == text)
                return Child(category, i);
    }
    return {};
}

inline std::shared_ptr<const quorvel::ChannelTree> TreeOf(const std::string& layers)
{
    return std::make_shared<const quorvel::ChannelTree>(
        quorvel::ChannelTree::Of(std::make_shared<const quorvel::ProfileText>(layers)));
}

} // namespace treerows
