// Logos fetched from a server on 127.0.0.1, kept in a scratch folder, under a clock of the test's.
#include "logos/logocache.h"
#include "logos/logodisk.h"
#include "logoserver.h"
#include "scratchdir.h"

#include <QBuffer>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>

#include <atomic>
#include <gtest/gtest.h>

using namespace quorvel;

namespace {

QByteArray Png(int width, int height, QColor colour, bool noise = false)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(colour);
    if (noise) {
        QRandomGenerator random(static_cast<quint32>(width * 31 + height));
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                image.setPixel(x, y, random.generate() | 0xff000000u);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

LogoServer::Answer Body(const QByteArray& body, int delayMs = 0)
{
    LogoServer::Answer a;
    a.body = body;
    a.delayMs = delayMs;
    return a;
}

LogoServer::Answer OfKind(LogoServer::Kind kind)
{
    LogoServer::Answer a;
    a.kind = kind;
    return a;
}

// A clock the test moves on by hand.
struct TestClock {
    // Far past the real time, so that no time the file system sets on its own is later.
    std::atomic<qint64> now{4'000'000'000'000};
    std::function<qint64()> Function()
    {
        return [this] { return now.load(); };
    }
    void Advance(qint64 ms) { now += ms; }
};

LogoSettings Settings(const ScratchDir& dir, TestClock* clock = nullptr)
{
    LogoSettings s;
    s.folder = QString::fromStdString(dir.Path()) + QStringLiteral("/logos");
    if (clock)
        s.clock = clock->Function();
    return s;
}

bool WaitForReady(QSignalSpy& spy, const QString& address, int ms = 5000)
{
    return QTest::qWaitFor(
        [&] {
            for (const QList<QVariant>& args : spy)
                if (args.value(0).toString() == address)
                    return true;
            return false;
        },
        ms);
}

QStringList LogoFiles(const LogoSettings& s) { return QDir(s.folder).entryList(QDir::Files | QDir::Hidden); }

} // namespace

TEST(LogoCache, FetchesKeepsAndScalesALogoWithTheChannelsHeaders)
{
    ScratchDir dir;
    LogoServer server;
    server.Serve("/a.png", Body(Png(64, 32, Qt::red)));
    const QString address = server.Url("/a.png");
    const RequestOptions options{"TestAgent/1.0", "http://referrer.test/page", "http://origin.test"};
    const LogoSettings settings = Settings(dir);
    {
        LogoCache cache(settings);
        QSignalSpy ready(&cache, &LogoCache::logoReady);
        EXPECT_TRUE(cache.Logo(address, 16, options).isNull()); // never waits
        ASSERT_TRUE(WaitForReady(ready, address));
        const QImage icon = cache.Logo(address, 16);
        EXPECT_EQ(icon.size(), QSize(16, 8));
        EXPECT_EQ(QColor(icon.pixel(8, 4)), QColor(Qt::red));

        // Another size comes from disk, not from the server again.
        ready.clear();
        EXPECT_TRUE(cache.Logo(address, 128).isNull());
        ASSERT_TRUE(WaitForReady(ready, address));
        EXPECT_EQ(cache.Logo(address, 128).size(), QSize(128, 64));

        const QString file = cache.CachedFile(address);
        ASSERT_FALSE(file.isEmpty());
        EXPECT_TRUE(file.startsWith(settings.folder));
        EXPECT_EQ(QImage(file).size(), QSize(64, 32));
    }
    ASSERT_EQ(server.Count("/a.png"), 1);
    const LogoServer::Request request = server.Requests().value(0);
    EXPECT_EQ(request.headers.value("user-agent"), "TestAgent/1.0");
    EXPECT_EQ(request.headers.value("referer"), "http://referrer.test/page");
    EXPECT_EQ(request.headers.value("origin"), "http://origin.test");

    // The next run finds it on disk.
    LogoCache again(settings);
    QSignalSpy ready(&again, &LogoCache::logoReady);
    EXPECT_TRUE(again.Logo(address, 16).isNull());
    ASSERT_TRUE(WaitForReady(ready, address));
    EXPECT_EQ(again.Logo(address, 16).size(), QSize(16, 8));
    EXPECT_EQ(server.Count("/a.png"), 1);
    EXPECT_EQ(LogoFiles(settings).size(), 1);
}

TEST(LogoCache, SkipsBadLogosWithoutHoldingUpGoodOnes)
{
    ScratchDir dir;
    LogoServer server;
    LogoSettings settings = Settings(dir);
    settings.timeoutMs = 4000;
    settings.limits.bytes = 64 * 1024;
    settings.limits.pixels = 100 * 100;
    QStringList bad;
    for (const char* path : {"/silent1", "/silent2", "/silent3"}) {
        server.Serve(path, OfKind(LogoServer::Kind::Silent));
        bad << server.Url(path);
    }
    server.Serve("/endless", OfKind(LogoServer::Kind::Endless));
    server.Serve("/page", Body("<html><body>no logo here</body></html>"));
    LogoServer::Answer announced = Body(Png(8, 8, Qt::blue));
    announced.announcedLength = 10 << 20;
    server.Serve("/announced", announced);
    server.Serve("/huge", Body(Png(200, 100, Qt::green))); // more pixels than allowed
    server.Serve("/text.png", Body(QByteArray(2000, 'z')));
    for (const char* path : {"/endless", "/page", "/announced", "/huge", "/text.png", "/missing"})
        bad << server.Url(path);
    QStringList good;
    for (int i = 0; i < 6; ++i) {
        const QString path = QStringLiteral("/good%1.png").arg(i);
        server.Serve(path, Body(Png(40, 40, Qt::yellow)));
        good << server.Url(path);
    }

    LogoCache cache(settings);
    QSignalSpy ready(&cache, &LogoCache::logoReady);
    QSignalSpy failed(&cache, &LogoCache::logoFailed);
    // The bad ones are asked for last, so they go first: the silent ones hold three of the four
    // fetches until their time is up, and every other logo goes through the fourth.
    for (const QString& a : good + bad)
        cache.Logo(a, 16);
    QElapsedTimer clock;
    clock.start();
    // All but the silent ones are done while those are still waited for.
    ASSERT_TRUE(QTest::qWaitFor([&] { return ready.size() == good.size() && failed.size() == bad.size() - 3; }, 10000));
    EXPECT_LT(clock.elapsed(), settings.timeoutMs) << "the good logos waited for the silent servers";

    ASSERT_TRUE(QTest::qWaitFor([&] { return failed.size() == bad.size(); }, 10000));
    for (const QString& a : good)
        EXPECT_FALSE(cache.Logo(a, 16).isNull());
    for (const QString& a : bad)
        EXPECT_TRUE(cache.Logo(a, 16).isNull()) << a.toStdString();
    EXPECT_EQ(LogoFiles(settings).size(), good.size());
    // The endless body was broken off soon after the bound, not read to its end.
    EXPECT_LT(server.BytesSent("/endless"), 4 << 20);
}

TEST(LogoCache, FetchesAtMostFourAtOnceNewestFirst)
{
    ScratchDir dir;
    LogoServer server;
    server.ServeOthers(Body(Png(20, 20, Qt::cyan), 150));
    LogoCache cache(Settings(dir));
    QSignalSpy ready(&cache, &LogoCache::logoReady);
    for (int i = 1; i <= 12; ++i)
        cache.Logo(server.Url(QStringLiteral("/%1").arg(i)), 16);
    // Scrolled past: 5 is no longer wanted; 6 is on screen again.
    cache.Cancel(server.Url("/5"));
    cache.Prioritise(server.Url("/6"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return ready.size() == 11; }, 10000));
    EXPECT_EQ(server.PeakServing(), 4);
    EXPECT_EQ(server.Count("/5"), 0);

    // One at a time, the order shows: while the first runs, the others wait, and then the
    // prioritised one goes first and the rest newest first.
    ScratchDir dir2;
    LogoSettings one = Settings(dir2);
    one.concurrentFetches = 1;
    LogoServer serial;
    serial.ServeOthers(Body(Png(20, 20, Qt::cyan), 300));
    LogoCache cache2(one);
    QSignalSpy ready2(&cache2, &LogoCache::logoReady);
    cache2.Logo(serial.Url("/a"), 16);
    ASSERT_TRUE(QTest::qWaitFor([&] { return serial.Count("/a") == 1; }, 5000));
    for (const char* path : {"/b", "/c", "/d"})
        cache2.Logo(serial.Url(path), 16);
    cache2.Prioritise(serial.Url("/b"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return ready2.size() == 4; }, 10000));
    QStringList order;
    for (const LogoServer::Request& r : serial.Requests())
        order << r.path;
    EXPECT_EQ(order, (QStringList{"/a", "/b", "/d", "/c"}));
}

TEST(LogoCache, RemembersFailuresForAnHourAndRefreshesDaily)
{
    ScratchDir dir;
    LogoServer server;
    TestClock clock;
    const LogoSettings settings = Settings(dir, &clock);
    QStringList logged;
    QLoggingCategory::setFilterRules(QStringLiteral("quorvel.logos.debug=true"));
    static QStringList* sink = nullptr;
    sink = &logged;
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& text) { sink->append(text); });

    // The address carries credentials in both places they can hide.
    const QString missing = server.Url("/missing?token=hunter2").replace("127.0.0.1", "viewer:s3cret@127.0.0.1");
    {
        LogoCache cache(settings);
        QSignalSpy failed(&cache, &LogoCache::logoFailed);
        cache.Logo(missing, 16);
        ASSERT_TRUE(QTest::qWaitFor([&] { return failed.size() == 1; }, 5000));
        clock.Advance(59 * 60 * 1000);
        cache.Logo(missing, 16);
        QTest::qWait(200);
        EXPECT_EQ(server.Requests().size(), 1) << "tried again within the hour";
        clock.Advance(2 * 60 * 1000);
        cache.Logo(missing, 16);
        ASSERT_TRUE(QTest::qWaitFor([&] { return failed.size() == 2; }, 5000));
        EXPECT_EQ(server.Requests().size(), 2);
    }
    qInstallMessageHandler(previous);
    QLoggingCategory::setFilterRules(QString());
    ASSERT_FALSE(logged.isEmpty());
    for (const QString& line : logged) {
        EXPECT_FALSE(line.contains("s3cret") || line.contains("viewer") || line.contains("hunter2"))
            << line.toStdString();
    }

    // A logo a day old is shown at once and fetched again behind it.
    server.Serve("/daily.png", Body(Png(30, 30, Qt::red)));
    const QString daily = server.Url("/daily.png");
    {
        LogoCache cache(settings);
        QSignalSpy ready(&cache, &LogoCache::logoReady);
        cache.Logo(daily, 16);
        ASSERT_TRUE(WaitForReady(ready, daily));
    }
    clock.Advance(23 * 3600 * 1000LL);
    {
        LogoCache cache(settings);
        QSignalSpy ready(&cache, &LogoCache::logoReady);
        cache.Logo(daily, 16);
        ASSERT_TRUE(WaitForReady(ready, daily));
        QTest::qWait(200);
        EXPECT_EQ(server.Count("/daily.png"), 1) << "fetched again before a day was out";
    }
    server.Serve("/daily.png", Body(Png(30, 30, Qt::blue)));
    clock.Advance(2 * 3600 * 1000LL);
    LogoCache cache(settings);
    QSignalSpy ready(&cache, &LogoCache::logoReady);
    cache.Logo(daily, 16);
    ASSERT_TRUE(WaitForReady(ready, daily));
    EXPECT_EQ(QColor(cache.Logo(daily, 16).pixel(8, 8)), QColor(Qt::red)); // the old one, at once
    ASSERT_TRUE(QTest::qWaitFor([&] { return ready.size() == 2; }, 5000));
    EXPECT_EQ(server.Count("/daily.png"), 2);
    EXPECT_EQ(QColor(cache.Logo(daily, 16).pixel(8, 8)), QColor(Qt::blue));
}

TEST(LogoCache, KeepsTheDiskCacheWithinItsBound)
{
    ScratchDir dir;
    LogoServer server;
    TestClock clock;
    LogoSettings settings = Settings(dir, &clock);
    QStringList addresses;
    for (int i = 0; i < 5; ++i) {
        const QString path = QStringLiteral("/n%1.png").arg(i);
        server.Serve(path, Body(Png(48, 48 + i, Qt::black, true)));
        addresses << server.Url(path);
    }
    const auto fetch = [&](LogoCache& cache, const QString& address) {
        QSignalSpy ready(&cache, &LogoCache::logoReady);
        cache.Logo(address, 16);
        clock.Advance(1000);
        return WaitForReady(ready, address);
    };
    const auto kept = [&](const QString& address) {
        return QFileInfo::exists(settings.folder + "/" + LogoDisk::FileName(address));
    };
    {
        LogoCache cache(settings);
        ASSERT_TRUE(fetch(cache, addresses[0]));
        settings.diskBytes = QFileInfo(settings.folder + "/" + LogoDisk::FileName(addresses[0])).size() * 7 / 2;
    }
    LogoCache cache(settings);
    for (int i = 1; i < 3; ++i)
        ASSERT_TRUE(fetch(cache, addresses[i]));
    // Three fit, four do not. Read from disk again, the first is now the most recently used.
    LogoCache reader(settings);
    ASSERT_TRUE(fetch(reader, addresses[0]));
    for (int i = 3; i < 5; ++i)
        ASSERT_TRUE(fetch(reader, addresses[i]));

    qint64 total = 0;
    for (const QFileInfo& f : QDir(settings.folder).entryInfoList(QDir::Files | QDir::Hidden))
        total += f.size();
    EXPECT_LE(total, settings.diskBytes);
    EXPECT_TRUE(kept(addresses[0]));
    EXPECT_FALSE(kept(addresses[1]));
    EXPECT_TRUE(kept(addresses[4]));
}
