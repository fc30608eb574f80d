// The main window in-process, under the harness's X server, with the real player (no sound).
#include "app/form1.h"
#include "catalogue/channelcatalogue.h"
#include "platform/datafolders.h"
#include "player/mediaplayer.h"
#include "scratchdir.h"
#include "skin/controls/skinpagecontrol.h"
#include "skin/controls/skinpanel.h"
#include "skin/controls/skintabsheet.h"
#include "skin/form/skinform.h"
#include "treerows.h"
#include "widgets/editline.h"
#include "widgets/errorbox.h"
#include "widgets/plainpanel.h"

#include <QApplication>
#include <QLineEdit>
#include <QTabBar>
#include <QTest>

#include <gtest/gtest.h>
#include <unistd.h>

using namespace quorvel;

namespace {

class Form1Test : public ::testing::Test {
protected:
    void SetUp() override
    {
        ExeDir.clear();
        SetErrorPresenter([this](const QString&, const QString& message) { errors.push_back(message); });
    }
    void TearDown() override { SetErrorPresenter(nullptr); }

    std::string ProgramDir() const { return dir.Path() + "/"; }
    std::unique_ptr<Form1> Start()
    {
        auto form = std::make_unique<Form1>(ProgramDir(), QStringLiteral("null"));
        form->show();
        form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get(), 20000));
        return form;
    }
    static QModelIndex Find(ChannelTreeView* tree, const QString& text) { return treerows::FindRow(tree, text); }

    ScratchDir dir;
    std::vector<QString> errors;
};

} // namespace

TEST_F(Form1Test, FirstStartWritesDefaultsAndLaysTheWindowOut)
{
    auto form = Start();
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(form->windowTitle(), "Quorvel Online TV v1.12");
    // The client area of 712 x 446 sits in the skin's frame: 3 pixels at the sides and the
    // bottom, a caption of 30.
    EXPECT_EQ(form->size(), QSize(718, 479));
    EXPECT_EQ(form->SkinForm1->ClientArea()->geometry(), QRect(3, 30, 712, 446));
    EXPECT_EQ(ExeDir, ProgramDir());
    EXPECT_EQ(::access((ProgramDir() + "VisibleAPI.dat").c_str(), R_OK), 0);

    ChannelTreeView* tree = form->TreeView1;
    // The viewer's own two categories, empty, come before the catalogue's.
    ASSERT_EQ(treerows::TopCount(tree), 17);
    EXPECT_EQ(treerows::Text(treerows::Top(tree, 0)), "Favourites");
    EXPECT_EQ(treerows::Text(treerows::Top(tree, 1)), "Recently watched");
    for (int i = 0; i < 17; ++i) {
        if (i >= 2) {
            EXPECT_EQ(treerows::Text(treerows::Top(tree, i)).toStdString(),
                      ChannelCatalogue::DefaultCategories()[i - 2]);
        }
        EXPECT_EQ(treerows::ChildCount(treerows::Top(tree, i)), 0);
        EXPECT_FALSE(tree->isExpanded(treerows::Top(tree, i)));
    }
    EXPECT_FALSE(tree->Selected().isValid());

    EXPECT_EQ(form->Panel2->geometry(), QRect(511, 0, 201, 446));
    EXPECT_EQ(form->SkinPanel1->geometry(), QRect(0, 0, 511, 446));
    EXPECT_EQ(form->SkinPageControl1->geometry(), QRect(-1, 0, 202, 446));
    EXPECT_EQ(form->SkinPanel1->ClientRect(), QRect(QPoint(1, 1), QPoint(509, 444)));
    // The skin's page frame (two pixels on each side, the tabs 21 high) leaves the pages 198 x 420
    // at 2,24; the tree keeps one pixel to their edges.
    EXPECT_EQ(form->SkinPageControl1->PageArea(), QRect(2, 24, 198, 420));
    EXPECT_EQ(tree->geometry(), QRect(1, 1, 196, 418));
    EXPECT_EQ(form->Edit1->geometry(), QRect(311, 383, 120, 15));
    EXPECT_TRUE(form->MediaPlayer1->isHidden());
    EXPECT_TRUE(form->Edit1->isHidden());
    EXPECT_EQ(form->SkinPageControl1->ActivePage(), form->SkinTabSheet1);
    EXPECT_EQ(form->SkinPageControl1->TabHeight(), 21);
    EXPECT_FALSE(form->Playing);
}

TEST_F(Form1Test, AnInstalledProgramReadsItsPagesInOneFolderAndKeepsTheCatalogueInAnother)
{
    const DataFolders folders{dir.File("bin/"), dir.File("share/"), dir.File("data/")};
    for (const auto& d : {folders.programDir, folders.pagesDir, folders.dataDir})
        ASSERT_EQ(::mkdir(d.c_str(), 0700), 0);
    Form1 form(folders, QStringLiteral("null"));
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(ExeDir, folders.pagesDir);
    EXPECT_EQ(::access((folders.dataDir + "VisibleAPI.dat").c_str(), R_OK), 0);
    EXPECT_NE(::access((folders.pagesDir + "VisibleAPI.dat").c_str(), F_OK), 0);
    EXPECT_NE(::access((folders.programDir + "VisibleAPI.dat").c_str(), F_OK), 0);
    EXPECT_EQ(treerows::TopCount(form.TreeView1), 17);
}

TEST_F(Form1Test, UnwritableCatalogueReportsAndOpensWithAnEmptyTree)
{
    // Even root cannot create a file below a plain file.
    ScratchDir::Spit(dir.File("plain"), "x");
    ASSERT_EQ(::symlink((dir.File("plain") + "/VisibleAPI.dat").c_str(), dir.File("VisibleAPI.dat").c_str()), 0);
    auto form = Start();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].toStdString(), "Unable to write to " + ProgramDir() + "VisibleAPI.dat.");
    EXPECT_EQ(treerows::TopCount(form->TreeView1), 0);
    EXPECT_TRUE(ExeDir.empty()); // the steps after the failing one did not run
    EXPECT_TRUE(form->isVisible());
}

TEST_F(Form1Test, ChoosingChannelsPlaysThemAndKeepsTheFocusInTheTree)
{
    ScratchDir::Spit(dir.File("VisibleAPI.dat"), "[Layer1]\nNews=\nSports=\n"
                                                 "[Layer2]\nOne=News\nTwo=News\nNo Address=Sports\n"
                                                 "[Programs]\none=http://127.0.0.1:1/one.m3u8\n"
                                                 "TWO=http://127.0.0.1:1/two.m3u8\n");
    auto form = Start();
    // The focus checks need the window to have the keyboard, which a busy X server hands
    // over a moment after the window shows.
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get(), 20000));
    ChannelTreeView* tree = form->TreeView1;
    ASSERT_EQ(treerows::TopCount(tree), 4);

    // A category changes nothing.
    tree->setCurrentIndex(Find(tree, "News"));
    EXPECT_TRUE(form->MediaPlayer1->isHidden());
    EXPECT_FALSE(form->Playing);

    tree->setFocus();
    tree->expandAll();
    QTest::keyClick(tree, Qt::Key_Down);
    ASSERT_EQ(tree->currentIndex(), Find(tree, "One"));
    EXPECT_TRUE(form->MediaPlayer1->isVisible());
    EXPECT_TRUE(form->Edit1->isVisible());
    EXPECT_TRUE(form->Playing);
    EXPECT_EQ(form->MediaPlayer1->URL(), "http://127.0.0.1:1/one.m3u8");
    EXPECT_EQ(form->MediaPlayer1->geometry(), form->SkinPanel1->ClientRect());
    EXPECT_EQ(QApplication::focusWidget(), tree);

    QTest::keyClick(tree, Qt::Key_Down);
    EXPECT_EQ(form->MediaPlayer1->URL(), "http://127.0.0.1:1/two.m3u8");
    EXPECT_EQ(QApplication::focusWidget(), tree);
    // The ticker stays above the player.
    const auto stack = form->SkinPanel1->children();
    EXPECT_GT(stack.indexOf(form->Edit1), stack.indexOf(form->MediaPlayer1));

    // A dead address is reported in the video area, within the network time-out.
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return form->MediaPlayer1->Message().startsWith("Cannot play this channel: "); }, 12000));

    // Back to a category: playback goes on as it was.
    // Keys the tree does not use on a channel do not switch pages behind its back.
    QTest::keyClick(tree, Qt::Key_Right);
    QTest::keyClick(tree, Qt::Key_Right);
    EXPECT_EQ(form->SkinPageControl1->ActivePage(), form->SkinTabSheet1);
    QTest::keyClick(tree, Qt::Key_Down);
    ASSERT_EQ(tree->currentIndex(), Find(tree, "Sports"));
    EXPECT_EQ(form->MediaPlayer1->URL(), "http://127.0.0.1:1/two.m3u8");

    tree->setCurrentIndex(Find(tree, "No Address"));
    EXPECT_EQ(form->MediaPlayer1->URL(), "");
    EXPECT_EQ(form->MediaPlayer1->Message(), "Cannot play this channel: it has no stream address");
    EXPECT_TRUE(errors.empty());
}

TEST_F(Form1Test, CloseDestroysThePlayerAndLaterResizesLeaveItAlone)
{
    ScratchDir::Spit(dir.File("VisibleAPI.dat"),
                     "[Layer1]\nNews=\n[Layer2]\nOne=News\n[Programs]\nOne=http://127.0.0.1:1/x\n");
    auto form = Start();
    form->TreeView1->setCurrentIndex(Find(form->TreeView1, "One"));
    ASSERT_TRUE(form->Playing);
    QPointer<MediaPlayer> player = form->MediaPlayer1;
    form->close();
    EXPECT_TRUE(player.isNull());
    EXPECT_EQ(form->MediaPlayer1, nullptr);
    form->FormResize();
    form->SkinPanel1Resize();
    form->TreeView1->setCurrentIndex(QModelIndex());
    EXPECT_TRUE(errors.empty());
}

TEST_F(Form1Test, ResizingMovesTheTickerAndShowsThePlayerAgain)
{
    ScratchDir::Spit(dir.File("VisibleAPI.dat"), "[Layer1]\nNews=\n");
    auto form = Start();
    form->SkinPanel1->resize(400, 300);
    EXPECT_EQ(form->Edit1->pos(), QPoint(400 - 120 - 80, 300 - 15 - 48));
    EXPECT_TRUE(form->MediaPlayer1->isHidden()); // nothing reaches the player before a choice
}

TEST_F(Form1Test, SideBarTabsSwitchPagesByMouseAndLightUpUnderIt)
{
    auto form = Start();
    SkinPageControl* tabs = form->SkinPageControl1;
    QTabBar* bar = tabs->tabBar();
    auto at = [&](int tab) { return bar->mapFrom(tabs, tabs->TabRect(tab).center()); };
    // Caption pixels of the skin's white (the normal caption is grey).
    auto whiteIn = [&](int tab) {
        const QRect r = tabs->TabRect(tab).adjusted(4, 0, -4, 0);
        const QImage shot = tabs->grab(r).toImage();
        int n = 0;
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x)
                n += qRed(shot.pixel(x, y)) > 230 && qGreen(shot.pixel(x, y)) > 230 && qBlue(shot.pixel(x, y)) > 230;
        return n;
    };
    ASSERT_EQ(tabs->ActivePage(), form->SkinTabSheet1);
    EXPECT_EQ(whiteIn(1), 0);

    QTest::mouseMove(bar, at(1));
    EXPECT_TRUE(QTest::qWaitFor([&] { return tabs->HotTab() == 1; }, 5000));
    EXPECT_GT(whiteIn(1), 10);
    QTest::mouseClick(bar, Qt::LeftButton, {}, at(1));
    EXPECT_EQ(tabs->ActivePage(), form->SkinTabSheet2);
    EXPECT_TRUE(form->SkinTabSheet2->isVisible());
    EXPECT_FALSE(form->TreeView1->isVisible());

    // The first tab lights up under the mouse and goes grey again when the mouse leaves it.
    QTest::mouseMove(bar, at(0));
    EXPECT_TRUE(QTest::qWaitFor([&] { return tabs->HotTab() == 0; }, 5000));
    EXPECT_GT(whiteIn(0), 10);
    QTest::mouseMove(form->SkinTabSheet2, QPoint(50, 50));
    EXPECT_TRUE(QTest::qWaitFor([&] { return tabs->HotTab() == -1; }, 5000));
    EXPECT_EQ(whiteIn(0), 0);

    QTest::mouseClick(bar, Qt::LeftButton, {}, at(0));
    EXPECT_EQ(tabs->ActivePage(), form->SkinTabSheet1);
    EXPECT_TRUE(form->TreeView1->isVisible());
    EXPECT_TRUE(errors.empty());
}

TEST(ErrorBox, FullStopRule)
{
    EXPECT_EQ(WithFullStop("Unable to write to /x"), "Unable to write to /x.");
    EXPECT_EQ(WithFullStop("Done."), "Done.");
    // Characters sorting after "." get one, also "?"; those before it (",", ")") do not.
    EXPECT_EQ(WithFullStop("What?"), "What?.");
    EXPECT_EQ(WithFullStop("Ends with a comma,"), "Ends with a comma,");
    EXPECT_EQ(WithFullStop("(quoted)"), "(quoted)");
    EXPECT_EQ(WithFullStop(""), "");
}
