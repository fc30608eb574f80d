// The guide list in the main window: a page without a tab of its own, so the side bar's strip
// keeps its two tabs as they were; it follows the channel chosen in the tree, and Ctrl+G shows
// it and goes back.
#include "app/form1.h"
#include "app/guidelist.h"
#include "scratchdir.h"
#include "skin/controls/skinpagecontrol.h"
#include "skin/controls/skintabsheet.h"
#include "treerows.h"
#include "userdata/viewerdatabase.h"
#include "widgets/errorbox.h"

#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>
#include <QVariant>

#include <gtest/gtest.h>

using namespace quorvel;

TEST(Form1Guide, APageWithoutATabFollowsTheChosenChannelAndCtrlGShowsIt)
{
    ScratchDir dir;
    std::vector<QString> errors;
    SetErrorPresenter([&errors](const QString&, const QString& message) { errors.push_back(message); });
    ScratchDir::Spit(dir.File("VisibleAPI.dat"), "[Layer1]\nNews=\n[Layer2]\nAlpha=News\nBeta=News\n"
                                                 "[Programs]\nAlpha=http://127.0.0.1:9/a\nBeta=http://127.0.0.1:9/b\n");
    const std::int64_t now = QDateTime::currentSecsSinceEpoch();
    {
        ViewerDatabase made(dir.File("viewer.db"));
        QSqlDatabase raw = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("guide"));
        raw.setDatabaseName(QString::fromStdString(dir.File("viewer.db")));
        ASSERT_TRUE(raw.open());
        QSqlQuery q(raw);
        ASSERT_TRUE(
            q.prepare(QStringLiteral("INSERT INTO programmes (channel, start, stop, title) VALUES (?, ?, ?, ?)")));
        for (const auto& [start, title] : {std::pair{now - 600, "On now"}, std::pair{now + 600, "Next"}}) {
            q.addBindValue(QStringLiteral("Alpha"));
            q.addBindValue(QVariant::fromValue(start));
            q.addBindValue(QVariant::fromValue(start + 1200));
            q.addBindValue(QString::fromUtf8(title));
            ASSERT_TRUE(q.exec());
        }
        q.finish();
        raw.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("guide"));

    auto form = std::make_unique<Form1>(dir.Path() + "/", QStringLiteral("null"));
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get(), 20000));
    SkinPageControl* tabs = form->SkinPageControl1;
    EXPECT_EQ(tabs->PageCount(), 3);
    EXPECT_TRUE(tabs->TabRect(2).isEmpty());
    EXPECT_EQ(tabs->ScrollButtons(), nullptr);
    EXPECT_EQ(tabs->ActivePage(), form->SkinTabSheet1);
    EXPECT_EQ(form->GuideList1->Model().GetState(), GuideListModel::State::NoChannel);

    ChannelTreeView* tree = form->TreeView1;
    const QModelIndex alpha = treerows::FindRow(tree, QStringLiteral("Alpha"));
    ASSERT_TRUE(alpha.isValid());
    tree->setCurrentIndex(alpha);
    EXPECT_EQ(form->GuideList1->Model().Channel(), QStringLiteral("Alpha"));
    EXPECT_TRUE(form->GuideList1->ChosenLine().endsWith(QStringLiteral(" On now")))
        << form->GuideList1->ChosenLine().toStdString();
    // A category leaves the list as it was.
    tree->setCurrentIndex(alpha.parent());
    EXPECT_EQ(form->GuideList1->Model().Channel(), QStringLiteral("Alpha"));

    QTest::keyClick(form.get(), Qt::Key_G, Qt::ControlModifier);
    EXPECT_EQ(tabs->ActivePage(), form->SkinTabSheet3);
    EXPECT_TRUE(form->GuideList1->isVisible());
    EXPECT_FALSE(tree->isVisible());
    EXPECT_EQ(tabs->ScrollButtons(), nullptr);
    QTest::keyClick(form.get(), Qt::Key_G, Qt::ControlModifier);
    EXPECT_EQ(tabs->ActivePage(), form->SkinTabSheet1);
    EXPECT_TRUE(tree->isVisible());

    const QModelIndex beta = treerows::FindRow(tree, QStringLiteral("Beta"));
    ASSERT_TRUE(beta.isValid());
    tree->setCurrentIndex(beta);
    EXPECT_EQ(form->GuideList1->Model().GetState(), GuideListModel::State::NoGuide);
    form.reset();
    SetErrorPresenter(nullptr);
    EXPECT_TRUE(errors.empty());
}
