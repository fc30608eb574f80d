#include "app/favouritesview.h"

#include "app/categorynode.h"
#include "app/treenode.h"
#include "base/exception.h"
#include "userdata/favouritesstore.h"
#include "userdata/viewerdatabase.h"

#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QTimer>
#include <QTreeWidget>

namespace quorvel {
namespace {

// Which list a category node is, and whether a channel node's channel is gone.
constexpr int kListRole = Qt::UserRole + 40;
constexpr int kGoneRole = Qt::UserRole + 41;
constexpr int kFavouritesList = 1;
constexpr int kRecentList = 2;

int ListOf(const QTreeWidgetItem* item) { return item ? item->data(0, kListRole).toInt() : 0; }

std::string Std(const QString& s) { return s.toStdString(); }

} // namespace

FavouritesView::FavouritesView(QTreeWidget* tree, QIcon channelImage, std::string catalogueFile)
    : QObject(tree), tree_(tree), viewport_(tree->viewport()), image_(std::move(channelImage)),
      catalogue_(std::move(catalogueFile))
{
    viewport_->installEventFilter(this);
    connect(tree_, &QTreeWidget::currentItemChanged, this, &FavouritesView::CurrentChanged);
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

bool FavouritesView::IsOwnCategory(const QTreeWidgetItem* item) { return item && !item->parent() && ListOf(item) != 0; }

bool FavouritesView::IsInOwnCategory(const QTreeWidgetItem* item) { return item && IsOwnCategory(item->parent()); }

bool FavouritesView::IsGone(const QTreeWidgetItem* item) { return item && item->data(0, kGoneRole).toBool(); }

QTreeWidgetItem* FavouritesView::FavouritesNode() const
{
    for (int i = 0; i < tree_->topLevelItemCount(); ++i)
        if (ListOf(tree_->topLevelItem(i)) == kFavouritesList)
            return tree_->topLevelItem(i);
    return nullptr;
}

QTreeWidgetItem* FavouritesView::RecentNode() const
{
    for (int i = 0; i < tree_->topLevelItemCount(); ++i)
        if (ListOf(tree_->topLevelItem(i)) == kRecentList)
            return tree_->topLevelItem(i);
    return nullptr;
}

void FavouritesView::CollectCatalogue()
{
    names_.clear();
    for (int c = 0; c < tree_->topLevelItemCount(); ++c) {
        const QTreeWidgetItem* category = tree_->topLevelItem(c);
        if (IsOwnCategory(category))
            continue;
        // The names come without making the nodes of categories no one opened.
        const int count = CategoryNode::ChannelCount(category);
        for (int i = 0; i < count; ++i)
            names_.insert(CategoryNode::ChannelName(category, i).toCaseFolded());
    }
}

bool FavouritesView::InCatalogue(const QString& channel) const { return names_.contains(channel.toCaseFolded()); }

void FavouritesView::Show()
{
    FavouritesStore* store = Store();
    {
        // Taking them away chooses nothing either.
        const QSignalBlocker block(tree_);
        for (QTreeWidgetItem* own : {FavouritesNode(), RecentNode()})
            delete own;
    }
    if (!store)
        return;
    CollectCatalogue();
    try {
        store->Follow([this](const std::string& name) { return InCatalogue(QString::fromStdString(name)); });
    } catch (const Exception&) {
        // What could not be followed now is followed on the next fill.
    }
    auto* favourites = new TreeNode(QString::fromUtf8(kFavouritesTitle), image_);
    favourites->setData(0, kListRole, kFavouritesList);
    auto* recent = new TreeNode(QString::fromUtf8(kRecentTitle), image_);
    recent->setData(0, kListRole, kRecentList);
    tree_->insertTopLevelItems(0, {favourites, recent});
    ShowList(favourites, true);
    ShowList(recent, false);
    recentStale_ = false;
    if (!shownOnce_) {
        shownOnce_ = true;
        // The viewer's own channels are what a start most often wants.
        favourites->setExpanded(favourites->childCount() > 0);
    }
}

void FavouritesView::ShowList(QTreeWidgetItem* category, bool favourites)
{
    std::vector<ChannelReference> refs;
    try {
        refs = favourites ? store_->Favourites() : store_->RecentlyWatched();
    } catch (const Exception&) {
    }
    // Filling it again chooses nothing: no channel starts or stops playing.
    const QSignalBlocker block(tree_);
    QTreeWidgetItem* current = tree_->currentItem();
    const QString currentName = current && current->parent() == category ? current->text(0) : QString();
    const bool wasOpen = category->isExpanded();
    qDeleteAll(category->takeChildren());
    QTreeWidgetItem* again = nullptr;
    for (const auto& ref : refs) {
        const QString name = QString::fromStdString(ref.name);
        auto* node = new TreeNode(name, image_);
        if (!InCatalogue(name)) {
            // Only a favourite can lose its channel; the recently watched simply drop it.
            if (!favourites)
                continue;
            node->setData(0, kGoneRole, true);
            node->setForeground(0, QBrush(Qt::gray));
        }
        category->addChild(node);
        if (!again && !currentName.isEmpty() && name == currentName)
            again = node;
    }
    category->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
    category->setExpanded(wasOpen);
    if (again) {
        tree_->setCurrentItem(again);
        again->setSelected(true);
    }
}

void FavouritesView::Refill(bool favourites)
{
    if (!favourites)
        recentStale_ = false;
    if (QTreeWidgetItem* category = favourites ? FavouritesNode() : RecentNode())
        ShowList(category, favourites);
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
    const QTreeWidgetItem* current = tree_->currentItem();
    if (current && current->parent() && current->parent() == RecentNode()) {
        recentStale_ = true;
        return;
    }
    // The choice that started it is still under way: the list is filled again after it.
    QTimer::singleShot(0, this, [this] { Refill(false); });
}

void FavouritesView::CurrentChanged(QTreeWidgetItem* current)
{
    if (!recentStale_ || (current && current->parent() && current->parent() == RecentNode()))
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
        if (QTreeWidgetItem* favourites = FavouritesNode(); favourites && added)
            favourites->setExpanded(true);
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

void FavouritesView::AddMenuActions(QMenu& menu, QTreeWidgetItem* at)
{
    // A channel node: of the catalogue, or of either list.
    if (!at || !at->parent() || !Store())
        return;
    const QString channel = at->text(0);
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
        QTreeWidgetItem* item = tree_->itemAt(mouse->position().toPoint());
        const bool favourite = item && ListOf(item->parent()) == kFavouritesList;
        pressed_ = mouse->button() == Qt::LeftButton && favourite ? item : nullptr;
        pressedAt_ = mouse->position().toPoint();
        dragging_ = false;
        break;
    }
    case QEvent::MouseMove: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (!pressed_ || !(mouse->buttons() & Qt::LeftButton))
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
            pressed_ = nullptr;
            break;
        }
        auto* mouse = static_cast<QMouseEvent*>(event);
        QTreeWidgetItem* favourites = FavouritesNode();
        QTreeWidgetItem* target = tree_->itemAt(mouse->position().toPoint());
        const int from = favourites ? favourites->indexOfChild(pressed_) : -1;
        int to = -1;
        if (target && target->parent() == favourites)
            to = favourites->indexOfChild(target);
        else if (target == favourites)
            to = 0;
        dragging_ = false;
        pressed_ = nullptr;
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
