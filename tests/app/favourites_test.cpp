// The viewer's favourites and recently watched channels in the real window's tree.
#include "app/favouritesview.h"
#include "app/form1.h"
#include "app/mpris.h"
#include "app/playlistmanager.h"
#include "playback/playersession.h"
#include "player/mediaplayer.h"
#include "scratchdir.h"
#include "treerows.h"
#include "widgets/errorbox.h"

#include <QApplication>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

using namespace quorvel;
using namespace treerows;

namespace {

const char* const kCatalogue = "[Layer1]\nNews=\nSports=\n"
                               "[Layer2]\nOne=News\nTwo=News\nThree=Sports\n"
                               "[Programs]\nOne=http://127.0.0.1:1/one.m3u8\nTwo=http://127.0.0.1:1/two.m3u8\n"
                               "Three=http://127.0.0.1:1/three.m3u8\n";

class FavouritesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ScratchDir::Spit(dir.File("VisibleAPI.dat"), kCatalogue);
        SetErrorPresenter([this](const QString&, const QString& message) { errors.push_back(message); });
    }
    void TearDown() override { SetErrorPresenter(nullptr); }

    std::unique_ptr<Form1> Start()
    {
        auto form = std::make_unique<Form1>(dir.Path() + "/", QStringLiteral("null"));
        form->show();
        form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get(), 20000));
        return form;
    }
    static void Settle() { QTest::qWait(50); }
    // The channel chosen showed its picture, as a stream served here would.
    static void Showed(Form1& form)
    {
        emit form.MediaPlayer1->Session().stateChanged(PlayerSession::State::Playing);
        Settle();
    }

    ScratchDir dir;
    std::vector<QString> errors;
};

} // namespace

TEST_F(FavouritesTest, CtrlDMenuAndDraggingKeepTheListInOrderAcrossRestarts)
{
    {
        auto form = Start();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get(), 20000));
        ChannelTreeView* tree = form->TreeView1;
        FavouritesView& view = *form->Favourites1;
        ASSERT_EQ(Top(tree, 0), view.FavouritesNode());
        ASSERT_EQ(Top(tree, 1), view.RecentNode());

        // Ctrl+D on the selected channel, then on the one playing while a category is selected.
        tree->setFocus();
        tree->setCurrentIndex(InCategory(tree, "News", "Two"));
        QTest::keyClick(tree, Qt::Key_D, Qt::ControlModifier);
        Settle();
        tree->setCurrentIndex(InCategory(tree, "Sports", "Three"));
        tree->setCurrentIndex(InCategory(tree, "Sports", "Three").parent());
        QTest::keyClick(tree, Qt::Key_D, Qt::ControlModifier);
        Settle();
        // The menu offers to add a channel that is no favourite yet, and to remove one that is.
        QMenu menu;
        view.AddMenuActions(menu, InCategory(tree, "News", "One"));
        ASSERT_FALSE(menu.actions().isEmpty());
        EXPECT_EQ(menu.actions().first()->text(), "Add to favourites");
        menu.actions().first()->trigger();
        Settle();
        EXPECT_EQ(Children(view.FavouritesNode()), (QStringList{"Two", "Three", "One"}));
        QMenu again;
        view.AddMenuActions(again, Child(view.FavouritesNode(), 1));
        EXPECT_EQ(again.actions().first()->text(), "Remove from favourites");
        // Nothing for a category or empty space.
        QMenu none;
        view.AddMenuActions(none, Top(tree, 2));
        view.AddMenuActions(none, QModelIndex());
        EXPECT_TRUE(none.actions().isEmpty());

        // One dragged onto Two's place: first. The drag plays nothing on its way.
        const QString playing = form->MediaPlayer1->URL();
        QWidget* viewport = tree->viewport();
        const QPoint from = tree->visualRect(Child(view.FavouritesNode(), 2)).center();
        const QPoint to = tree->visualRect(Child(view.FavouritesNode(), 0)).center();
        QTest::mousePress(viewport, Qt::LeftButton, {}, from);
        for (int step = 1; step <= 4; ++step) {
            const QPoint at = from + (to - from) * step / 4;
            QMouseEvent move(QEvent::MouseMove, at, viewport->mapToGlobal(at), Qt::NoButton, Qt::LeftButton, {});
            QApplication::sendEvent(viewport, &move);
        }
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, to);
        Settle();
        EXPECT_EQ(Children(view.FavouritesNode()), (QStringList{"One", "Two", "Three"}));
        EXPECT_EQ(form->MediaPlayer1->URL(), playing);
        // Ctrl+D on a favourite removes it.
        tree->setCurrentIndex(Child(view.FavouritesNode(), 1));
        QTest::keyClick(tree, Qt::Key_D, Qt::ControlModifier);
        Settle();
        EXPECT_EQ(Children(view.FavouritesNode()), (QStringList{"One", "Three"}));
    }
    // The catalogue loses Three; after a restart it stays, greyed, and plays nothing.
    ScratchDir::Spit(dir.File("VisibleAPI.dat"), "[Layer1]\nNews=\n[Layer2]\nOne=News\n"
                                                 "[Programs]\nOne=http://127.0.0.1:1/one.m3u8\n");
    {
        auto form = Start();
        FavouritesView& view = *form->Favourites1;
        const QModelIndex favourites = view.FavouritesNode();
        ASSERT_EQ(Children(favourites), (QStringList{"One", "Three"}));
        EXPECT_TRUE(form->TreeView1->isExpanded(favourites));
        EXPECT_FALSE(FavouritesView::IsGone(Child(favourites, 0)));
        ASSERT_TRUE(FavouritesView::IsGone(Child(favourites, 1)));
        form->TreeView1->setCurrentIndex(Child(favourites, 1));
        EXPECT_FALSE(form->Playing);
        // A click on it says why and offers to remove it; a right click only opens the menu.
        QWidget* viewport = form->TreeView1->viewport();
        const QPoint gone = form->TreeView1->visualRect(Child(favourites, 1)).center();
        form->TreeView1->setCurrentIndex(Child(favourites, 0));
        QTest::mouseClick(viewport, Qt::RightButton, {}, gone);
        EXPECT_EQ(form->TreeView1->currentIndex(), Child(favourites, 0));
        QTest::mouseClick(viewport, Qt::LeftButton, {}, gone);
        auto* box = form->findChild<QMessageBox*>(QStringLiteral("GoneFavouriteBox"));
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text(), "No playlist lists this channel now");
        box->reject();
        // The media keys step over it.
        form->TreeView1->setCurrentIndex(Child(favourites, 0));
        Showed(*form);
        Mpris mpris(form->Session(), {});
        mpris.Next();
        EXPECT_EQ(form->TreeView1->currentIndex(), Child(favourites, 0));
        // Recently watched drops what the catalogue no longer has.
        EXPECT_EQ(Children(view.RecentNode()), (QStringList{"One"}));
    }
    // It comes back: no longer greyed.
    ScratchDir::Spit(dir.File("VisibleAPI.dat"), kCatalogue);
    auto form = Start();
    EXPECT_FALSE(FavouritesView::IsGone(Child(form->Favourites1->FavouritesNode(), 1)));
    EXPECT_TRUE(errors.empty());
}

TEST_F(FavouritesTest, PlayingFillsRecentlyWatchedAndBackspaceGoesBackAndForth)
{
    auto form = Start();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get(), 20000));
    ChannelTreeView* tree = form->TreeView1;
    FavouritesView& view = *form->Favourites1;
    tree->setFocus();
    // Backspace before anything played does nothing.
    QTest::keyClick(tree, Qt::Key_Backspace);
    EXPECT_FALSE(form->Playing);

    // A channel that never showed a picture or sound is not among the recently watched.
    tree->setCurrentIndex(InCategory(tree, "News", "Two"));
    Settle();
    EXPECT_TRUE(Children(view.RecentNode()).isEmpty());
    for (const char* name : {"One", "Two", "Three"}) {
        tree->setCurrentIndex(InCategory(tree, name == std::string("Three") ? "Sports" : "News", name));
        Showed(*form);
    }
    EXPECT_EQ(Children(view.RecentNode()), (QStringList{"Three", "Two", "One"}));

    QTest::keyClick(tree, Qt::Key_Backspace);
    EXPECT_EQ(form->MediaPlayer1->URL(), "http://127.0.0.1:1/two.m3u8");
    EXPECT_EQ(Text(tree->currentIndex().parent()), "News");
    QTest::keyClick(tree, Qt::Key_Backspace);
    EXPECT_EQ(form->MediaPlayer1->URL(), "http://127.0.0.1:1/three.m3u8");
    EXPECT_EQ(Text(tree->currentIndex().parent()), "Sports");

    // Going down Recently watched with the arrow keys plays each in turn: the list is not
    // reordered under the viewer (which would bring the channel before back each time) until
    // they choose outside it, and then keeps the one chosen.
    Settle();
    EXPECT_EQ(Children(view.RecentNode()), (QStringList{"Three", "Two", "One"}));
    tree->setCurrentIndex(Child(view.RecentNode(), 0));
    for (const char* url : {"two", "one"}) {
        QTest::keyClick(tree, Qt::Key_Down);
        Showed(*form);
        EXPECT_EQ(form->MediaPlayer1->URL(), QStringLiteral("http://127.0.0.1:1/%1.m3u8").arg(url));
    }
    EXPECT_EQ(Children(view.RecentNode()), (QStringList{"Three", "Two", "One"}));
    tree->setCurrentIndex(InCategory(tree, "Sports", "Three"));
    Showed(*form);
    EXPECT_EQ(Children(view.RecentNode()), (QStringList{"Three", "One", "Two"}));
    EXPECT_EQ(tree->currentIndex(), InCategory(tree, "Sports", "Three"));
    QTest::keyClick(tree, Qt::Key_Backspace);
    EXPECT_EQ(form->MediaPlayer1->URL(), "http://127.0.0.1:1/one.m3u8");

    // A refresh's filling of the tree puts both lists back first, with the viewer's place.
    tree->setCurrentIndex(Child(view.RecentNode(), 1));
    Settle();
    form->Playlists1->SetRefilled([&] { view.Show(); }); // as the window wires it
    const QString url = form->MediaPlayer1->URL();
    view.Show();
    EXPECT_EQ(Top(tree, 0), view.FavouritesNode());
    EXPECT_EQ(Top(tree, 1), view.RecentNode());
    EXPECT_EQ(TopCount(tree), 4);
    EXPECT_EQ(form->MediaPlayer1->URL(), url);
    EXPECT_TRUE(errors.empty());
}
