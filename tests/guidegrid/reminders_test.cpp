// Reminders kept across starts of the program and told once, a minute ahead.
#include "guidegrid/guidegridview.h"
#include "guidegrid/guidewindow.h"
#include "guidegrid/reminders.h"
#include "scratchdir.h"
#include "userdata/guidestorewriter.h"

#include <QDateTime>
#include <QTest>
#include <QThreadPool>

#include <gtest/gtest.h>

using namespace quorvel;

TEST(Reminders, KeptAcrossStartsAndToldOnceAMinuteAhead)
{
    ScratchDir dir;
    const std::string catalogue = dir.File("VisibleAPI.dat");
    std::int64_t now = 1'800'000'000;
    std::vector<std::string> told;
    auto make = [&] {
        auto r = std::make_unique<Reminders>(catalogue);
        r->SetClock([&] { return now; });
        r->SetNotify([&](const Reminder& what) { told.push_back(what.title); });
        r->Start();
        return r;
    };
    {
        auto reminders = make();
        EXPECT_TRUE(reminders->Toggle({"Alpha", "News", now + 600, "Later"}));
        EXPECT_TRUE(reminders->Toggle({"Beta", "News", now + 30, "Soon"})); // inside the minute: told at once
        EXPECT_FALSE(reminders->Toggle({"Beta", "News", now - 5, "Started"}));
        EXPECT_TRUE(reminders->Toggle({"Gamma", "News", now + 900, "Dropped"}));
        EXPECT_FALSE(reminders->Toggle({"Gamma", "News", now + 900, "Dropped"}));
        EXPECT_EQ(told, (std::vector<std::string>{"Soon"}));
    }
    // Another start of the program: the reminders are still there, and the one now due is told;
    // Soon has started meanwhile and is not.
    now += 545; // Later is 55 s away
    told.clear();
    auto reminders = make();
    EXPECT_TRUE(reminders->Has("ALPHA", now + 55));
    EXPECT_FALSE(reminders->Has("Gamma", now + 355));
    EXPECT_EQ(told, (std::vector<std::string>{"Later"}));
    reminders.reset();

    // An hour after a programme started, its reminder is gone.
    now += 3700;
    EXPECT_FALSE(make()->Has("Alpha", 1'800'000'600));
}

TEST(Reminders, EnterOnAProgrammeToComeMarksItInTheGrid)
{
    ScratchDir dir;
    const std::string catalogue = dir.File("VisibleAPI.dat");
    ScratchDir::Spit(catalogue, "[Layer1]\nNews=\n\n[Layer2]\nAlpha=News\n\n[Programs]\n");
    const std::int64_t now = QDateTime::currentSecsSinceEpoch();
    {
        GuideStoreWriter writer(dir.File("viewer.db"), {"Alpha"}, "guide.xml", now);
        Programme later;
        later.start = now + 3600;
        later.stop = now + 7200;
        later.title = "Later";
        std::vector<Programme> alpha = {later};
        writer.Take(0, alpha);
        writer.Finish(GuideOutcome{});
    }
    Reminders reminders(catalogue);
    reminders.SetClock([&] { return now; });
    reminders.Start();
    GuideWindow window(catalogue);
    window.SetReminders(&reminders);
    window.View().SetClock([&] { return now; });
    window.View().Select(0, now + 4000);
    ASSERT_TRUE(window.View().Selected().programme);
    window.Activate();
    EXPECT_TRUE(reminders.Has("Alpha", now + 3600));
    window.Activate();
    EXPECT_FALSE(reminders.Has("Alpha", now + 3600));
    QThreadPool::globalInstance()->waitForDone();
}
