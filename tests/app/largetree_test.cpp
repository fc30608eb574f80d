// A large channel tree: categories make their channel rows when first needed, and the viewer,
// the find box and the media keys find every channel as in a tree made whole at start.
#include "app/findbox.h"
#include "app/form1.h"
#include "app/mpris.h"
#include "player/mediaplayer.h"
#include "scratchdir.h"
#include "treerows.h"
#include "widgets/errorbox.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace quorvel;

namespace {

class LargeTreeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetErrorPresenter([this](const QString&, const QString& message) { errors.push_back(message); });
        // More channels than a tree makes at start.
        std::string text = "[Layer1]\nBig=\nEmpty=\nSmall=\nMore=\n[Layer2]\n";
        for (int i = 0; i < 2500; ++i)
            text += "Channel " + std::to_string(i) + "=Big\n";
        text += "One=Small\nTwo=Small\nThree=More\nFour=More\n[Programs]\n";
        for (int i = 0; i < 2500; ++i)
            text += "Channel " + std::to_string(i) + "=http://127.0.0.1:1/" + std::to_string(i) + ".m3u8\n";
        text += "One=http://127.0.0.1:1/one.m3u8\nTwo=http://127.0.0.1:1/two.m3u8\n"
                "Three=http://127.0.0.1:1/three.m3u8\nFour=http://127.0.0.1:1/four.m3u8\n";
        ScratchDir::Spit(dir.File("VisibleAPI.dat"), text);
        form = std::make_unique<Form1>(dir.Path() + "/", QStringLiteral("null"));
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get(), 20000));
        tree = form->TreeView1;
    }
    void TearDown() override
    {
        form.reset();
        SetErrorPresenter(nullptr);
    }
    // The catalogue's categories, after the viewer's own two.
    QModelIndex Category(int row) const { return treerows::Top(tree, row + 2); }
    bool IsOpen(int row) const { return tree->isExpanded(Category(row)); }
    int Made(int row) const { return treerows::ChildCount(Category(row)); }
    QModelIndex Channel(int row, int channel) const { return treerows::Child(Category(row), channel); }
    bool ShowsExpandButton(int row) const { return tree->model()->hasChildren(tree->model()->index(row + 2, 0)); }
    QString Url() const { return form->MediaPlayer1->URL(); }

    ScratchDir dir;
    std::unique_ptr<Form1> form;
    ChannelTreeView* tree = nullptr;
    std::vector<QString> errors;
};

} // namespace

TEST_F(LargeTreeTest, CategoriesShowAsAFilledTreeDoesAndMakeTheirChannelsWhenOpened)
{
    ASSERT_EQ(treerows::TopCount(tree), 6);
    EXPECT_EQ(treerows::Text(Category(0)), "Big");
    EXPECT_EQ(treerows::Text(Category(3)), "More");
    // Expand buttons where there are channels, none on the empty category; all closed.
    EXPECT_TRUE(ShowsExpandButton(0));
    EXPECT_FALSE(ShowsExpandButton(1));
    EXPECT_TRUE(ShowsExpandButton(2));
    for (int c = 0; c < 4; ++c)
        EXPECT_FALSE(IsOpen(c));
    EXPECT_EQ(Made(0), 0);
    EXPECT_EQ(tree->Channels().ChannelCount(2), 2500);
    EXPECT_EQ(tree->Channels().ChannelName(2, 2499), "Channel 2499");
    EXPECT_EQ(tree->Channels().ChannelCount(3), 0);

    // Opened by the keyboard: the channels are there, in catalogue order, and the arrows play them.
    tree->setFocus();
    tree->setCurrentIndex(Category(0));
    QTest::keyClick(tree, Qt::Key_Right);
    ASSERT_TRUE(IsOpen(0));
    ASSERT_EQ(Made(0), 2500);
    EXPECT_EQ(treerows::Text(Channel(0, 0)), "Channel 0");
    EXPECT_EQ(treerows::Text(Channel(0, 2499)), "Channel 2499");
    EXPECT_EQ(qvariant_cast<QIcon>(Channel(0, 7).data(Qt::DecorationRole)).cacheKey(), form->ImageList1.cacheKey());
    QTest::keyClick(tree, Qt::Key_Down);
    QTest::keyClick(tree, Qt::Key_Down);
    ASSERT_EQ(tree->currentIndex(), Channel(0, 1));
    EXPECT_EQ(Url(), "http://127.0.0.1:1/1.m3u8");
    // Closed and opened again, by the program: the same rows, not a second set.
    tree->collapse(Category(0));
    tree->expand(Category(0));
    EXPECT_EQ(Made(0), 2500);
    // Opened by the program before anyone looked.
    tree->expand(Category(2));
    ASSERT_EQ(Made(2), 2);
    EXPECT_EQ(treerows::Text(Channel(2, 1)), "Two");
    EXPECT_TRUE(errors.empty());
}

TEST_F(LargeTreeTest, TheFindBoxAndTheMediaKeysReachCategoriesNotOpenedYet)
{
    FindBox& box = *form->FindBox1;
    box.Open(QStringLiteral("channel 1234"));
    QTest::keyClick(box.Edit(), Qt::Key_Return);
    ASSERT_TRUE(tree->currentIndex().isValid());
    EXPECT_EQ(treerows::Text(tree->currentIndex()), "Channel 1234");
    EXPECT_EQ(tree->currentIndex().parent(), Category(0));
    EXPECT_TRUE(IsOpen(0));
    EXPECT_EQ(Url(), "http://127.0.0.1:1/1234.m3u8");

    // A category chosen, closed and never opened: next steps into its first channel, previous
    // into its last, round the category from there.
    Mpris mpris(form->Session(), {});
    EXPECT_TRUE(mpris.CanGoNext());
    tree->setCurrentIndex(Category(3));
    mpris.Next();
    ASSERT_TRUE(tree->currentIndex().isValid());
    EXPECT_EQ(treerows::Text(tree->currentIndex()), "Three");
    EXPECT_EQ(Url(), "http://127.0.0.1:1/three.m3u8");
    mpris.Previous();
    EXPECT_EQ(treerows::Text(tree->currentIndex()), "Four");
    tree->setCurrentIndex(Category(2));
    mpris.Previous();
    EXPECT_EQ(treerows::Text(tree->currentIndex()), "Two");
    EXPECT_EQ(Url(), "http://127.0.0.1:1/two.m3u8");
    EXPECT_TRUE(errors.empty());
}
