// A large channel tree: categories make their channel nodes when first needed, and the viewer,
// the find box and the media keys find every channel as in a tree made whole at start.
#include "app/categorynode.h"
#include "app/findbox.h"
#include "app/form1.h"
#include "app/mpris.h"
#include "app/treenode.h"
#include "player/mediaplayer.h"
#include "scratchdir.h"
#include "widgets/errorbox.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>

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
    QTreeWidgetItem* Category(int row) const { return tree->topLevelItem(row + 2); }
    bool ShowsExpandButton(int row) const { return tree->model()->hasChildren(tree->model()->index(row + 2, 0)); }
    QString Url() const { return form->MediaPlayer1->URL(); }

    ScratchDir dir;
    std::unique_ptr<Form1> form;
    QTreeWidget* tree = nullptr;
    std::vector<QString> errors;
};

} // namespace

TEST_F(LargeTreeTest, CategoriesShowAsAFilledTreeDoesAndMakeTheirChannelsWhenOpened)
{
    ASSERT_EQ(tree->topLevelItemCount(), 6);
    EXPECT_EQ(Category(0)->text(0), "Big");
    EXPECT_EQ(Category(3)->text(0), "More");
    // Expand buttons where there are channels, none on the empty category; all closed.
    EXPECT_TRUE(ShowsExpandButton(0));
    EXPECT_FALSE(ShowsExpandButton(1));
    EXPECT_TRUE(ShowsExpandButton(2));
    for (int c = 0; c < 4; ++c)
        EXPECT_FALSE(Category(c)->isExpanded());
    EXPECT_EQ(CategoryNode::ChannelCount(Category(0)), 2500);
    EXPECT_EQ(CategoryNode::ChannelName(Category(0), 2499), "Channel 2499");
    EXPECT_EQ(CategoryNode::ChannelCount(Category(1)), 0);

    // Opened by the keyboard: the channels are there, in catalogue order, and the arrows play them.
    tree->setFocus();
    tree->setCurrentItem(Category(0));
    QTest::keyClick(tree, Qt::Key_Right);
    ASSERT_TRUE(Category(0)->isExpanded());
    ASSERT_EQ(Category(0)->childCount(), 2500);
    EXPECT_EQ(Category(0)->child(0)->text(0), "Channel 0");
    EXPECT_EQ(Category(0)->child(2499)->text(0), "Channel 2499");
    EXPECT_EQ(Category(0)->child(7)->icon(0).cacheKey(), form->ImageList1.cacheKey());
    QTest::keyClick(tree, Qt::Key_Down);
    QTest::keyClick(tree, Qt::Key_Down);
    ASSERT_EQ(tree->currentItem(), Category(0)->child(1));
    EXPECT_EQ(Url(), "http://127.0.0.1:1/1.m3u8");
    // Closed and opened again, by the program: the same nodes, not a second set.
    Category(0)->setExpanded(false);
    Category(0)->setExpanded(true);
    EXPECT_EQ(Category(0)->childCount(), 2500);
    // Opened by the program before anyone looked.
    Category(2)->setExpanded(true);
    ASSERT_EQ(Category(2)->childCount(), 2);
    EXPECT_EQ(Category(2)->child(1)->text(0), "Two");
    EXPECT_TRUE(errors.empty());
}

TEST_F(LargeTreeTest, TheFindBoxAndTheMediaKeysReachCategoriesNotOpenedYet)
{
    FindBox& box = *form->FindBox1;
    box.Open(QStringLiteral("channel 1234"));
    QTest::keyClick(box.Edit(), Qt::Key_Return);
    ASSERT_NE(tree->currentItem(), nullptr);
    EXPECT_EQ(tree->currentItem()->text(0), "Channel 1234");
    EXPECT_EQ(tree->currentItem()->parent(), Category(0));
    EXPECT_TRUE(Category(0)->isExpanded());
    EXPECT_EQ(Url(), "http://127.0.0.1:1/1234.m3u8");

    // A category chosen, closed and never opened: next steps into its first channel, previous
    // into its last, round the category from there.
    Mpris mpris(form->Session(), {});
    EXPECT_TRUE(mpris.CanGoNext());
    tree->setCurrentItem(Category(3));
    mpris.Next();
    ASSERT_NE(tree->currentItem(), nullptr);
    EXPECT_EQ(tree->currentItem()->text(0), "Three");
    EXPECT_EQ(Url(), "http://127.0.0.1:1/three.m3u8");
    mpris.Previous();
    EXPECT_EQ(tree->currentItem()->text(0), "Four");
    tree->setCurrentItem(Category(2));
    mpris.Previous();
    EXPECT_EQ(tree->currentItem()->text(0), "Two");
    EXPECT_EQ(Url(), "http://127.0.0.1:1/two.m3u8");
    EXPECT_TRUE(errors.empty());
}

TEST(TreeNode, AnswersAndChangesAsAPlainItem)
{
    QTreeWidget tree;
    const QIcon image(QPixmap(16, 16));
    auto* node = new TreeNode(QStringLiteral("News"), image);
    tree.addTopLevelItem(node);
    node->addChild(new TreeNode(QStringLiteral("One"), image));
    EXPECT_EQ(node->text(0), "News");
    EXPECT_EQ(node->icon(0).cacheKey(), image.cacheKey());
    EXPECT_EQ(node->data(0, Qt::EditRole).toString(), "News");
    EXPECT_TRUE(node->text(1).isEmpty());

    QSignalSpy changed(&tree, &QTreeWidget::itemChanged);
    node->setText(0, QStringLiteral("Sports"));
    EXPECT_EQ(node->text(0), "Sports");
    EXPECT_EQ(changed.count(), 1);
    node->setText(0, QStringLiteral("Sports")); // unchanged: nothing to tell
    EXPECT_EQ(changed.count(), 1);
    node->setToolTip(0, QStringLiteral("tip"));
    EXPECT_EQ(node->toolTip(0), "tip");
    EXPECT_EQ(changed.count(), 2);
    EXPECT_EQ(tree.findItems(QStringLiteral("One"), Qt::MatchRecursive).size(), 1);

    // A copy is a whole one.
    std::unique_ptr<QTreeWidgetItem> copy(node->clone());
    EXPECT_EQ(copy->text(0), "Sports");
    EXPECT_EQ(copy->toolTip(0), "tip");
    ASSERT_EQ(copy->childCount(), 1);
    EXPECT_EQ(copy->child(0)->text(0), "One");
}
