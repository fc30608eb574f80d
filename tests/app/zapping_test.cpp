// Zapping in the real window: channel numbers typed over the player, Page Up and Page Down round
// the playing channel's category (Favourites included), and the zap card's words.
#include "app/channelzapper.h"
#include "app/favouritesview.h"
#include "app/findbox.h"
#include "app/form1.h"
#include "playback/playersession.h"
#include "player/mediaplayer.h"
#include "player/zapcard.h"
#include "scratchdir.h"
#include "treerows.h"
#include "userdata/viewerdatabase.h"
#include "watching/watchsession.h"
#include "widgets/errorbox.h"

#include <QTest>

#include <gtest/gtest.h>

using namespace quorvel;

namespace {

const char* const kCatalogue = "[Layer1]\nNews=\nSports=\n"
                               "[Layer2]\nOne=News\nTwo=News\nThree=Sports\nFour=News\n"
                               "[Programs]\nOne=http://127.0.0.1:1/one.m3u8\nTwo=http://127.0.0.1:1/two.m3u8\n"
                               "Three=http://127.0.0.1:1/three.m3u8\nFour=http://127.0.0.1:1/four.m3u8\n";

QString Url(const char* channel) { return QStringLiteral("http://127.0.0.1:1/%1.m3u8").arg(channel); }

class ZappingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ScratchDir::Spit(dir.File("VisibleAPI.dat"), kCatalogue);
        // A playlist gave Four its own number, 20.
        SourceChannel four;
        four.category = "News";
        four.name = "Four";
        four.address = "http://127.0.0.1:1/four.m3u8";
        four.tvgChno = "20";
        SourceRecord source;
        source.location = "/tv.m3u";
        ViewerDatabase(dir.File("viewer.db")).StoreRead(source, {four});
        SetErrorPresenter([this](const QString&, const QString& message) { errors.push_back(message); });
        form = std::make_unique<Form1>(dir.Path() + "/", QStringLiteral("null"));
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get(), 20000));
        tree = form->TreeView1;
        player = form->MediaPlayer1;
    }
    void TearDown() override
    {
        form.reset();
        SetErrorPresenter(nullptr);
    }
    QModelIndex InCategory(const QString& category, const QString& channel) const
    {
        return treerows::InCategory(tree, category, channel);
    }
    void Type(const char* keys) const
    {
        for (const char* k = keys; *k; ++k)
            QTest::keyClick(player, Qt::Key(Qt::Key_0 + (*k - '0')));
        QTest::keyClick(player, Qt::Key_Return);
    }

    ScratchDir dir;
    std::vector<QString> errors;
    std::unique_ptr<Form1> form;
    ChannelTreeView* tree = nullptr;
    MediaPlayer* player = nullptr;
};

} // namespace

TEST_F(ZappingTest, NumbersTypedOverThePlayerPlayTheirChannelAndTheCardSaysWhich)
{
    tree->setCurrentIndex(InCategory("News", "One"));
    ASSERT_EQ(player->URL(), Url("one"));
    EXPECT_EQ(player->Zap().Info().number, 1);
    EXPECT_EQ(player->Zap().Info().category, QStringLiteral("News"));

    player->setFocusPolicy(Qt::ClickFocus);
    player->setFocus();
    // Places in catalogue order run category by category: Three is in Sports, after News' three.
    Type("4");
    EXPECT_EQ(player->URL(), Url("three"));
    EXPECT_EQ(player->Zap().Info().number, 4);
    EXPECT_EQ(player->Zap().Info().name, QStringLiteral("Three"));
    EXPECT_EQ(player->Zap().Info().category, QStringLiteral("Sports"));
    Type("20");
    EXPECT_EQ(player->URL(), Url("four"));
    EXPECT_EQ(player->Zap().Info().number, 20);
    EXPECT_EQ(tree->currentIndex(), InCategory("News", "Four"));
    // Four's own place is nobody's; a number nobody has says so and the channel plays on.
    Type("3");
    EXPECT_EQ(player->URL(), Url("four"));
    EXPECT_EQ(player->NumberShown(), QStringLiteral("No channel 3"));
    // The digits never reached the tree's find box.
    EXPECT_FALSE(form->FindBox1->IsOpen());
    EXPECT_TRUE(player->hasFocus());
    EXPECT_TRUE(errors.empty());
}

TEST_F(ZappingTest, PagesGoRoundThePlayingChannelsCategoryOverGoneFavourites)
{
    form->Favourites1->Toggle(QStringLiteral("One"), Url("one"));
    form->Favourites1->Toggle(QStringLiteral("Ghost"), QStringLiteral("http://127.0.0.1:1/ghost.m3u8"));
    form->Favourites1->Toggle(QStringLiteral("Three"), Url("three"));
    QTest::qWait(50); // the list is filled again once the change is stored
    const QModelIndex favourites = form->Favourites1->FavouritesNode();
    ASSERT_EQ(treerows::ChildCount(favourites), 3);
    ASSERT_TRUE(FavouritesView::IsGone(treerows::Child(favourites, 1)));

    // Nothing plays yet: nothing to step from.
    form->ZapStep(1);
    EXPECT_FALSE(form->Playing);

    tree->setCurrentIndex(treerows::Child(favourites, 0));
    ASSERT_EQ(player->URL(), Url("one"));
    form->ZapStep(1);
    EXPECT_EQ(player->URL(), Url("three")) << "the gone favourite is stepped over";
    form->ZapStep(1);
    EXPECT_EQ(player->URL(), Url("one")) << "round from the end to the start";
    form->ZapStep(-1);
    EXPECT_EQ(player->URL(), Url("three"));
    EXPECT_EQ(tree->currentIndex().parent(), favourites);

    // In a catalogue category the pages keep to it: News is One, Two, Four.
    tree->setCurrentIndex(InCategory("News", "Four"));
    form->ZapStep(1);
    EXPECT_EQ(player->URL(), Url("one"));
    form->ZapStep(-1);
    EXPECT_EQ(player->URL(), Url("four"));
    form->ZapStep(-1);
    EXPECT_EQ(player->URL(), Url("two"));

    // A category of one channel has nowhere to go.
    tree->setCurrentIndex(InCategory("Sports", "Three"));
    form->ZapStep(1);
    EXPECT_EQ(player->URL(), Url("three"));
    EXPECT_TRUE(errors.empty());
}

TEST_F(ZappingTest, AChannelRenamedByARefreshKeepsPlayingUnderItsNewName)
{
    tree->setCurrentIndex(InCategory("News", "Two"));
    ASSERT_EQ(player->URL(), Url("two"));
    // The playlist read again calls Two "Two HD", at the same address.
    ScratchDir::Spit(dir.File("VisibleAPI.dat"),
                     "[Layer1]\nNews=\n[Layer2]\nOne=News\nTwo HD=News\n"
                     "[Programs]\nOne=http://127.0.0.1:1/one.m3u8\nTwo HD=http://127.0.0.1:1/two.m3u8\n");
    tree->Channels().Clear();
    form->Load(QStringLiteral("WebTV"));
    form->FollowRenamedChannel();
    ASSERT_TRUE(tree->currentIndex().isValid());
    EXPECT_EQ(treerows::Text(tree->currentIndex()), QStringLiteral("Two HD"));
    EXPECT_EQ(form->Session().Playing().name, QStringLiteral("Two HD"));
    EXPECT_EQ(player->Session().ShownName(), QStringLiteral("Two HD"));
    // It was not opened again.
    EXPECT_EQ(player->URL(), Url("two"));
    EXPECT_TRUE(errors.empty());
}
