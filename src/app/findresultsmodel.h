#pragma once

#include "catalogue/channelfinder.h"

#include <QAbstractItemModel>
#include <QIcon>

#include <vector>

namespace quorvel {

class ChannelModel;

// The channel tree narrowed to the channels found: their categories at the top level, each with
// only its matching channels, in tree order. Names come from the tree's own model.
class FindResultsModel : public QAbstractItemModel {
    Q_OBJECT
public:
    FindResultsModel(ChannelModel& channels, QIcon nodeImage, QObject* parent = nullptr);

    void SetMatches(const std::vector<ChannelFinder::Match>& matches);
    std::size_t MatchCount() const { return matches_.size(); }
    // The tree's channel row behind a row of this model (made if its category has not made
    // it yet); invalid for a category row.
    QModelIndex ChannelItem(const QModelIndex& index) const;
    // The row of the first channel found (invalid when none was found).
    QModelIndex FirstChannel() const;
    // The channel row after or before the given one, across categories; invalid at either end.
    QModelIndex NextChannel(const QModelIndex& from, int step) const;
    // The row of a channel among the matches; invalid when it is not one of them.
    QModelIndex IndexOf(const ChannelFinder::Match& channel) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    struct Group {
        std::uint32_t category; // index of the category in the tree
        std::uint32_t first;    // its first match in matches_
        std::uint32_t count;
    };

    const ChannelFinder::Match& MatchAt(const QModelIndex& channel) const;

    ChannelModel& channels_;
    QIcon nodeImage_;
    std::vector<ChannelFinder::Match> matches_;
    std::vector<Group> groups_;
};

} // namespace quorvel
