// The channel model: categories making their rows when first needed, the kinds of rows, the
// viewer's own lists before the catalogue's, and a catalogue changing under a view's indexes.
#include "base/profiletext.h"
#include "catalogue/channeltree.h"
#include "channelmodel/channelmodel.h"

#include <QAbstractItemModelTester>
#include <QPersistentModelIndex>
#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace quorvel;

namespace {

std::shared_ptr<const ChannelTree> Tree(const std::string& layers)
{
    return std::make_shared<const ChannelTree>(ChannelTree::Of(std::make_shared<const ProfileText>(layers)));
}

// Big holds more channels than a catalogue makes at once.
std::shared_ptr<const ChannelTree> LargeTree()
{
    std::string text = "[Layer1]\nBig=\nEmpty=\nSmall=\n[Layer2]\n";
    for (std::size_t i = 0; i <= ChannelModel::kChannelsMadeAtOnce; ++i)
        text += "Channel " + std::to_string(i) + "=Big\n";
    text += "One=Small\nTwo=Small\n";
    return Tree(text);
}

std::vector<ChannelModel::OwnChannel> Own(std::initializer_list<ChannelModel::OwnChannel> channels) { return channels; }

} // namespace

TEST(ChannelModel, LargeCatalogueMakesChannelRowsWhenFetched)
{
    // No model tester here: it fetches every category it sees, which is what is tested not to happen.
    ChannelModel model;
    model.SetCatalogue(LargeTree());
    ASSERT_EQ(model.rowCount(), 3);
    const QModelIndex big = model.Category(0);
    const QModelIndex empty = model.Category(1);
    EXPECT_EQ(ChannelModel::NameOf(big), "Big");
    // Children reported, none made: the expand button shows, and names answer without rows.
    EXPECT_TRUE(model.hasChildren(big));
    EXPECT_EQ(model.rowCount(big), 0);
    EXPECT_TRUE(model.canFetchMore(big));
    EXPECT_FALSE(model.hasChildren(empty));
    EXPECT_FALSE(model.canFetchMore(empty));
    const int count = static_cast<int>(ChannelModel::kChannelsMadeAtOnce) + 1;
    EXPECT_EQ(model.ChannelCount(0), count);
    EXPECT_EQ(model.ChannelName(0, count - 1), QString("Channel %1").arg(count - 1));
    EXPECT_EQ(model.ChannelName(0, count), QString());

    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    model.fetchMore(big);
    ASSERT_EQ(inserted.count(), 1);
    EXPECT_EQ(inserted[0][0].value<QModelIndex>(), big);
    EXPECT_EQ(model.rowCount(big), count);
    EXPECT_FALSE(model.canFetchMore(big));
    model.fetchMore(big);
    EXPECT_EQ(inserted.count(), 1) << "made once";

    // A channel reached by name makes its category's rows; the first category listing it
    // answers when the one named has no such channel.
    const QModelIndex two = model.FindChannel("Nowhere", "Two");
    ASSERT_TRUE(two.isValid());
    EXPECT_EQ(two.parent(), model.Category(2));
    EXPECT_EQ(model.rowCount(model.Category(2)), 2);
    EXPECT_FALSE(model.FindChannel("Small", "Three").isValid());
}

TEST(ChannelModel, RowsKnowTheirKindAndList)
{
    ChannelModel model(QVariant(QStringLiteral("image")));
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model.SetCatalogue(Tree("[Layer1]\nNews=\n[Layer2]\nOne=News\n"));
    const QModelIndex news = model.Category(0);
    const QModelIndex one = model.index(0, 0, news);
    EXPECT_EQ(ChannelModel::KindOf(news), RowKind::Category);
    EXPECT_EQ(ChannelModel::KindOf(one), RowKind::Channel);
    EXPECT_EQ(ChannelModel::KindOf(QModelIndex()), RowKind::None);
    EXPECT_EQ(ChannelModel::ListOf(one), RowList::Catalogue);
    EXPECT_EQ(one.data(Qt::DecorationRole).toString(), "image");
    EXPECT_TRUE(model.flags(one) & Qt::ItemNeverHasChildren);
    EXPECT_FALSE(model.flags(news) & Qt::ItemNeverHasChildren);
}

TEST(ChannelModel, OwnListsComeFirstWithGoneFavourites)
{
    ChannelModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model.SetCatalogue(Tree("[Layer1]\nNews=\n[Layer2]\nOne=News\nTwo=News\n"));
    model.ShowOwnLists("Favourites", "Recently watched");
    ASSERT_EQ(model.CategoryCount(), 3);
    EXPECT_EQ(model.CategoryTitle(0), "Favourites");
    EXPECT_EQ(model.CategoryTitle(1), "Recently watched");
    EXPECT_EQ(model.CategoryTitle(2), "News");
    EXPECT_FALSE(model.hasChildren(model.OwnList(RowList::Favourites))) << "an empty list has no expand button";

    model.SetOwnChannels(RowList::Favourites, Own({{"Two", false}, {"Old", true}}));
    model.SetOwnChannels(RowList::Recent, Own({{"One", false}}));
    const QModelIndex favourites = model.OwnList(RowList::Favourites);
    ASSERT_EQ(model.rowCount(favourites), 2);
    const QModelIndex old = model.index(1, 0, favourites);
    EXPECT_TRUE(ChannelModel::IsGone(old));
    EXPECT_FALSE(ChannelModel::IsGone(model.index(0, 0, favourites)));
    EXPECT_TRUE(model.IsGone(0, 1));
    EXPECT_FALSE(model.IsGone(2, 1)) << "the catalogue's channels are never gone";
    EXPECT_EQ(ChannelModel::ListOf(old), RowList::Favourites);
    EXPECT_EQ(ChannelModel::ListOf(model.index(0, 0, model.OwnList(RowList::Recent))), RowList::Recent);
    // The same channel stands in its own category and in the lists: the category asked wins.
    EXPECT_EQ(model.FindChannel("Favourites", "Two").parent(), favourites);
    EXPECT_EQ(model.FindChannel("News", "Two").parent(), model.Category(2));

    // A list filled again replaces its rows; hiding the lists leaves the catalogue.
    model.SetOwnChannels(RowList::Favourites, Own({{"One", false}}));
    EXPECT_EQ(model.rowCount(favourites), 1);
    EXPECT_EQ(model.ChannelName(0, 0), "One");
    model.HideOwnLists();
    EXPECT_EQ(model.CategoryCount(), 1);
    EXPECT_FALSE(model.OwnList(RowList::Favourites).isValid());
    model.SetOwnChannels(RowList::Favourites, Own({{"One", false}})); // no list: nothing happens
    EXPECT_EQ(model.CategoryCount(), 1);
}

TEST(ChannelModel, NewCatalogueReplacesItsCategoriesAndKeepsTheViewersIndexes)
{
    ChannelModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model.SetCatalogue(Tree("[Layer1]\nNews=\nSports=\n[Layer2]\nOne=News\nBall=Sports\n"));
    model.ShowOwnLists("Favourites", "Recently watched");
    model.SetOwnChannels(RowList::Favourites, Own({{"One", false}}));
    const QPersistentModelIndex favourite = model.index(0, 0, model.OwnList(RowList::Favourites));
    const QPersistentModelIndex ball = model.FindChannel("Sports", "Ball");
    ASSERT_TRUE(ball.isValid());

    model.SetCatalogue(Tree("[Layer1]\nMovies=\nNews=\n[Layer2]\nFilm=Movies\nOne=News\nTwo=News\n"));
    ASSERT_EQ(model.CategoryCount(), 4);
    EXPECT_EQ(model.CategoryTitle(2), "Movies");
    EXPECT_EQ(model.ChannelCount(3), 2);
    EXPECT_FALSE(ball.isValid()) << "the old catalogue's rows are gone";
    // The favourite's row stays valid and still finds its category, above the new ones.
    ASSERT_TRUE(favourite.isValid());
    EXPECT_EQ(favourite.parent(), model.OwnList(RowList::Favourites));
    EXPECT_EQ(ChannelModel::NameOf(favourite), "One");

    // Lists shown again after the catalogue: they go first, and rows below them follow.
    const QPersistentModelIndex two = model.FindChannel("News", "Two");
    model.HideOwnLists();
    EXPECT_EQ(two.parent(), model.Category(1));
    model.ShowOwnLists("Favourites", "Recently watched");
    EXPECT_EQ(two.parent(), model.Category(3));
    EXPECT_EQ(ChannelModel::NameOf(two.parent()), "News");

    model.SetCatalogue(nullptr);
    EXPECT_EQ(model.CategoryCount(), 2);
    model.Clear();
    EXPECT_EQ(model.rowCount(), 0);
}
