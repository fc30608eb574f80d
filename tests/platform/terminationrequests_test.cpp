#include "base/exception.h"
#include "platform/terminationrequests.h"

#include <QSignalSpy>

#include <csignal>
#include <gtest/gtest.h>

using quorvel::TerminationRequests;

TEST(TerminationRequests, SignalsArriveInTheEventLoopAndDefaultsComeBack)
{
    {
        TerminationRequests watcher;
        EXPECT_THROW(TerminationRequests second, quorvel::Exception);
        QSignalSpy spy(&watcher, &TerminationRequests::requested);
        ASSERT_EQ(std::raise(SIGTERM), 0);
        ASSERT_EQ(std::raise(SIGINT), 0);
        for (int i = 0; i < 50 && spy.count() < 2; ++i)
            spy.wait(100);
        ASSERT_EQ(spy.count(), 2);
        EXPECT_EQ(spy.at(0).at(0).toInt(), SIGTERM);
        EXPECT_EQ(spy.at(1).at(0).toInt(), SIGINT);
    }
    // Once the watcher is gone the signals have their usual meaning again, and a new watcher
    // may start.
    struct sigaction current { };
    ASSERT_EQ(::sigaction(SIGTERM, nullptr, &current), 0);
    EXPECT_EQ(current.sa_handler, SIG_DFL);
    TerminationRequests again;
    QSignalSpy spy(&again, &TerminationRequests::requested);
    ASSERT_EQ(std::raise(SIGHUP), 0);
    ASSERT_TRUE(spy.wait(5000));
    EXPECT_EQ(spy.at(0).at(0).toInt(), SIGHUP);
}
