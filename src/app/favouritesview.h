#pragma once

#include <QObject>
#include <QPersistentModelIndex>
#include <QPoint>
#include <QSet>
#include <QString>

#include <memory>
#include <string>

class QMenu;
class QWidget;

namespace quorvel {

class ChannelModel;
class ChannelTreeView;
class FavouritesStore;
class ViewerDatabase;

// The viewer's own categories at the top of the channel tree: "Favourites" first, then
// "Recently watched", each holding channels of the catalogue under their names there. They are
// kept in the viewer's database, never in the catalogue file, and put back whenever the tree is
// filled: a channel a refresh renamed or moved is followed there; a favourite whose channel is
// gone stays, greyed, and plays nothing until the channel comes back or the viewer removes it.
// Favourites are reordered by dragging one onto another's place. Without a usable database the
// categories are not shown, and the rest of the tree works as before.
class FavouritesView : public QObject {
public:
    static constexpr const char* kFavouritesTitle = "Favourites";
    static constexpr const char* kRecentTitle = "Recently watched";

    FavouritesView(ChannelTreeView* tree, std::string catalogueFile);
    ~FavouritesView() override;

    // Puts both categories first in the tree (in place of those there), as the catalogue is now.
    void Show();
    // A channel started playing: it goes first among the recently watched.
    void Watched(const QString& channel, const QString& address);
    // Adds the channel to the favourites, or removes it when it is one.
    void Toggle(const QString& channel, const QString& address);
    bool IsFavourite(const QString& channel);
    // The menu's entry for the channel row there, if any.
    void AddMenuActions(QMenu& menu, const QModelIndex& at);

    // One of the two categories, or a channel under one of them.
    static bool IsOwnCategory(const QModelIndex& row);
    static bool IsInOwnCategory(const QModelIndex& row);
    // A favourite whose channel the catalogue no longer has.
    static bool IsGone(const QModelIndex& row);

    QModelIndex FavouritesNode() const;
    QModelIndex RecentNode() const;
    // Moves the favourite at from to the place of the one at to, as a drag does.
    void Move(int from, int to);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    FavouritesStore* Store();
    void ShowList(bool favourites);
    void Refill(bool favourites);
    void CurrentChanged(const QModelIndex& current);
    bool InCatalogue(const QString& channel) const;
    void CollectCatalogue();

    ChannelTreeView* tree_;
    ChannelModel& model_;
    QWidget* viewport_;
    std::string catalogue_;
    std::unique_ptr<ViewerDatabase> db_;
    std::unique_ptr<FavouritesStore> store_;
    bool unusable_ = false;
    bool shownOnce_ = false;
    bool recentStale_ = false; // watched from inside the list: reordered once the viewer leaves it
    QSet<QString> names_;      // the catalogue's channel names, folded, as the tree was last filled
    // A drag of a favourite: where it started, whether it has begun.
    QPersistentModelIndex pressed_;
    QPoint pressedAt_;
    bool dragging_ = false;
};

} // namespace quorvel
