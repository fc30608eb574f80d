#include "app/findresultsmodel.h"

#include "channelmodel/channelmodel.h"

#include <algorithm>

namespace quorvel {
namespace {

// Category rows carry no parent id; channel rows carry their category's row plus one.
constexpr quintptr kTopLevel = 0;

} // namespace

FindResultsModel::FindResultsModel(ChannelModel& channels, QIcon nodeImage, QObject* parent)
    : QAbstractItemModel(parent), channels_(channels), nodeImage_(std::move(nodeImage))
{
}

void FindResultsModel::SetMatches(const std::vector<ChannelFinder::Match>& matches)
{
    beginResetModel();
    matches_ = matches;
    groups_.clear();
    for (std::uint32_t i = 0; i < matches_.size(); ++i) {
        if (groups_.empty() || groups_.back().category != matches_[i].category)
            groups_.push_back(Group{matches_[i].category, i, 0});
        ++groups_.back().count;
    }
    endResetModel();
}

QModelIndex FindResultsModel::ChannelItem(const QModelIndex& index) const
{
    if (!index.isValid() || index.internalId() == kTopLevel)
        return {};
    const ChannelFinder::Match& m = MatchAt(index);
    // The channel is about to be chosen in the tree: its category's rows are made now.
    return channels_.Channel(static_cast<int>(m.category), static_cast<int>(m.channel));
}

const ChannelFinder::Match& FindResultsModel::MatchAt(const QModelIndex& channel) const
{
    const Group& g = groups_[channel.internalId() - 1];
    return matches_[g.first + static_cast<std::uint32_t>(channel.row())];
}

QModelIndex FindResultsModel::FirstChannel() const
{
    return groups_.empty() ? QModelIndex() : createIndex(0, 0, quintptr(1));
}

QModelIndex FindResultsModel::IndexOf(const ChannelFinder::Match& channel) const
{
    const auto at = std::find(matches_.begin(), matches_.end(), channel);
    if (at == matches_.end())
        return {};
    const std::size_t k = static_cast<std::size_t>(at - matches_.begin());
    for (std::size_t g = 0; g < groups_.size(); ++g)
        if (k >= groups_[g].first && k < groups_[g].first + groups_[g].count)
            return createIndex(static_cast<int>(k - groups_[g].first), 0, quintptr(g + 1));
    return {};
}

QModelIndex FindResultsModel::NextChannel(const QModelIndex& from, int step) const
{
    if (!from.isValid() || from.internalId() == kTopLevel)
        return FirstChannel();
    const std::size_t group = from.internalId() - 1;
    const long long at = static_cast<long long>(groups_[group].first) + from.row() + step;
    if (at < 0 || at >= static_cast<long long>(matches_.size()))
        return {};
    // The group holding that match: a neighbour, or further for long steps.
    std::size_t g = group;
    while (at < groups_[g].first)
        --g;
    while (at >= static_cast<long long>(groups_[g].first + groups_[g].count))
        ++g;
    return createIndex(static_cast<int>(at - groups_[g].first), 0, quintptr(g + 1));
}

QModelIndex FindResultsModel::index(int row, int column, const QModelIndex& parent) const
{
    if (column != 0 || row < 0)
        return {};
    if (!parent.isValid())
        return row < static_cast<int>(groups_.size()) ? createIndex(row, 0, kTopLevel) : QModelIndex();
    if (parent.internalId() != kTopLevel)
        return {};
    const std::size_t g = static_cast<std::size_t>(parent.row());
    if (g >= groups_.size() || row >= static_cast<int>(groups_[g].count))
        return {};
    return createIndex(row, 0, quintptr(g + 1));
}

QModelIndex FindResultsModel::parent(const QModelIndex& child) const
{
    if (!child.isValid() || child.internalId() == kTopLevel)
        return {};
    return createIndex(static_cast<int>(child.internalId() - 1), 0, kTopLevel);
}

int FindResultsModel::rowCount(const QModelIndex& parent) const
{
    if (!parent.isValid())
        return static_cast<int>(groups_.size());
    if (parent.internalId() != kTopLevel || parent.column() != 0)
        return 0;
    return static_cast<int>(groups_[static_cast<std::size_t>(parent.row())].count);
}

int FindResultsModel::columnCount(const QModelIndex&) const { return 1; }

bool FindResultsModel::hasChildren(const QModelIndex& parent) const { return rowCount(parent) > 0; }

QVariant FindResultsModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::DecorationRole)
        return nodeImage_;
    if (role != Qt::DisplayRole)
        return {};
    if (index.internalId() == kTopLevel)
        return channels_.CategoryTitle(static_cast<int>(groups_[static_cast<std::size_t>(index.row())].category));
    // Shown without making the channel's row: its category may not have been opened yet.
    const ChannelFinder::Match& m = MatchAt(index);
    return channels_.ChannelName(static_cast<int>(m.category), static_cast<int>(m.channel));
}

Qt::ItemFlags FindResultsModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    if (index.internalId() == kTopLevel)
        return Qt::ItemIsEnabled;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

} // namespace quorvel
