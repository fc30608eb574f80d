#include "app/treetooltips.h"
#include "treerows.h"

#include <QApplication>
#include <QHelpEvent>
#include <QTest>
#include <QToolTip>
#include <QTreeView>

#include <gtest/gtest.h>

using quorvel::ChannelModel;
using quorvel::TreeToolTips;

namespace {

const QString longName = "Regional Public Broadcasting Channel Two International";

// A tree of News: BBC, ITV and the long name, opened.
struct NewsTree {
    NewsTree()
    {
        tree.setHeaderHidden(true);
        tree.resize(150, 200);
        tree.setModel(&model);
        model.SetCatalogue(
            treerows::TreeOf("[Layer1]\nNews=\n[Layer2]\nBBC=News\nITV=News\n" + longName.toStdString() + "=News\n"));
        tree.expand(model.Category(0));
    }
    QModelIndex Row(const QString& name)
    {
        return name == "News" ? model.Category(0) : model.FindChannel("News", name);
    }

    ChannelModel model;
    QTreeView tree;
};

QString ToolTipOver(QTreeView& tree, const QModelIndex& item)
{
    QToolTip::hideText();
    // A tip still showing is only replaced by the next one.
    (void)QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 2000);
    const QPoint at = tree.visualRect(item).center();
    QHelpEvent help(QEvent::ToolTip, at, tree.viewport()->mapToGlobal(at));
    QApplication::sendEvent(tree.viewport(), &help);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

} // namespace

TEST(TreeToolTips, OnlyANameTheTreeCutsShortShowsWhole)
{
    NewsTree news;
    QTreeView& tree = news.tree;
    new TreeToolTips(&tree);
    tree.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&tree));
    EXPECT_EQ(ToolTipOver(tree, news.Row(longName)), longName);
    EXPECT_EQ(ToolTipOver(tree, news.Row("BBC")), QString());
    EXPECT_EQ(ToolTipOver(tree, news.Row("News")), QString());
    // Wide enough, the long name is whole and needs no tooltip.
    tree.resize(600, 200);
    QApplication::processEvents();
    EXPECT_EQ(ToolTipOver(tree, news.Row(longName)), QString());
}

TEST(TreeToolTips, AChannelShowsItsProgrammesUnderItsNameAndACategoryNone)
{
    NewsTree news;
    QTreeView& tree = news.tree;
    auto* tips = new TreeToolTips(&tree);
    QStringList asked;
    tips->SetGuide([&asked](const QString& channel) {
        asked << channel;
        if (channel == QLatin1String("ITV"))
            return QStringList();
        return QStringList{"Now: 20:00\u201321:00 News at eight", "Next: 21:00\u201322:00 Film"};
    });
    tree.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&tree));
    EXPECT_EQ(ToolTipOver(tree, news.Row("BBC")),
              "BBC\nNow: 20:00\u201321:00 News at eight\nNext: 21:00\u201322:00 Film");
    EXPECT_EQ(ToolTipOver(tree, news.Row("ITV")), QString());
    // The whole name still comes first where the tree cuts it short.
    EXPECT_EQ(ToolTipOver(tree, news.Row(longName)),
              longName + "\nNow: 20:00\u201321:00 News at eight\nNext: 21:00\u201322:00 Film");
    asked.clear();
    EXPECT_EQ(ToolTipOver(tree, news.Row("News")), QString());
    EXPECT_TRUE(asked.isEmpty());
}
