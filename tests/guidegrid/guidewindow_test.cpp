// The grid's window over a real catalogue and guide store: Enter and the mouse on programmes,
// the keys moving from programme to programme.
#include "guidegrid/guidegridview.h"
#include "guidegrid/guidewindow.h"
#include "guidegrid/programmedetails.h"
#include "scratchdir.h"
#include "userdata/guidestorewriter.h"

#include <QApplication>
#include <QDateTime>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QThreadPool>
#include <QWheelEvent>

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>

using namespace quorvel;

namespace {

constexpr std::int64_t kHour = 3600;

Programme P(std::int64_t start, std::int64_t stop, const std::string& title)
{
    Programme p;
    p.start = start;
    p.stop = stop;
    p.title = title;
    return p;
}

// A catalogue of three channels; Alpha and Beta with programmes around now.
struct GridFixture {
    ScratchDir dir;
    std::string catalogue = dir.File("VisibleAPI.dat");
    std::int64_t now = QDateTime::currentSecsSinceEpoch() / 60 * 60;

    GridFixture()
    {
        ScratchDir::Spit(catalogue, "[Layer1]\nNews=\nFilms=\n\n[Layer2]\nAlpha=News\nBeta=News\nGamma=Films\n\n"
                                    "[Programs]\nAlpha=http://127.0.0.1/a\nBeta=http://127.0.0.1/b\n");
        GuideStoreWriter writer(dir.File("viewer.db"), {"Alpha", "Beta"}, "guide.xml", now);
        std::vector<Programme> alpha = {P(now - 2 * kHour, now - kHour, "Alpha past"),
                                        P(now - kHour, now + kHour, "Alpha now"),
                                        P(now + kHour, now + 2 * kHour, "Alpha later")};
        std::vector<Programme> beta = {P(now - 30 * 60, now + 30 * 60, "Beta now")};
        writer.Take(0, alpha);
        writer.Take(1, beta);
        writer.Finish(GuideOutcome{});
        EXPECT_EQ(writer.Failure(), "");
    }
    // A window reads where the guide begins and ends on a worker: done before the folder goes.
    ~GridFixture() { QThreadPool::globalInstance()->waitForDone(); }
};

} // namespace

TEST(GuideWindow, EnterOnAProgrammeOnNowAsksToPlayItsChannel)
{
    GridFixture f;
    GuideWindow window(f.catalogue);
    GuideGridView& grid = window.View();
    grid.SetClock([&] { return f.now; });
    window.resize(1280, 800);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QSignalSpy play(&window, &GuideWindow::playRequested);
    QSignalSpy archive(&window, &GuideWindow::archiveRequested);

    grid.Select(0, f.now);
    EXPECT_EQ(grid.Selected().cell.title, "Alpha now");
    QTest::keyClick(&grid, Qt::Key_Return);
    ASSERT_EQ(play.count(), 1);
    EXPECT_EQ(play.at(0).at(0).toString(), "News");
    EXPECT_EQ(play.at(0).at(1).toString(), "Alpha");

    // Down keeps to the time: Beta's programme on now; Right and Left step programme by programme.
    QTest::keyClick(&grid, Qt::Key_Down);
    EXPECT_EQ(grid.Selected().row, 1);
    EXPECT_EQ(grid.Selected().cell.title, "Beta now");
    QTest::keyClick(&grid, Qt::Key_Up);
    QTest::keyClick(&grid, Qt::Key_Right);
    EXPECT_EQ(grid.Selected().cell.title, "Alpha later");
    QTest::keyClick(&grid, Qt::Key_Left);
    QTest::keyClick(&grid, Qt::Key_Left);
    EXPECT_EQ(grid.Selected().cell.title, "Alpha past");

    // A past programme goes to the archive, not live.
    QTest::keyClick(&grid, Qt::Key_Enter);
    EXPECT_EQ(play.count(), 1);
    ASSERT_EQ(archive.count(), 1);
    EXPECT_EQ(archive.at(0).at(1).toLongLong(), f.now - 2 * kHour);

    // Ctrl+R asks for a programme to come to be recorded; a past one is not.
    QSignalSpy record(&window, &GuideWindow::recordRequested);
    QTest::keyClick(&grid, Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(record.count(), 0);
    grid.Select(0, f.now + kHour + 60);
    QTest::keyClick(&grid, Qt::Key_R, Qt::ControlModifier);
    ASSERT_EQ(record.count(), 1);
    EXPECT_EQ(record.at(0).at(3).toString(), "Alpha later");

    // A double click on Beta's programme on now plays Beta. Brought into sight first: the step
    // to Alpha's later programme may have scrolled now out of it, as the hour of the run decides.
    grid.Select(1, f.now);
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, grid.PointOf(1, f.now));
    ASSERT_EQ(play.count(), 2);
    EXPECT_EQ(play.at(1).at(1).toString(), "Beta");

    // Shift+wheel scrolls time, half an hour a notch; a drag to the left pans later.
    const std::int64_t shown = grid.ViewStart();
    const QPointF at = grid.PointOf(0, f.now);
    QWheelEvent wheel(at, grid.viewport()->mapToGlobal(at), {}, {0, -120}, Qt::NoButton, Qt::ShiftModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(grid.viewport(), &wheel);
    EXPECT_EQ(grid.ViewStart(), shown + 1800);
    const QPoint from = grid.PointOf(0, f.now + 1800);
    QTest::mousePress(grid.viewport(), Qt::LeftButton, {}, from);
    QMouseEvent drag(QEvent::MouseMove, from - QPoint(GuideGridView::kHalfHourWidth, 0),
                     grid.viewport()->mapToGlobal(from - QPoint(GuideGridView::kHalfHourWidth, 0)), Qt::NoButton,
                     Qt::LeftButton, {});
    QApplication::sendEvent(grid.viewport(), &drag);
    QTest::mouseRelease(grid.viewport(), Qt::LeftButton, {}, from - QPoint(GuideGridView::kHalfHourWidth, 0));
    EXPECT_EQ(grid.ViewStart(), shown + 3600);

    // Gamma has no guide: its row shows a half hour, and Enter on now still plays it live.
    grid.Select(2, f.now);
    EXPECT_FALSE(grid.Selected().programme);
    QTest::keyClick(&grid, Qt::Key_Return);
    ASSERT_EQ(play.count(), 3);
    EXPECT_EQ(play.at(2).at(1).toString(), "Gamma");
}

TEST(GuideWindow, RowsFollowTheCategoryChooserAndKeepTheirPlace)
{
    GridFixture f;
    {
        GuideWindow window(f.catalogue);
        window.Choose(GridChannels::kFavourites + 2); // Films
        EXPECT_EQ(window.Channels().Count(), 1);
        EXPECT_EQ(window.Channels().At(0).name, "Gamma");
        window.setGeometry(40, 50, 900, 600);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        window.close();
    }
    GuideWindow again(f.catalogue);
    EXPECT_EQ(again.size(), QSize(900, 600));
}

TEST(GuideWindow, MarksAndWatchesOnlyWhatTheArchiveHolds)
{
    GridFixture f;
    GuideWindow window(f.catalogue);
    GuideGridView& grid = window.View();
    grid.SetClock([&] { return f.now; });
    int asked = 0;
    window.SetArchiveDays([&](const QString& channel) {
        ++asked;
        return channel == "Alpha" ? 1 : 0;
    });
    window.resize(1280, 800);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QSignalSpy archive(&window, &GuideWindow::archiveRequested);

    // Whether the sign's colour shows in the part of a row's programme in sight.
    const auto marked = [&](int row, std::int64_t start, std::int64_t stop) {
        const QImage shot = grid.viewport()->grab().toImage();
        const int top = grid.PointOf(row, start).y() - GuideGridView::kRowHeight / 2;
        const int left = std::max(grid.PointOf(row, start).x(), GuideGridView::kChannelWidth);
        const int right = std::min(grid.PointOf(row, stop).x(), shot.width());
        const QColor sign = QColor::fromRgb(GuideGridView::kArchiveColour);
        for (int y = top; y < top + GuideGridView::kRowHeight; ++y)
            for (int x = left; x < right; ++x) {
                const QColor c = shot.pixelColor(x, y);
                if (std::abs(c.red() - sign.red()) + std::abs(c.green() - sign.green()) +
                        std::abs(c.blue() - sign.blue()) <
                    60)
                    return true;
            }
        return false;
    };
    grid.ShowTime(f.now - 2 * kHour - 15 * 60);
    EXPECT_TRUE(marked(0, f.now - 2 * kHour, f.now - kHour));
    EXPECT_TRUE(marked(0, f.now - kHour, f.now + kHour));      // on now: from its start
    EXPECT_FALSE(marked(1, f.now - 30 * 60, f.now + 30 * 60)); // Beta keeps no archive
    grid.ShowTime(f.now);
    EXPECT_FALSE(marked(0, f.now + kHour, f.now + 2 * kHour));
    // Painting again asks no channel twice.
    const int once = asked;
    grid.viewport()->repaint();
    EXPECT_EQ(asked, once);

    // Watch plays a past programme from the archive; without one it is not offered.
    auto* watch = window.findChild<ProgrammeDetails*>()->WatchButton();
    grid.Select(0, f.now - 2 * kHour + 60);
    ASSERT_TRUE(watch->isEnabled());
    watch->click();
    ASSERT_EQ(archive.count(), 1);
    EXPECT_EQ(archive.at(0).at(1).toLongLong(), f.now - 2 * kHour);
    window.SetArchiveDays([](const QString&) { return 0; });
    EXPECT_FALSE(watch->isEnabled());
    grid.ShowTime(f.now - 2 * kHour - 15 * 60);
    EXPECT_FALSE(marked(0, f.now - 2 * kHour, f.now - kHour));
}
