// The guide grid from the main window: Ctrl+Shift+G opens it, and Enter on a programme on now
// plays its channel through the session as a choice in the tree does.
#include "app/form1.h"
#include "guidegrid/guidegrid.h"
#include "guidegrid/guidegridview.h"
#include "guidegrid/guidewindow.h"
#include "scratchdir.h"
#include "userdata/guidestorewriter.h"
#include "watching/watchsession.h"

#include <QDateTime>
#include <QTest>

#include <gtest/gtest.h>

using namespace quorvel;

TEST(Form1GuideGrid, CtrlShiftGOpensItAndEnterOnNowPlaysTheChannel)
{
    ScratchDir dir;
    ScratchDir::Spit(dir.File("VisibleAPI.dat"), "[Layer1]\nNews=\n[Layer2]\nAlpha=News\nBeta=News\n"
                                                 "[Programs]\nAlpha=http://127.0.0.1:9/a\nBeta=http://127.0.0.1:9/b\n");
    const std::int64_t now = QDateTime::currentSecsSinceEpoch();
    {
        GuideStoreWriter writer(dir.File("viewer.db"), {"Alpha", "Beta"}, "guide.xml", now);
        Programme on;
        on.start = now - 600;
        on.stop = now + 1200;
        on.title = "Beta on now";
        std::vector<Programme> beta = {on};
        writer.Take(1, beta);
        writer.Finish(GuideOutcome{});
    }
    auto form = std::make_unique<Form1>(dir.Path() + "/", QStringLiteral("null"));
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get(), 20000));
    ASSERT_EQ(form->Grid1->Window(), nullptr);

    QTest::keyClick(form.get(), Qt::Key_G, Qt::ControlModifier | Qt::ShiftModifier);
    GuideWindow* grid = form->Grid1->Window();
    ASSERT_NE(grid, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(grid, 20000));
    ASSERT_EQ(grid->Channels().Count(), 2);
    grid->View().Select(1, now);
    ASSERT_EQ(grid->View().Selected().cell.title, QStringLiteral("Beta on now"));
    QTest::keyClick(&grid->View(), Qt::Key_Return);
    EXPECT_EQ(form->Session().Playing().name, QStringLiteral("Beta"));
    EXPECT_EQ(form->Session().Playing().category, QStringLiteral("News"));
    form->close();
}
