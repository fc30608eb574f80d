// Adding a playlist of 100,000 channels served on 127.0.0.1 from the window, against the same
// import by quorvel-import: how long the window's event loop stood still at most while the
// playlist was read and merged beside it, and how long until the tree showed the channels.
// Reports, does not judge. Needs a display and python3 (the server):
//   tests/harness/with-xvfb build/bench/bench_playlist_window [runs]
#include "app/channeltreeview.h"
#include "app/playlistmanager.h"
#include "catalogue/channelcatalogue.h"
#include "channelmodel/channelmodel.h"
#include "loopstall.h"
#include "scratchdir.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <sys/stat.h>
#include <vector>

using namespace quorvel;

namespace {

constexpr int kChannels = 100000;
constexpr int kGroups = 200;

void WritePlaylist(const std::string& file)
{
    std::string text = "#EXTM3U x-tvg-url=\"http://127.0.0.1:1/epg.xml.gz\"\n";
    text.reserve(static_cast<std::size_t>(kChannels) * 200);
    for (int i = 0; i < kChannels; ++i) {
        const std::string n = std::to_string(i);
        text += "#EXTINF:-1 tvg-id=\"ch" + n + ".tv\" tvg-chno=\"" + n + "\" group-title=\"Group " +
                std::to_string(i % kGroups) + "\",Channel " + n + " HD\n#EXTVLCOPT:http-user-agent=Mozilla/5.0\n" +
                "http://127.0.0.1:1/live/" + n + "/index.m3u8\n";
    }
    ScratchDir::Spit(file, text);
}

// What one import from the window cost.
struct WindowRun {
    double shownMs = 0; // from the request until the tree had every category
    double longestStallMs = 0;
    double cpuMs = 0; // of the whole program, every thread
};

double CpuMs(int who)
{
    rusage u;
    ::getrusage(who, &u);
    return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
}

WindowRun AddFromWindow(const std::string& catalogue, const QString& url)
{
    ChannelCatalogue(catalogue).WriteDefaults();
    QWidget window;
    window.resize(700, 500);
    auto* tree = new ChannelTreeView(new ChannelModel, &window);
    tree->setGeometry(500, 0, 200, 500);
    PlaylistManager manager(&window, tree, catalogue);
    window.show();
    QApplication::processEvents();

    LoopStall stall;
    QElapsedTimer clock;
    const double cpu = CpuMs(RUSAGE_SELF);
    clock.start();
    stall.Start();
    manager.Add(url);
    const int wanted = 15 + kGroups;
    while (tree->Channels().CategoryCount() < wanted || manager.Pending() > 0)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    WindowRun run;
    run.shownMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    run.cpuMs = CpuMs(RUSAGE_SELF) - cpu;
    // The tree is drawn once with the channels: that too is the window's time.
    tree->repaint();
    run.longestStallMs = stall.LongestMs();
    stall.Stop();
    return run;
}

double ImportByCommand(const QString& program, const std::string& catalogue, const QString& url, double& cpuMs)
{
    const double cpu = CpuMs(RUSAGE_CHILDREN);
    QElapsedTimer clock;
    clock.start();
    QProcess p;
    p.start(program, {url, QStringLiteral("--catalogue"), QString::fromStdString(catalogue)});
    p.waitForFinished(300000);
    if (p.exitCode() != 0)
        std::fprintf(stderr, "quorvel-import failed: %s\n", p.readAllStandardError().constData());
    cpuMs = CpuMs(RUSAGE_CHILDREN) - cpu;
    return static_cast<double>(clock.nsecsElapsed()) / 1e6;
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
    WritePlaylist(dir.File("tv.m3u"));

    QProcess server;
    server.setProcessChannelMode(QProcess::MergedChannels);
    server.start(QStringLiteral("python3"), {QStringLiteral("-u"), QStringLiteral("-m"), QStringLiteral("http.server"),
                                             QStringLiteral("0"), QStringLiteral("--bind"), QStringLiteral("127.0.0.1"),
                                             QStringLiteral("--directory"), QString::fromStdString(dir.Path())});
    QString port;
    for (int i = 0; i < 100 && port.isEmpty(); ++i) {
        server.waitForReadyRead(100);
        const auto m = QRegularExpression(QStringLiteral("port (\\d+)")).match(QString::fromUtf8(server.readAll()));
        if (m.hasMatch())
            port = m.captured(1);
    }
    if (port.isEmpty()) {
        std::fprintf(stderr, "the server did not start\n");
        return 1;
    }
    const QString url = QStringLiteral("http://127.0.0.1:%1/tv.m3u").arg(port);
    const QString command = QApplication::applicationDirPath() + QStringLiteral("/../bin/quorvel-import");

    std::vector<double> cli, shown, stalls, cliCpu, windowCpu, idle;
    for (int r = 0; r < runs; ++r) {
        const std::string cliDir = dir.File("cli" + std::to_string(r));
        const std::string winDir = dir.File("win" + std::to_string(r));
        ::mkdir(cliDir.c_str(), 0755);
        ::mkdir(winDir.c_str(), 0755);
        ChannelCatalogue(cliDir + "/VisibleAPI.dat").WriteDefaults();
        double cpu = 0;
        cli.push_back(ImportByCommand(command, cliDir + "/VisibleAPI.dat", url, cpu));
        cliCpu.push_back(cpu);
        const WindowRun w = AddFromWindow(winDir + "/VisibleAPI.dat", url);
        shown.push_back(w.shownMs);
        stalls.push_back(w.longestStallMs);
        windowCpu.push_back(w.cpuMs);
        idle.push_back(IdleStallMs(3000));
        std::printf("run %d: quorvel-import %.0f ms (%.0f ms CPU); window: tree shows the channels after %.0f ms "
                    "(%.0f ms CPU), longest event-loop stall %.1f ms (idle %.1f ms)\n",
                    r + 1, cli.back(), cliCpu.back(), w.shownMs, w.cpuMs, w.longestStallMs, idle.back());
    }
    std::printf("median of %d: quorvel-import %.0f ms (%.0f ms CPU), window %.0f ms (%.0f ms CPU), %.2fx; "
                "longest stall %.1f ms (worst %.1f ms; idle loop %.1f ms)\n",
                runs, Median(cli), Median(cliCpu), Median(shown), Median(windowCpu), Median(shown) / Median(cli),
                Median(stalls), *std::max_element(stalls.begin(), stalls.end()), Median(idle));
    server.kill();
    server.waitForFinished();
    return 0;
}
