#pragma once

#include "channelmodel/rowkind.h"

#include <QAbstractItemModel>
#include <QString>
#include <QVariant>

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

namespace quorvel {

class ChannelTree;

// The channel list the window's tree shows: the viewer's own lists (Favourites, Recently
// watched) first when shown, then the catalogue's categories, each with its channels. A large
// catalogue's categories make their channel rows when first needed (canFetchMore/fetchMore, as
// a view asks on opening one, or Channel() and FindChannel()); until then they report children
// without rows. A hundred thousand channel rows cost a tenth of a second and tens of megabytes;
// a viewer opens a few. Code that walks channels of any category uses ChannelCount and
// ChannelName, which answer without making rows.
class ChannelModel : public QAbstractItemModel {
    Q_OBJECT
public:
    // Beyond Qt's own roles: the row's RowKind, its category's RowList, a gone favourite.
    enum Role {
        KindRole = Qt::UserRole + 1,
        ListRole,
        GoneRole,
    };
    // A catalogue with no more channels than this makes them all at once.
    static constexpr std::size_t kChannelsMadeAtOnce = 2000;

    // A channel of one of the viewer's lists; gone when no playlist lists it now.
    struct OwnChannel {
        QString name;
        bool gone = false;
    };

    // image: what every row shows beside its text (the decoration role), as the view draws it.
    explicit ChannelModel(QVariant image = {}, QObject* parent = nullptr);
    ~ChannelModel() override;

    // A catalogue's name as the list shows it.
    static QString Text(std::string_view name);

    // Puts the catalogue's categories in place of those shown; the viewer's lists stay.
    void SetCatalogue(std::shared_ptr<const ChannelTree> catalogue);
    // Takes every row away, the viewer's lists too.
    void Clear();
    // Puts the viewer's two lists, empty, first (in place of any shown); HideOwnLists takes them away.
    void ShowOwnLists(const QString& favouritesTitle, const QString& recentTitle);
    void HideOwnLists();
    // The channel rows of one of the viewer's lists, in place of those it had.
    void SetOwnChannels(RowList list, const std::vector<OwnChannel>& channels);
    // The category row of one of the viewer's lists; invalid when they are not shown.
    QModelIndex OwnList(RowList list) const;

    // What a row is, which list it belongs to, whether it is a gone favourite.
    static RowKind KindOf(const QModelIndex& index);
    static bool IsChannel(const QModelIndex& index) { return KindOf(index) == RowKind::Channel; }
    static RowList ListOf(const QModelIndex& index);
    static bool IsGone(const QModelIndex& index);
    static QString NameOf(const QModelIndex& index);

    // Categories and their channels by position, whether the rows are made or not.
    int CategoryCount() const { return static_cast<int>(categories_.size()); }
    QString CategoryTitle(int category) const;
    int ChannelCount(int category) const;
    QString ChannelName(int category, int channel) const;
    bool IsGone(int category, int channel) const;
    // Rows by position: a channel's row makes its category's rows. Invalid when out of range.
    QModelIndex Category(int category) const;
    QModelIndex Channel(int category, int channel);
    // The row of the channel of that name: under the category of that title when it has one
    // there, else under the first category that lists it (its rows made); invalid when none does.
    QModelIndex FindChannel(const QString& category, const QString& channel);
    // The first category of that title; invalid when there is none.
    QModelIndex FindCategory(const QString& title) const;
    // Makes the category's channel rows unless they are made; any other row is left as it is.
    void MakeChannels(const QModelIndex& category);

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

private:
    struct Group;
    Group* GroupOf(const QModelIndex& category) const;
    int OwnCount() const;
    void Renumber(std::size_t from);
    void Make(Group& group, bool report);

    QVariant image_;
    std::vector<std::unique_ptr<Group>> categories_;
};

} // namespace quorvel
