// Time from choosing the Sponsored Links tab to its page on the screen, in the real window:
// with nothing playing and while a clip plays. The screen is read by a thread of its own with
// its own X connection, so the window's thread being busy cannot hide from the measurement.
// Usage: bench_sponsor_pane <folder of the pages> [clip] [rounds] [maximized]
// (under an X server; sponsor-pane.sh makes a 720p clip and runs it at scale factors 1 and 2)
#include "app/form1.h"
#include "player/mediaplayer.h"
#include "scratchdir.h"
#include "skin/controls/skinpagecontrol.h"
#include "skin/controls/skintabsheet.h"
#include "skin/form/skinform.h"
#include "webhost/pagecomposition.h"
#include "webhost/webhostmodule.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <filesystem>
#include <thread>
#include <vector>

using namespace quorvel;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kTimeOutMs = 20000;

void Wait(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

template <typename Predicate>
bool WaitFor(Predicate done, int ms)
{
    QElapsedTimer waited;
    waited.start();
    while (!done()) {
        if (waited.elapsed() > ms)
            return false;
        Wait(10);
    }
    return true;
}

// What a rectangle of the screen shows, as shares of its pixels: the page's dark blue backdrop,
// white (the pane before its page, or the channel tree under the other tab) and black (a pane
// composed before it has anything).
struct Shares {
    double page = 0, white = 0, black = 0;
};

Shares Look(Display* display, const QRect& rect)
{
    Shares shares;
    XImage* image = XGetImage(display, DefaultRootWindow(display), rect.x(), rect.y(), rect.width(), rect.height(),
                              AllPlanes, ZPixmap);
    if (!image)
        return shares;
    int all = 0;
    for (int y = 0; y < rect.height(); y += 2)
        for (int x = 0; x < rect.width(); x += 2) {
            const unsigned long p = XGetPixel(image, x, y);
            const int r = int((p >> 16) & 0xFF), g = int((p >> 8) & 0xFF), b = int(p & 0xFF);
            shares.page += r + g + b < 200 && b > r + 5;
            shares.white += r + g + b > 720;
            shares.black += r + g + b < 12;
            ++all;
        }
    XDestroyImage(image);
    if (all) {
        shares.page /= all;
        shares.white /= all;
        shares.black /= all;
    }
    return shares;
}

struct Round {
    double ms = -1; // -1: never shown within the time allowed
    quint64 frames = 0;
    // What showed in the pane's place before the page, the longest: "white", "black" or "other".
    const char* before = "";
};

Round Measure(const std::string& pages, const QString& clip, bool maximized)
{
    ScratchDir dir;
    for (const char* page : {"TVAPI.dat", "TVADS.dat"})
        std::filesystem::copy_file(pages + "/" + page, dir.File(page));
    ScratchDir::Spit(dir.File("VisibleAPI.dat"), "[Layer1]\nNews=\n");
    Round round;
    Form1 form(dir.Path() + "/", QStringLiteral("null"));
    form.show();
    form.activateWindow();
    // The bigger the picture, the more its drawing costs.
    if (maximized)
        form.SkinForm1->SetFrameState(FrameState::Maximized);
    Wait(3000); // the start page
    if (!clip.isEmpty()) {
        form.MediaPlayer1->show();
        form.MediaPlayer1->SetURL(clip);
        form.Playing = true;
        form.MediaPlayer1->ShowRequest();
        if (!WaitFor([&] { return form.MediaPlayer1->FramesRendered() > 50; }, kTimeOutMs)) {
            std::fprintf(stderr, "the clip does not play\n");
            return round;
        }
    }
    // Where the page will show: the tab sheet's place, in the screen's pixels.
    const qreal scale = form.devicePixelRatioF();
    const QRect logical(form.SkinTabSheet1->mapToGlobal(QPoint(4, 4)), form.SkinTabSheet1->size() - QSize(8, 8));
    const QRect pane(QPoint(int(logical.x() * scale), int(logical.y() * scale)),
                     QSize(int(logical.width() * scale), int(logical.height() * scale)));

    std::atomic<bool> shown{false};
    std::atomic<double> ms{-1};
    int whiteSamples = 0, blackSamples = 0, otherSamples = 0;
    const Clock::time_point chosen = Clock::now();
    std::thread watcher([&] {
        Display* display = XOpenDisplay(nullptr);
        if (!display)
            return;
        while (Clock::now() - chosen < std::chrono::milliseconds(kTimeOutMs)) {
            const Shares now = Look(display, pane);
            if (now.page > 0.5) {
                ms = std::chrono::duration<double, std::milli>(Clock::now() - chosen).count();
                break;
            }
            (now.white > 0.5 ? whiteSamples : now.black > 0.5 ? blackSamples : otherSamples)++;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        XCloseDisplay(display);
        shown = true;
    });
    const quint64 framesBefore = form.MediaPlayer1->FramesRendered();
    form.SkinPageControl1->SetActivePage(form.SkinTabSheet2);
    WaitFor([&] { return shown.load(); }, kTimeOutMs + 1000);
    watcher.join();
    round.ms = ms;
    round.before = whiteSamples >= blackSamples && whiteSamples >= otherSamples ? "white"
                   : blackSamples >= otherSamples                               ? "black"
                                                                                : "other";
    round.frames = form.MediaPlayer1->FramesRendered() - framesBefore;
    form.close();
    return round;
}

double Median(std::vector<double> values)
{
    if (values.empty())
        return -1;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    ComposePagesWithWidgets();
    XInitThreads();
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <folder of the pages> [clip] [rounds]\n", argv[0]);
        return 2;
    }
    WebHostModule webHost;
    const std::string pages = argv[1];
    const QString clip = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    const int rounds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;
    const bool maximized = argc > 4 && std::string(argv[4]) == "maximized";
    std::printf("scale factor %s, window %s\n",
                qgetenv("QT_SCALE_FACTOR").isEmpty() ? "1" : qgetenv("QT_SCALE_FACTOR").constData(),
                maximized ? "maximized" : "at its own size");
    for (const QString& playing : {QString(), clip}) {
        std::vector<double> times;
        for (int i = 0; i < rounds; ++i) {
            const Round r = Measure(pages, playing, maximized);
            std::printf("  %-12s round %d: page shown after %7.0f ms (%s before), %llu video frames meanwhile\n",
                        playing.isEmpty() ? "nothing" : "clip playing", i + 1, r.ms, r.before,
                        static_cast<unsigned long long>(r.frames));
            std::fflush(stdout);
            if (r.ms >= 0)
                times.push_back(r.ms);
        }
        std::printf("%-14s median %7.0f ms over %zu of %d rounds\n", playing.isEmpty() ? "nothing" : "clip playing",
                    Median(times), times.size(), rounds);
        if (clip.isEmpty())
            break;
    }
    return 0;
}
