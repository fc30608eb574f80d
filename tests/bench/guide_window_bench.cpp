// A guide of 20,000 channels × 24 hours (about 480,000 programmes) read from the window, as the
// program does after a playlist read: how long the window's event loop stood still at most
// while the guide was read and stored beside it, with now and next asked every 100 ms as the
// card and the tooltips do, and how long the whole read took. Reports, does not judge:
//   tests/harness/with-xvfb build/bench/bench_guide_window [runs]
#include "app/guidemanager.h"
#include "catalogue/channelcatalogue.h"
#include "loopstall.h"
#include "scratchdir.h"
#include "userdata/viewerdatabase.h"

#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QProcess>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <vector>

using namespace quorvel;

namespace {

constexpr int kChannels = 20000;
constexpr int kHours = 24;

std::string GuideTime(std::int64_t t)
{
    return QDateTime::fromSecsSinceEpoch(t, Qt::UTC).toString(QStringLiteral("yyyyMMddHHmmss")).toStdString() +
           " +0000";
}

void WriteFiles(const std::string& playlist, const std::string& guide)
{
    std::ofstream m3u(playlist);
    m3u << "#EXTM3U x-tvg-url=\"" << guide << "\"\n";
    for (int c = 0; c < kChannels; ++c)
        m3u << "#EXTINF:-1 tvg-id=\"ch" << c << ".tv\" group-title=\"Group " << c % 100 << "\",Channel " << c
            << "\nhttp://127.0.0.1:1/live/" << c << "/index.m3u8\n";
    std::ofstream xml(guide);
    xml << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<tv>\n";
    for (int c = 0; c < kChannels; ++c)
        xml << "<channel id=\"ch" << c << ".tv\"><display-name>Channel " << c << "</display-name></channel>\n";
    const std::int64_t first = QDateTime::currentSecsSinceEpoch() / 3600 * 3600 - 6 * 3600;
    for (int c = 0; c < kChannels; ++c)
        for (int h = 0; h < kHours; ++h) {
            const std::int64_t start = first + h * 3600;
            xml << "<programme start=\"" << GuideTime(start) << "\" stop=\"" << GuideTime(start + 3600)
                << "\" channel=\"ch" << c << ".tv\"><title>Programme " << h << " of channel " << c
                << "</title><desc>A programme of about a line of description, as guides usually give "
                   "them.</desc><category>News</category></programme>\n";
        }
    xml << "</tv>\n";
}

struct Run {
    double readMs = 0;
    double longestStallMs = 0;
    double longestLookupMs = 0;
};

Run ReadFromWindow(const std::string& catalogue)
{
    GuideManager manager(catalogue, [](const QString& why) { std::fprintf(stderr, "told: %s\n", qPrintable(why)); });
    LoopStall stall;
    stall.reportLong = std::getenv("QUORVEL_BENCH_STALLS") != nullptr;
    QElapsedTimer clock;
    Run run;
    QTimer ask;
    ask.setInterval(100);
    int asked = 0;
    QObject::connect(&ask, &QTimer::timeout, [&] {
        QElapsedTimer lookup;
        lookup.start();
        manager.Now(QStringLiteral("Channel %1").arg((asked++ * 7919) % kChannels));
        run.longestLookupMs = std::max(run.longestLookupMs, static_cast<double>(lookup.nsecsElapsed()) / 1e6);
    });
    clock.start();
    stall.Start();
    ask.start();
    manager.ReadGuides();
    while (manager.IsReading())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    run.readMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    run.longestStallMs = stall.LongestMs();
    const auto programme = manager.Now(QStringLiteral("Channel 12345"));
    if (!programme.now)
        std::fprintf(stderr, "the guide was not stored\n");
    return run;
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    ScratchDir dir;
    const std::string playlist = dir.File("tv.m3u");
    WriteFiles(playlist, dir.File("guide.xml"));
    const std::string catalogue = dir.File("VisibleAPI.dat");
    ChannelCatalogue(catalogue).WriteDefaults();
    QProcess import;
    import.start(QApplication::applicationDirPath() + QStringLiteral("/../bin/quorvel-import"),
                 {QString::fromStdString(playlist), QStringLiteral("--catalogue"), QString::fromStdString(catalogue)});
    import.waitForFinished(300000);
    if (import.exitCode() != 0) {
        std::fprintf(stderr, "quorvel-import failed: %s\n", import.readAllStandardError().constData());
        return 1;
    }
    // The program opens the viewer's database at start, before any guide is read.
    ViewerDatabase startup(ViewerDatabase::FileBeside(catalogue));
    std::vector<double> reads, stalls, lookups, idle;
    for (int r = 0; r < runs; ++r) {
        idle.push_back(IdleStallMs(3000));
        const Run run = ReadFromWindow(catalogue);
        reads.push_back(run.readMs);
        stalls.push_back(run.longestStallMs);
        lookups.push_back(run.longestLookupMs);
        std::printf("run %d: guide read and stored in %.0f ms; longest event-loop stall %.1f ms (idle %.1f ms); "
                    "slowest now and next meanwhile %.2f ms\n",
                    r + 1, run.readMs, run.longestStallMs, idle.back(), run.longestLookupMs);
    }
    std::printf("median of %d: read %.0f ms, longest stall %.1f ms (worst %.1f ms; idle loop %.1f ms), slowest "
                "lookup %.2f ms\n",
                runs, Median(reads), Median(stalls), *std::max_element(stalls.begin(), stalls.end()), Median(idle),
                Median(lookups));
    return 0;
}
