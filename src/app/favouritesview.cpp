#include "app/favouritesview.h"

#include "app/channeltreeview.h"
#include "base/exception.h"
#include "channelmodel/channelmodel.h"
#include "userdata/favouritesstore.h"
#include "userdata/viewerdatabase.h"

#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QTimer>

namespace quorvel {
namespace {

std::string Std(const QString& s) { return s.toStdString(); }

} // namespace

FavouritesView::FavouritesView(ChannelTreeView* tree, std::string catalogueFile)
    : QObject(tree), tree_(tree), model_(tree->Channels()), viewport_(tree->viewport()),
      catalogue_(std::move(catalogueFile))
{
    viewport_->installEventFilter(this);
    connect(tree_, &ChannelTreeView::currentRowChanged, this, &FavouritesView::CurrentChanged);
}

FavouritesView::~FavouritesView() = default;

FavouritesStore* FavouritesView::Store()
{
    if (!store_ && !unusable_) {
        try {
            db_ = std::make_unique<ViewerDatabase>(ViewerDatabase::FileBeside(catalogue_));
            store_ = std::make_unique<FavouritesStore>(*db_);
        } catch (const std::exception&) {
            // The database says why where the playlists use it; the tree goes on without these.
            unusable_ = true;
            store_.reset();
            db_.reset();
        }
    }
    return store_.get();
}

bool FavouritesView::IsOwnCategory(const QModelIndex& row)
{
    return ChannelModel::KindOf(row) == RowKind::Category && ChannelModel::ListOf(row) != RowList::Catalogue;
}

bool FavouritesView::IsInOwnCategory(const QModelIndex& row) { return row.isValid() && IsOwnCategory(row.parent()); }

bool FavouritesView::IsGone(const QModelIndex& row) { return ChannelModel::IsGone(row); }

QModelIndex FavouritesView::FavouritesNode() const { return model_.OwnList(RowList::Favourites); }

QModelIndex FavouritesView::RecentNode() const { return model_.OwnList(RowList::Recent); }

void FavouritesView::CollectCatalogue()
{
    names_.clear();
    for (int c = 0; c < model_.CategoryCount(); ++c) {
        if (IsOwnCategory(model_.Category(c)))
            continue;
        // The names come without making the rows of categories no one opened.
        const int count = model_.ChannelCount(c);
        for (int i = 0; i < count; ++i)
            names_.insert(model_.ChannelName(c, i).toCaseFolded());
    }
}

bool FavouritesView::InCatalogue(const QString& channel) const { return names_.contains(channel.toCaseFolded()); }

void FavouritesView::Show()
{
    FavouritesStore* store = Store();
    {
        // Taking them away chooses nothing either.
        const QSignalBlocker block(tree_);
        model_.HideOwnLists();
    }
    if (!store)
        return;
    CollectCatalogue();
    try {
        store->Follow([this](const std::string& name) { return InCatalogue(QString::fromStdString(name)); });
    } catch (const Exception&) {
        // What could not be followed now is followed on the next fill.
    }
    model_.ShowOwnLists(QString::fromUtf8(kFavouritesTitle), QString::fromUtf8(kRecentTitle));
    ShowList(true);
    ShowList(false);
    recentStale_ = false;
    if (!shownOnce_) {
        shownOnce_ = true;
        // The viewer's own channels are what a start most often wants.
        const QModelIndex favourites = FavouritesNode();
        tree_->setExpanded(favourites, model_.rowCount(favourites) > 0);
    }
}

void FavouritesView::ShowList(bool favourites)
{
    std::vector<ChannelReference> refs;
    try {
        refs = favourites ? store_->Favourites() : store_->RecentlyWatched();
    } catch (const Exception&) {
    }
    // Filling it again chooses nothing: no channel starts or stops playing.
    const QSignalBlocker block(tree_);
    const RowList list = favourites ? RowList::Favourites : RowList::Recent;
    const QModelIndex category = model_.OwnList(list);
    const QModelIndex current = tree_->currentIndex();
    const QString currentName =
        current.isValid() && current.parent() == category ? ChannelModel::NameOf(current) : QString();
    const bool wasOpen = tree_->isExpanded(category);
    std::vector<ChannelModel::OwnChannel> channels;
    int again = -1;
    for (const auto& ref : refs) {
        const QString name = QString::fromStdString(ref.name);
        const bool gone = !InCatalogue(name);
        // Only a favourite can lose its channel; the recently watched simply drop it.
        if (gone && !favourites)
            continue;
        if (again < 0 && !currentName.isEmpty() && name == currentName)
            again = static_cast<int>(channels.size());
        channels.push_back({name, gone});
    }
    model_.SetOwnChannels(list, channels);
    tree_->setExpanded(category, wasOpen);
    if (again >= 0) {
        const QModelIndex row = model_.index(again, 0, category);
        tree_->setCurrentIndex(row);
        tree_->selectionModel()->select(row, QItemSelectionModel::Select);
    }
}

void FavouritesView::Refill(bool favourites)
{
    if (!favourites)
        recentStale_ = false;
    if ((favourites ? FavouritesNode() : RecentNode()).isValid())
        ShowList(favourites);
}

void FavouritesView::Watched(const QString& channel, const QString& address)
{
    FavouritesStore* store = Store();
    if (!store || channel.isEmpty())
        return;
    try {
        store->Watched(store->ReferenceOf(Std(channel), Std(address)));
    } catch (const Exception&) {
        return; // the channel plays; only the list misses it
    }
    // A viewer going down the list (arrow keys, media keys) would meet the channel before again
    // if it were reordered under them: it is, once they choose outside it.
    const QModelIndex current = tree_->currentIndex();
    if (current.parent().isValid() && current.parent() == RecentNode()) {
        recentStale_ = true;
        return;
    }
    // The choice that started it is still under way: the list is filled again after it.
    QTimer::singleShot(0, this, [this] { Refill(false); });
}

void FavouritesView::CurrentChanged(const QModelIndex& current)
{
    if (!recentStale_ || (current.parent().isValid() && current.parent() == RecentNode()))
        return;
    recentStale_ = false;
    QTimer::singleShot(0, this, [this] { Refill(false); });
}

bool FavouritesView::IsFavourite(const QString& channel)
{
    FavouritesStore* store = Store();
    try {
        return store && store->FavouriteIndex(Std(channel)) >= 0;
    } catch (const Exception&) {
        return false;
    }
}

void FavouritesView::Toggle(const QString& channel, const QString& address)
{
    FavouritesStore* store = Store();
    if (!store || channel.isEmpty())
        return;
    bool added = false;
    try {
        const int at = store->FavouriteIndex(Std(channel));
        if (at >= 0)
            store->RemoveFavourite(static_cast<std::size_t>(at));
        else
            added = store->AddFavourite(store->ReferenceOf(Std(channel), Std(address)));
    } catch (const Exception&) {
        return;
    }
    QTimer::singleShot(0, this, [this, added] {
        Refill(true);
        // What was just added is shown where it went.
        if (const QModelIndex favourites = FavouritesNode(); favourites.isValid() && added)
            tree_->expand(favourites);
    });
}

void FavouritesView::Move(int from, int to)
{
    FavouritesStore* store = Store();
    if (!store || from < 0 || to < 0 || from == to)
        return;
    try {
        store->MoveFavourite(static_cast<std::size_t>(from), static_cast<std::size_t>(to));
    } catch (const Exception&) {
        return;
    }
    Refill(true);
}

void FavouritesView::AddMenuActions(QMenu& menu, const QModelIndex& at)
{
    // A channel row: of the catalogue, or of either list.
    if (!ChannelModel::IsChannel(at) || !Store())
        return;
    const QString channel = ChannelModel::NameOf(at);
    if (IsFavourite(channel))
        menu.addAction(QStringLiteral("Remove from favourites"), this, [this, channel] { Toggle(channel, {}); });
    else if (!IsGone(at))
        menu.addAction(QStringLiteral("Add to favourites"), this, [this, channel] { Toggle(channel, {}); });
    menu.addSeparator();
}

bool FavouritesView::eventFilter(QObject* watched, QEvent* event)
{
    // Compared as it was when installed: the tree asks nothing of a tree being taken down.
    if (watched != viewport_)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const QModelIndex item = tree_->indexAt(mouse->position().toPoint());
        const bool favourite = item.parent().isValid() && item.parent() == FavouritesNode();
        pressed_ = mouse->button() == Qt::LeftButton && favourite ? item : QModelIndex();
        pressedAt_ = mouse->position().toPoint();
        dragging_ = false;
        break;
    }
    case QEvent::MouseMove: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (!pressed_.isValid() || !(mouse->buttons() & Qt::LeftButton))
            break;
        if (!dragging_ &&
            (mouse->position().toPoint() - pressedAt_).manhattanLength() >= QApplication::startDragDistance()) {
            dragging_ = true;
            viewport_->setCursor(Qt::DragMoveCursor);
        }
        // While a favourite is carried the tree's own selection does not follow the mouse: it
        // would play every channel passed over.
        if (dragging_)
            return true;
        break;
    }
    case QEvent::MouseButtonRelease: {
        if (!dragging_) {
            pressed_ = QModelIndex();
            break;
        }
        auto* mouse = static_cast<QMouseEvent*>(event);
        const QModelIndex favourites = FavouritesNode();
        const QModelIndex target = tree_->indexAt(mouse->position().toPoint());
        const int from =
            favourites.isValid() && pressed_.isValid() && pressed_.parent() == favourites ? pressed_.row() : -1;
        int to = -1;
        if (target.isValid() && target.parent() == favourites)
            to = target.row();
        else if (target.isValid() && target == favourites)
            to = 0;
        dragging_ = false;
        pressed_ = QModelIndex();
        viewport_->unsetCursor();
        if (from >= 0 && to >= 0)
            Move(from, to);
        return true;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace quorvel
