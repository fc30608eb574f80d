// The stall watch over a stream whose progress the test makes up.
#include "playback/stallwatch.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using quorvel::StallWatch;

namespace {

class StallWatchTest : public ::testing::Test {
protected:
    // What the stream does between two looks of the watch.
    enum class Doing { Nothing, Pictures, Sound, Buffering };
    Doing doing = Doing::Nothing;
    StallWatch::Progress now;
    StallWatch::Progress Probe()
    {
        switch (doing) {
        case Doing::Pictures:
            now.frames += 25;
            break;
        case Doing::Sound:
            now.position += 1;
            break;
        case Doing::Buffering:
            now.bufferPercent += 1;
            break;
        case Doing::Nothing:
            break;
        }
        return now;
    }
    StallWatch watch{[this] { return Probe(); }, 40};
    QSignalSpy stalled{&watch, &StallWatch::stalled};
    QSignalSpy advanced{&watch, &StallWatch::advanced};
};

} // namespace

TEST_F(StallWatchTest, NothingForAWholeIntervalIsAStallAndTheWatchStops)
{
    watch.Start();
    ASSERT_TRUE(stalled.wait(5000));
    EXPECT_FALSE(watch.IsWatching());
    QTest::qWait(200);
    EXPECT_EQ(stalled.count(), 1);
    EXPECT_EQ(advanced.count(), 0);
}

TEST_F(StallWatchTest, PicturesTimeOrDataKeepItGoing)
{
    // Pictures, then time alone (sound), then only the buffer filling: each keeps the stream alive.
    doing = Doing::Pictures;
    watch.Start();
    QTest::qWait(300);
    doing = Doing::Sound;
    QTest::qWait(300);
    const int forward = advanced.count();
    EXPECT_GE(forward, 4);
    doing = Doing::Buffering;
    QTest::qWait(300);
    EXPECT_EQ(stalled.count(), 0);
    // A buffer that fills is data coming, not the stream going forward.
    EXPECT_EQ(advanced.count(), forward);
    doing = Doing::Nothing;
    EXPECT_TRUE(stalled.wait(5000));
}

TEST_F(StallWatchTest, APausedStreamAndAStoppedWatchNeverStall)
{
    watch.SetPaused(true);
    watch.Start();
    QTest::qWait(300);
    EXPECT_EQ(stalled.count(), 0);
    EXPECT_TRUE(watch.IsWatching());
    watch.SetPaused(false);
    watch.Stop();
    QTest::qWait(300);
    EXPECT_EQ(stalled.count(), 0);
    // A time that goes back (the stream opened again) is no step forward.
    watch.Start();
    now.position = -5;
    QTest::qWait(200);
    EXPECT_EQ(advanced.count(), 0);
}

TEST(StallWatchTiming, AStallIsToldOneLimitAfterTheLastSignOfLifeNotTwo)
{
    // A stream that gives pictures for a moment after the watch starts, then nothing: the stall
    // is told one limit after the last picture, not at the second look after it.
    QElapsedTimer clock;
    clock.start();
    StallWatch::Progress now;
    qint64 lastPicture = 0;
    StallWatch watch(
        [&] {
            if (clock.elapsed() < 60) {
                now.frames += 1;
                lastPicture = clock.elapsed();
            }
            return now;
        },
        400);
    QSignalSpy stalled(&watch, &StallWatch::stalled);
    watch.Start();
    ASSERT_TRUE(stalled.wait(5000));
    const qint64 after = clock.elapsed() - lastPicture;
    EXPECT_GE(after, 400);
    EXPECT_LT(after, 650);
}
