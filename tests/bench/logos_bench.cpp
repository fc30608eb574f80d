// 20,000 channel logos asked for as a tree asks for them, from a server on 127.0.0.1 (its own
// thread): a first run that fetches them all into an empty disk cache, the screen scrolled 50
// rows every 16 ms; a second run that reads them back from disk, all asked for at once; then
// every row painted from memory. Reports the longest stall of the window's event loop in each,
// the most fetches the server saw at once and the cache's size. Reports, does not judge:
//   QT_QPA_PLATFORM=offscreen build/bench/bench_logos [logos]
#include "logos/logocache.h"
#include "logos/logodisk.h"
#include "logoserver.h"
#include "loopstall.h"
#include "scratchdir.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <sys/resource.h>
#include <unistd.h>

using namespace quorvel;

namespace {

constexpr int kRowsPerScreen = 50;
constexpr int kSide = 16;
constexpr qint64 kGiveUpMs = 600'000;

QByteArray Png(int i)
{
    QImage image(96, 64, QImage::Format_ARGB32);
    image.fill(QColor::fromHsv(i * 37 % 360, 200, 220));
    for (int y = 0; y < 64; y += 8)
        for (int x = (y / 8) % 2 * 8; x < 96; x += 16)
            for (int d = 0; d < 8; ++d)
                image.setPixel(x + d, y + d, qRgb(i % 256, 40, 90));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

qint64 FolderBytes(const QString& folder)
{
    qint64 total = 0;
    for (const QFileInfo& f : QDir(folder).entryInfoList(QDir::Files | QDir::Hidden))
        total += f.size();
    return total;
}

// The longest the event loop stood still, and how much of that the window's thread itself worked
// (its processor time): the rest it waited for a processor, which the machine's load decides.
class Stall {
public:
    Stall()
    {
        tick_.setInterval(1);
        tick_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&tick_, &QTimer::timeout, [this] {
            const qint64 now = clock_.nsecsElapsed();
            const qint64 cpu = ThreadCpuNs();
            if (last_ >= 0) {
                if (now - last_ > longest_) {
                    longest_ = now - last_;
                    longestCpu_ = cpu - lastCpu_;
                }
                busiest_ = std::max(busiest_, cpu - lastCpu_);
                if (report && now - last_ > 40'000'000)
                    std::fprintf(stderr, "stall of %.1f ms (%.1f ms of work) ending at %.0f ms\n", (now - last_) / 1e6,
                                 (cpu - lastCpu_) / 1e6, now / 1e6);
            }
            last_ = now;
            lastCpu_ = cpu;
        });
        clock_.start();
        tick_.start();
    }
    double LongestMs() const { return longest_ / 1e6 - 1.0; }
    double WorkInLongestMs() const { return longestCpu_ / 1e6; }
    double BusiestMs() const { return busiest_ / 1e6; }
    bool report = false;

private:
    static qint64 ThreadCpuNs()
    {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return static_cast<qint64>(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
    }
    QElapsedTimer clock_;
    QTimer tick_;
    qint64 last_ = -1;
    qint64 lastCpu_ = 0;
    qint64 longest_ = 0;
    qint64 longestCpu_ = 0;
    qint64 busiest_ = 0;
};

struct Outcome {
    double stallMs = 0;
    double stallWorkMs = 0;
    double busiestMs = 0;
    double askAllMs = 0;
    qint64 elapsedMs = 0;
    int ready = 0;
    int failed = 0;
    int peakRunning = 0;
};

// Asks for every logo, a screen at a time or all at once, and waits until each is ready or failed.
Outcome Ask(LogoCache& cache, const QStringList& addresses, bool scroll)
{
    Outcome out;
    QObject::connect(&cache, &LogoCache::logoReady, [&] { ++out.ready; });
    QObject::connect(&cache, &LogoCache::logoFailed, [&] { ++out.failed; });
    Stall stall;
    stall.report = std::getenv("LOGOS_BENCH_STALLS") != nullptr;
    QElapsedTimer clock;
    clock.start();
    int asked = 0;
    QTimer screen;
    screen.setInterval(16);
    QObject::connect(&screen, &QTimer::timeout, [&] {
        out.peakRunning = std::max(out.peakRunning, cache.RunningFetches());
        const int end = scroll ? std::min<int>(asked + kRowsPerScreen, addresses.size()) : addresses.size();
        QElapsedTimer askClock;
        askClock.start();
        for (; asked < end; ++asked)
            cache.Logo(addresses[asked], kSide);
        if (!scroll && end > 0 && out.askAllMs == 0)
            out.askAllMs = askClock.nsecsElapsed() / 1e6;
    });
    screen.start();
    while (out.ready + out.failed < addresses.size() && clock.elapsed() < kGiveUpMs)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    out.elapsedMs = clock.elapsed();
    out.stallMs = stall.LongestMs();
    out.stallWorkMs = stall.WorkInLongestMs();
    out.busiestMs = stall.BusiestMs();
    return out;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int logos = argc > 1 ? std::atoi(argv[1]) : 20000;

    QThread serverThread;
    serverThread.start();
    QObject anchor;
    anchor.moveToThread(&serverThread);
    std::unique_ptr<LogoServer> server;
    QMetaObject::invokeMethod(
        &anchor,
        [&] {
            // The server stands for machines elsewhere: it gives way to the window's thread here.
            setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 10);
            server = std::make_unique<LogoServer>();
        },
        Qt::BlockingQueuedConnection);
    QStringList addresses;
    for (int i = 0; i < logos; ++i) {
        LogoServer::Answer a;
        a.body = Png(i);
        const QString path = QStringLiteral("/logo/%1.png").arg(i);
        server->Serve(path, a);
        addresses << server->Url(path);
    }

    ScratchDir dir;
    LogoSettings settings;
    settings.folder = QString::fromStdString(dir.Path()) + QStringLiteral("/logos");
    std::printf("idle event loop: longest stall %.1f ms\n", IdleStallMs(500));

    Outcome first;
    {
        LogoCache cache(settings);
        first = Ask(cache, addresses, true);
    }
    std::printf("first run (fetched, %d rows every 16 ms): %d ready, %d failed in %.1f s; longest stall %.1f ms "
                "(%.1f ms of it the window's own work; its longest work between two turns %.1f ms); peak fetches %d "
                "(server saw %d at once)\n",
                kRowsPerScreen, first.ready, first.failed, first.elapsedMs / 1000.0, first.stallMs, first.stallWorkMs,
                first.busiestMs, first.peakRunning, server->PeakServing());
    std::printf("cache folder: %.1f MB in %lld files (bound %.0f MB)\n", FolderBytes(settings.folder) / 1e6,
                static_cast<long long>(QDir(settings.folder).entryList(QDir::Files).size()), settings.diskBytes / 1e6);

    const int requestsBefore = static_cast<int>(server->Requests().size());
    LogoCache cache(settings);
    const Outcome second = Ask(cache, addresses, false);
    std::printf("second run (from disk, all asked at once): %d ready in %.1f s; asking took %.1f ms; longest stall "
                "%.1f ms (%.1f ms of it the window's own work; its longest work between two turns %.1f ms); %d "
                "fetched again\n",
                second.ready, second.elapsedMs / 1000.0, second.askAllMs, second.stallMs, second.stallWorkMs,
                second.busiestMs, static_cast<int>(server->Requests().size()) - requestsBefore);

    QElapsedTimer paint;
    paint.start();
    int misses = 0;
    for (const QString& a : addresses)
        misses += cache.Logo(a, kSide).isNull() ? 1 : 0;
    std::printf("painting every row from memory: %.1f ms for %d rows (%.2f us a row), %d not in memory\n",
                paint.nsecsElapsed() / 1e6, logos, paint.nsecsElapsed() / 1e3 / logos, misses);

    QMetaObject::invokeMethod(
        &anchor, [&] { server.reset(); }, Qt::BlockingQueuedConnection);
    serverThread.quit();
    serverThread.wait();
    return 0;
}
