#include "app/treetooltips.h"

#include <QApplication>
#include <QHelpEvent>
#include <QTest>
#include <QToolTip>
#include <QTreeWidget>

#include <gtest/gtest.h>

using quorvel::TreeToolTips;

namespace {

QString ToolTipOver(QTreeWidget& tree, QTreeWidgetItem* item)
{
    QToolTip::hideText();
    // A tip still showing is only replaced by the next one.
    (void)QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 2000);
    const QPoint at = tree.visualItemRect(item).center();
    QHelpEvent help(QEvent::ToolTip, at, tree.viewport()->mapToGlobal(at));
    QApplication::sendEvent(tree.viewport(), &help);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

} // namespace

TEST(TreeToolTips, OnlyANameTheTreeCutsShortShowsWhole)
{
    QTreeWidget tree;
    tree.setHeaderHidden(true);
    tree.resize(150, 200);
    auto* category = new QTreeWidgetItem(&tree, QStringList{"News"});
    auto* shortName = new QTreeWidgetItem(category, QStringList{"BBC"});
    const QString longName = "Regional Public Broadcasting Channel Two International";
    auto* longOne = new QTreeWidgetItem(category, QStringList{longName});
    category->setExpanded(true);
    new TreeToolTips(&tree);
    tree.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&tree));
    EXPECT_EQ(ToolTipOver(tree, longOne), longName);
    EXPECT_EQ(ToolTipOver(tree, shortName), QString());
    EXPECT_EQ(ToolTipOver(tree, category), QString());
    // Wide enough, the long name is whole and needs no tooltip.
    tree.resize(600, 200);
    QApplication::processEvents();
    EXPECT_EQ(ToolTipOver(tree, longOne), QString());
}

TEST(TreeToolTips, AChannelShowsItsProgrammesUnderItsNameAndACategoryNone)
{
    QTreeWidget tree;
    tree.setHeaderHidden(true);
    tree.resize(150, 200);
    auto* category = new QTreeWidgetItem(&tree, QStringList{"News"});
    auto* guided = new QTreeWidgetItem(category, QStringList{"BBC"});
    auto* unguided = new QTreeWidgetItem(category, QStringList{"ITV"});
    const QString longName = "Regional Public Broadcasting Channel Two International";
    auto* longOne = new QTreeWidgetItem(category, QStringList{longName});
    category->setExpanded(true);
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
    EXPECT_EQ(ToolTipOver(tree, guided), "BBC\nNow: 20:00\u201321:00 News at eight\nNext: 21:00\u201322:00 Film");
    EXPECT_EQ(ToolTipOver(tree, unguided), QString());
    // The whole name still comes first where the tree cuts it short.
    EXPECT_EQ(ToolTipOver(tree, longOne),
              longName + "\nNow: 20:00\u201321:00 News at eight\nNext: 21:00\u201322:00 Film");
    asked.clear();
    EXPECT_EQ(ToolTipOver(tree, category), QString());
    EXPECT_TRUE(asked.isEmpty());
}
