#include "channelmodel/channelmodel.h"

#include "catalogue/channeltree.h"

namespace quorvel {

// A category row and its channels. Category rows carry no pointer; a channel row carries its
// category's, which stays put however categories come and go above it (views keep indexes).
struct ChannelModel::Group {
    QString title;
    RowList list = RowList::Catalogue;
    std::shared_ptr<const ChannelTree> tree; // until the rows are made
    std::size_t source = 0;                  // the category's place in the tree
    bool made = false;
    std::vector<OwnChannel> channels;
    int row = 0;

    int Count() const
    {
        return made || !tree ? static_cast<int>(channels.size()) : static_cast<int>(tree->Channels(source).size());
    }
};

ChannelModel::ChannelModel(QVariant image, QObject* parent) : QAbstractItemModel(parent), image_(std::move(image)) { }

ChannelModel::~ChannelModel() = default;

QString ChannelModel::Text(std::string_view name)
{
    // Catalogue names are in the system's 8-bit encoding, which Qt 6 takes to be UTF-8 on
    // Linux: there fromUtf8 is what fromLocal8Bit does, by a general path three times as slow.
    return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

int ChannelModel::OwnCount() const
{
    int count = 0;
    while (count < CategoryCount() && categories_[static_cast<std::size_t>(count)]->list != RowList::Catalogue)
        ++count;
    return count;
}

void ChannelModel::Renumber(std::size_t from)
{
    for (std::size_t i = from; i < categories_.size(); ++i)
        categories_[i]->row = static_cast<int>(i);
}

void ChannelModel::Make(Group& group, bool report)
{
    if (group.made)
        return;
    std::vector<OwnChannel> channels;
    if (group.tree) {
        const auto names = group.tree->Channels(group.source);
        channels.reserve(names.size());
        for (const std::string_view name : names)
            channels.push_back(OwnChannel{Text(name), false});
    }
    const bool rows = report && !channels.empty();
    if (rows)
        beginInsertRows(createIndex(group.row, 0, nullptr), 0, static_cast<int>(channels.size()) - 1);
    group.channels = std::move(channels);
    group.made = true;
    group.tree.reset();
    if (rows)
        endInsertRows();
}

void ChannelModel::SetCatalogue(std::shared_ptr<const ChannelTree> catalogue)
{
    const int own = OwnCount();
    if (own < CategoryCount()) {
        beginRemoveRows({}, own, CategoryCount() - 1);
        categories_.resize(static_cast<std::size_t>(own));
        endRemoveRows();
    }
    if (!catalogue || catalogue->CategoryCount() == 0)
        return;
    std::size_t channels = 0;
    for (std::size_t c = 0; c < catalogue->CategoryCount(); ++c)
        channels += catalogue->Channels(c).size();
    const bool atOnce = channels <= kChannelsMadeAtOnce;
    std::vector<std::unique_ptr<Group>> groups;
    groups.reserve(catalogue->CategoryCount());
    for (std::size_t c = 0; c < catalogue->CategoryCount(); ++c) {
        auto group = std::make_unique<Group>();
        group->title = Text(catalogue->Category(c));
        group->tree = catalogue;
        group->source = c;
        // An empty category has nothing to make, and shows no expand button.
        if (atOnce || catalogue->Channels(c).empty())
            Make(*group, false);
        groups.push_back(std::move(group));
    }
    beginInsertRows({}, own, own + static_cast<int>(groups.size()) - 1);
    for (auto& group : groups)
        categories_.push_back(std::move(group));
    Renumber(static_cast<std::size_t>(own));
    endInsertRows();
}

void ChannelModel::Clear()
{
    beginResetModel();
    categories_.clear();
    endResetModel();
}

void ChannelModel::ShowOwnLists(const QString& favouritesTitle, const QString& recentTitle)
{
    HideOwnLists();
    beginInsertRows({}, 0, 1);
    const auto own = [](const QString& title, RowList list) {
        auto group = std::make_unique<Group>();
        group->title = title;
        group->list = list;
        group->made = true;
        return group;
    };
    categories_.insert(categories_.begin(), own(recentTitle, RowList::Recent));
    categories_.insert(categories_.begin(), own(favouritesTitle, RowList::Favourites));
    Renumber(0);
    endInsertRows();
}

void ChannelModel::HideOwnLists()
{
    const int own = OwnCount();
    if (own == 0)
        return;
    beginRemoveRows({}, 0, own - 1);
    categories_.erase(categories_.begin(), categories_.begin() + own);
    Renumber(0);
    endRemoveRows();
}

QModelIndex ChannelModel::OwnList(RowList list) const
{
    if (list == RowList::Catalogue)
        return {};
    for (int i = 0; i < OwnCount(); ++i)
        if (categories_[static_cast<std::size_t>(i)]->list == list)
            return createIndex(i, 0, nullptr);
    return {};
}

void ChannelModel::SetOwnChannels(RowList list, const std::vector<OwnChannel>& channels)
{
    const QModelIndex category = OwnList(list);
    Group* group = GroupOf(category);
    if (!group)
        return;
    if (!group->channels.empty()) {
        beginRemoveRows(category, 0, static_cast<int>(group->channels.size()) - 1);
        group->channels.clear();
        endRemoveRows();
    }
    if (channels.empty())
        return;
    beginInsertRows(category, 0, static_cast<int>(channels.size()) - 1);
    group->channels = channels;
    endInsertRows();
}

ChannelModel::Group* ChannelModel::GroupOf(const QModelIndex& category) const
{
    if (!category.isValid() || category.model() != this || category.internalPointer() != nullptr ||
        category.row() >= CategoryCount())
        return nullptr;
    return categories_[static_cast<std::size_t>(category.row())].get();
}

RowKind ChannelModel::KindOf(const QModelIndex& index)
{
    return index.isValid() ? static_cast<RowKind>(index.data(KindRole).toInt()) : RowKind::None;
}

RowList ChannelModel::ListOf(const QModelIndex& index) { return static_cast<RowList>(index.data(ListRole).toInt()); }

bool ChannelModel::IsGone(const QModelIndex& index) { return index.data(GoneRole).toBool(); }

QString ChannelModel::NameOf(const QModelIndex& index) { return index.data(Qt::DisplayRole).toString(); }

QString ChannelModel::CategoryTitle(int category) const
{
    return category >= 0 && category < CategoryCount() ? categories_[static_cast<std::size_t>(category)]->title
                                                       : QString();
}

int ChannelModel::ChannelCount(int category) const
{
    return category >= 0 && category < CategoryCount() ? categories_[static_cast<std::size_t>(category)]->Count() : 0;
}

QString ChannelModel::ChannelName(int category, int channel) const
{
    if (channel < 0 || channel >= ChannelCount(category))
        return {};
    const Group& group = *categories_[static_cast<std::size_t>(category)];
    if (!group.made)
        return Text(group.tree->Channels(group.source)[static_cast<std::size_t>(channel)]);
    return group.channels[static_cast<std::size_t>(channel)].name;
}

bool ChannelModel::IsGone(int category, int channel) const
{
    // Only the viewer's own lists hold gone channels, and their rows are always made.
    if (channel < 0 || channel >= ChannelCount(category))
        return false;
    const Group& group = *categories_[static_cast<std::size_t>(category)];
    return group.made && group.channels[static_cast<std::size_t>(channel)].gone;
}

QModelIndex ChannelModel::Category(int category) const
{
    return category >= 0 && category < CategoryCount() ? createIndex(category, 0, nullptr) : QModelIndex();
}

QModelIndex ChannelModel::Channel(int category, int channel)
{
    if (channel < 0 || channel >= ChannelCount(category))
        return {};
    Group& group = *categories_[static_cast<std::size_t>(category)];
    Make(group, true);
    return createIndex(channel, 0, &group);
}

QModelIndex ChannelModel::FindChannel(const QString& category, const QString& channel)
{
    const auto in = [&](int c) {
        const int count = ChannelCount(c);
        for (int i = 0; i < count; ++i)
            if (ChannelName(c, i) == channel)
                return Channel(c, i);
        return QModelIndex();
    };
    for (int c = 0; c < CategoryCount(); ++c)
        if (CategoryTitle(c) == category)
            if (const QModelIndex found = in(c); found.isValid())
                return found;
    for (int c = 0; c < CategoryCount(); ++c)
        if (const QModelIndex found = in(c); found.isValid())
            return found;
    return {};
}

QModelIndex ChannelModel::FindCategory(const QString& title) const
{
    for (int c = 0; c < CategoryCount(); ++c)
        if (CategoryTitle(c) == title)
            return Category(c);
    return {};
}

void ChannelModel::MakeChannels(const QModelIndex& category)
{
    if (Group* group = GroupOf(category))
        Make(*group, true);
}

QModelIndex ChannelModel::index(int row, int column, const QModelIndex& parent) const
{
    if (column != 0 || row < 0)
        return {};
    if (!parent.isValid())
        return row < CategoryCount() ? createIndex(row, 0, nullptr) : QModelIndex();
    const Group* group = GroupOf(parent);
    if (!group || !group->made || row >= static_cast<int>(group->channels.size()))
        return {};
    return createIndex(row, 0, const_cast<Group*>(group));
}

QModelIndex ChannelModel::parent(const QModelIndex& child) const
{
    if (!child.isValid() || child.internalPointer() == nullptr)
        return {};
    return createIndex(static_cast<const Group*>(child.internalPointer())->row, 0, nullptr);
}

int ChannelModel::rowCount(const QModelIndex& parent) const
{
    if (!parent.isValid())
        return CategoryCount();
    const Group* group = GroupOf(parent);
    return group && group->made ? static_cast<int>(group->channels.size()) : 0;
}

int ChannelModel::columnCount(const QModelIndex&) const { return 1; }

bool ChannelModel::hasChildren(const QModelIndex& parent) const
{
    if (!parent.isValid())
        return !categories_.empty();
    // A category not opened yet shows its expand button as a filled one would.
    const Group* group = GroupOf(parent);
    return group && group->Count() > 0;
}

QVariant ChannelModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.model() != this)
        return {};
    const auto* owner = static_cast<const Group*>(index.internalPointer());
    const Group* group = owner ? owner : GroupOf(index);
    if (!group)
        return {};
    const OwnChannel* channel = nullptr;
    if (owner) {
        if (index.row() >= static_cast<int>(owner->channels.size()))
            return {};
        channel = &owner->channels[static_cast<std::size_t>(index.row())];
    }
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return channel ? channel->name : group->title;
    case Qt::DecorationRole:
        return image_;
    case KindRole:
        return static_cast<int>(channel ? RowKind::Channel : RowKind::Category);
    case ListRole:
        return static_cast<int>(group->list);
    case GoneRole:
        return channel && channel->gone;
    default:
        return {};
    }
}

Qt::ItemFlags ChannelModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    const Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    return index.internalPointer() ? flags | Qt::ItemNeverHasChildren : flags;
}

bool ChannelModel::canFetchMore(const QModelIndex& parent) const
{
    const Group* group = GroupOf(parent);
    return group && !group->made;
}

void ChannelModel::fetchMore(const QModelIndex& parent) { MakeChannels(parent); }

} // namespace quorvel
