#include "guide/guideloader.h"
#include "guidetext.h"
#include "scratchdir.h"
#include "testhttpserver.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QThread>
#include <QUrl>

#include <gtest/gtest.h>
#include <memory>

using namespace quorvel;
using namespace quorvel::test;

namespace {

// Remembers what it was given and on which thread.
struct RecordingSink : GuideSink {
    ProgrammeList list;
    QThread* thread = nullptr;
    void Take(std::size_t channel, std::span<Programme> programmes) override
    {
        thread = QThread::currentThread();
        list.Take(channel, programmes);
    }
};

GuideJob Job(const QString& location, const std::shared_ptr<RecordingSink>& sink)
{
    GuideJob job;
    job.location = location;
    job.wanted = {WantedChannel{"C", "c", "", std::nullopt}};
    job.options.now = kNow;
    job.sink = sink;
    job.timeoutMs = 5000;
    return job;
}

std::string Guide(int programmes)
{
    std::string body = ChannelXml("c", {"C"});
    for (int i = 0; i < programmes; ++i)
        body += ProgrammeXml("c", i * 30, i * 30 + 30, "P" + std::to_string(i));
    return Tv(body);
}

} // namespace

TEST(GuideLoader, ReadsAServedGuideOnItsWorkerThread)
{
    TestHttpServer server;
    const std::string packed = Gzip(Guide(2000));
    server.Serve("/epg.xml", {200, QByteArray(packed.data(), static_cast<qsizetype>(packed.size())), {}, false});
    server.Serve("/moved", {302, {}, server.Url("/epg.xml").toUtf8(), false});
    GuideLoader loader;
    QSignalSpy finished(&loader, &GuideLoader::Finished);
    auto viaRedirect = std::make_shared<RecordingSink>();
    auto missing = std::make_shared<RecordingSink>();
    loader.Load(Job(server.Url("/moved"), viaRedirect));
    loader.Load(Job(server.Url("/none.xml"), missing)); // runs after the first
    while (finished.size() < 2)
        ASSERT_TRUE(finished.wait(10000));

    const GuideOutcome first = finished[0][1].value<GuideOutcome>();
    EXPECT_EQ(finished[0][0].toString(), server.Url("/moved"));
    EXPECT_TRUE(first.complete) << first.problem;
    EXPECT_EQ(viaRedirect->list.Of(0).size(), 2000u);
    EXPECT_NE(viaRedirect->thread, QThread::currentThread());

    const GuideOutcome second = finished[1][1].value<GuideOutcome>();
    EXPECT_FALSE(second.complete);
    EXPECT_NE(second.problem.find("404"), std::string::npos) << second.problem;
    EXPECT_EQ(missing->list.Size(), 0u);
    EXPECT_FALSE(loader.IsLoading());
}

TEST(GuideLoader, ReadsFilesAndSaysWhyOneFails)
{
    ScratchDir dir;
    ScratchDir::Spit(dir.File("guide"), Guide(10));
    GuideLoader loader;
    QSignalSpy finished(&loader, &GuideLoader::Finished);
    auto sink = std::make_shared<RecordingSink>();
    loader.Load(Job(QUrl::fromLocalFile(QString::fromStdString(dir.File("guide"))).toString(), sink));
    loader.Load(Job(QStringLiteral("ftp://127.0.0.1/guide.xml"), std::make_shared<RecordingSink>()));
    while (finished.size() < 2)
        ASSERT_TRUE(finished.wait(10000));
    EXPECT_TRUE(finished[0][1].value<GuideOutcome>().complete);
    EXPECT_EQ(sink->list.Of(0).size(), 10u);
    EXPECT_NE(finished[1][1].value<GuideOutcome>().problem.find("only files and http"), std::string::npos);
}

TEST(GuideLoader, ASilentServerTimesOutAndGoingAwayDoesNotWait)
{
    TestHttpServer server;
    server.Serve("/silent", {200, {}, {}, true});
    {
        GuideLoader loader;
        QSignalSpy finished(&loader, &GuideLoader::Finished);
        GuideJob job = Job(server.Url("/silent"), std::make_shared<RecordingSink>());
        job.timeoutMs = 300;
        loader.Load(job);
        ASSERT_TRUE(finished.wait(10000));
        EXPECT_NE(finished[0][1].value<GuideOutcome>().problem.find("no answer"), std::string::npos);
    }
    QElapsedTimer clock;
    clock.start();
    {
        GuideLoader loader;
        loader.Load(Job(server.Url("/silent"), std::make_shared<RecordingSink>()));
        QCoreApplication::processEvents();
        QThread::msleep(100);
    }
    EXPECT_LT(clock.elapsed(), 3000);
}
